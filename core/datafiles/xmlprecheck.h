#ifndef XMLPRECHECK_H
#define XMLPRECHECK_H

#include <QByteArray>
#include <QString>

// The bounds every XML data file is read within. The program's own files are
// UTF-8, nest four levels deep and carry one attribute.
extern const int Xml_Max_Depth;
extern const int Xml_Max_Attributes;
extern const qint64 Xml_Max_Size;

// Why `data` must not reach the document parser, or an empty string when it
// may: a document type declaration (whose entities can make a small file
// huge), elements nested deeper than Xml_Max_Depth (the parser recurses once
// per level), an element with more than Xml_Max_Attributes attributes (the
// parser compares each with every other), more than Xml_Max_Size bytes, a
// text that is not UTF-8, or one Xml_Character_Refusal refuses. Linear in
// the bytes, whatever they hold; a file that is merely malformed passes and is
// left to the parser's message.
QString Xml_Precheck_Refusal(const QByteArray& data);

// The same refusal for `size` bytes, so that a file too large need not be
// read to be refused; an empty string when the size is within the bounds.
QString Xml_Size_Refusal(qint64 size);

#endif
