#include "datafiles/xmlcharacters.h"

namespace
{
const char32_t Last_Character = 0x10FFFF;

bool Is_Xml_Character(char32_t character)
{
    return character == 0x9 || character == 0xA || character == 0xD ||
           (character >= 0x20 && character <= 0xD7FF) ||
           (character >= 0xE000 && character <= 0xFFFD) ||
           (character >= 0x10000 && character <= Last_Character);
}

QString Code_Point(char32_t character)
{
    return QString("U+%1").arg(static_cast<uint>(character), 4, 16, QChar('0')).toUpper();
}

struct TLead
{
    int Following;     // continuation bytes after it
    char32_t Minimum;  // the first character that needs that many
    char32_t Bits;
};

bool Lead_Of(unsigned char byte, TLead* lead)
{
    if (byte < 0x80)
        *lead = {0, 0, byte};
    else if (byte >= 0xC0 && byte < 0xE0)
        *lead = {1, 0x80, byte & 0x1Fu};
    else if (byte >= 0xE0 && byte < 0xF0)
        *lead = {2, 0x800, byte & 0x0Fu};
    else if (byte >= 0xF0 && byte < 0xF8)
        *lead = {3, 0x10000, byte & 0x07u};
    else
        return false;
    return true;
}

// Decodes the character starting at `at` and moves past it; false for bytes
// that are not the shortest UTF-8 form of a character other than a surrogate.
bool Decode(const QByteArray& data, int* at, char32_t* character)
{
    TLead lead;
    if (!Lead_Of(static_cast<unsigned char>(data.at(*at)), &lead) ||
        data.size() - *at <= lead.Following)
        return false;
    *character = lead.Bits;
    for (int index = 1; index <= lead.Following; ++index)
    {
        const auto next = static_cast<unsigned char>(data.at(*at + index));
        if ((next & 0xC0) != 0x80)
            return false;
        *character = (*character << 6) | (next & 0x3Fu);
    }
    *at += lead.Following + 1;
    return *character >= lead.Minimum && *character <= Last_Character &&
           (*character < 0xD800 || *character > 0xDFFF);
}

int Digit_Value(char byte, bool hexadecimal)
{
    if (byte >= '0' && byte <= '9')
        return byte - '0';
    const char letter = static_cast<char>(byte | 0x20);
    if (hexadecimal && letter >= 'a' && letter <= 'f')
        return letter - 'a' + 10;
    return -1;
}

// The character a reference such as "&#0;" or "&#x1F;" at `at` stands for;
// one too large to be a character counts as the first beyond the last.
bool Reference(const QByteArray& data, int at, QByteArray* text, char32_t* character)
{
    if (!data.mid(at, 2).startsWith("&#"))
        return false;
    const bool hexadecimal = at + 2 < data.size() && data.at(at + 2) == 'x';
    int end = at + (hexadecimal ? 3 : 2);
    quint64 value = 0;
    for (int digit; end < data.size() && (digit = Digit_Value(data.at(end), hexadecimal)) >= 0;
         ++end)
        value = qMin<quint64>(value * (hexadecimal ? 16 : 10) + static_cast<quint64>(digit),
                              Last_Character + 1);
    *text = data.mid(at, qMin(end + 1 - at, 24));
    *character = static_cast<char32_t>(value);
    return end < data.size() && data.at(end) == ';';
}
}

QString Xml_Character_Refusal(const QByteArray& data)
{
    int at = 0;
    while (at < data.size())
    {
        // Most of a data file is plain printable text: passed at a glance.
        const auto byte = static_cast<unsigned char>(data.constData()[at]);
        if ((byte >= 0x20 && byte < 0x80 && byte != '&') || byte == '\n' || byte == '\t')
        {
            ++at;
            continue;
        }
        const int start = at;
        char32_t character = 0;
        if (!Decode(data, &at, &character))
            return QString("it is not valid UTF-8 (at byte %1)").arg(start);
        if (!Is_Xml_Character(character))
            return QString("it holds a character XML forbids (%1 at byte %2)")
                .arg(Code_Point(character))
                .arg(start);
        QByteArray reference;
        if (character == '&' && Reference(data, start, &reference, &character) &&
            !Is_Xml_Character(character))
            return QString("it refers to a character XML forbids (\"%1\" at byte %2)")
                .arg(QString::fromLatin1(reference))
                .arg(start);
    }
    return QString();
}
