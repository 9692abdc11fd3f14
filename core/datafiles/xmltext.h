#ifndef XMLTEXT_H
#define XMLTEXT_H

#include <QString>

// `text` without the characters an XML file cannot hold (control characters
// other than tab, line feed and carriage return, surrogates without their pair,
// U+FFFE and U+FFFF). The defaults files store texts this way, so that a stray control
// character pasted into a panel costs that character, not the whole save.
QString Xml_Storable(const QString& text);

#endif
