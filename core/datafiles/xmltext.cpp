#include "datafiles/xmltext.h"


namespace
{
// Whether a character of the first plane may stand in an XML file. Every
// character beyond it, written as a surrogate pair, may.
bool Storable(ushort code)
{
    return code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF)
           || (code >= 0xE000 && code <= 0xFFFD);
}
}

QString Xml_Storable(const QString& text)
{
    QString storable;
    storable.reserve(text.size());
    for (int index = 0; index < text.size(); ++index)
    {
        const QChar unit = text.at(index);
        const bool pair = unit.isHighSurrogate() && index + 1 < text.size()
                          && text.at(index + 1).isLowSurrogate();
        if (pair)
        {
            storable.append(text.mid(index, 2));
            ++index;
        }
        else if (Storable(unit.unicode()))
        {
            storable.append(unit);
        }
    }
    return storable;
}
