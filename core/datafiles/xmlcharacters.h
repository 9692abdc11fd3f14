#ifndef XMLCHARACTERS_H
#define XMLCHARACTERS_H

#include <QByteArray>
#include <QString>

// Why `data` holds something no XML text may hold, or an empty string when it
// holds nothing of the kind: bytes that are not UTF-8 (overlong forms and
// surrogates included), a character XML forbids (a control character other
// than tab, line feed and carriage return, U+FFFE or U+FFFF), or a character
// reference to one ("&#0;"). The parser would turn the first into U+FFFD and
// pass the others on; either way the file would not say what it seems to.
// One pass over the bytes; the place is given as a byte offset.
QString Xml_Character_Refusal(const QByteArray& data);

#endif
