#include "datafiles/xmlprecheck.h"

#include <QRegularExpression>

#include "datafiles/xmlcharacters.h"

const int Xml_Max_Depth = 32;
const int Xml_Max_Attributes = 64;
const qint64 Xml_Max_Size = 16 * 1024 * 1024;

namespace
{
// Tells whether the bytes are text in UTF-8 as far as the parser is
// concerned: no NUL (which UTF-16 and UTF-32 are full of) and no other
// encoding named in the XML declaration. A parser reading another encoding
// would see other markup than this scanner.
bool Is_Utf8(const QByteArray& data)
{
    if (data.contains('\0') || data.startsWith("\xFE\xFF") || data.startsWith("\xFF\xFE"))
        return false;
    static const QRegularExpression declared(
        "^\\x{FEFF}?<\\?xml[^>]*?\\sencoding\\s*=\\s*[\"']([^\"']*)[\"']");
    const int declaration_end = data.indexOf('>');
    const QRegularExpressionMatch match = declared.match(
        QString::fromUtf8(declaration_end < 0 ? data : data.left(declaration_end + 1)));
    return !match.hasMatch() || match.captured(1).compare("UTF-8", Qt::CaseInsensitive) == 0;
}

// Walks the markup: comments, character data and processing instructions
// are skipped whole, quoted attribute values likewise, so that a '<' or '>'
// inside them counts for nothing. Anything malformed is counted the way
// that errs towards refusal.
class TMarkupScanner
{
public:
    explicit TMarkupScanner(const QByteArray& data) : d_data(data) {}

    QString Refusal();

private:
    bool At(const char* text) const;
    void Skip_Past(const char* end, int from);
    QString Start_Tag();

    const QByteArray& d_data;
    int d_at = 0;
    int d_depth = 0;
};

// Compared in place: each tag costs its own length, not the rest of the file.
bool TMarkupScanner::At(const char* text) const
{
    const int length = static_cast<int>(qstrlen(text));
    return d_data.size() - d_at >= length && qstrncmp(d_data.constData() + d_at, text, length) == 0;
}

void TMarkupScanner::Skip_Past(const char* end, int from)
{
    const int found = d_data.indexOf(end, from);
    d_at = found < 0 ? d_data.size() : found + static_cast<int>(qstrlen(end));
}

QString TMarkupScanner::Refusal()
{
    while ((d_at = d_data.indexOf('<', d_at)) >= 0)
    {
        const char next = d_at + 1 < d_data.size() ? d_data.at(d_at + 1) : '\0';
        if (next == '/')
        {
            d_depth = qMax(0, d_depth - 1);
            Skip_Past(">", d_at + 2);
        }
        else if (next == '?')
            Skip_Past("?>", d_at + 2);
        else if (next != '!')
        {
            const QString refusal = Start_Tag();
            if (!refusal.isEmpty())
                return refusal;
        }
        else if (At("<!--"))
            Skip_Past("-->", d_at + 4);
        else if (At("<![CDATA["))
            Skip_Past("]]>", d_at + 9);
        else
            return "it holds a document type declaration";
    }
    return QString();
}

// From the '<' of a start tag to just past its '>'; a stray '<' ends it.
QString TMarkupScanner::Start_Tag()
{
    int attributes = 0;
    char quote = 0;
    char previous = 0;
    for (++d_at; d_at < d_data.size(); ++d_at)
    {
        const char character = d_data.at(d_at);
        if (quote != 0)
        {
            if (character == quote)
                quote = 0;
        }
        else if (character == '"' || character == '\'')
            quote = character;
        else if (character == '=' && ++attributes > Xml_Max_Attributes)
            return QString("an element has more than %1 attributes").arg(Xml_Max_Attributes);
        else if (character == '>' || character == '<')
            break;
        previous = character;
    }
    const bool empty_element = d_at < d_data.size() && d_data.at(d_at) == '>' && previous == '/';
    if (d_at < d_data.size() && d_data.at(d_at) == '>')
        ++d_at;
    if (!empty_element && ++d_depth > Xml_Max_Depth)
        return QString("its elements are nested deeper than %1 levels").arg(Xml_Max_Depth);
    return QString();
}
}

QString Xml_Size_Refusal(qint64 size)
{
    if (size > Xml_Max_Size)
        return QString("it is larger than %1 MiB").arg(Xml_Max_Size / (1024 * 1024));
    return QString();
}

QString Xml_Precheck_Refusal(const QByteArray& data)
{
    const QString too_large = Xml_Size_Refusal(data.size());
    if (!too_large.isEmpty())
        return too_large;
    if (!Is_Utf8(data))
        return "it is not encoded in UTF-8";
    const QString characters = Xml_Character_Refusal(data);
    if (!characters.isEmpty())
        return characters;
    return TMarkupScanner(data).Refusal();
}
