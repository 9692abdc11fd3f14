#include "libraries/libraryversion.h"

#include <QRegularExpression>

namespace
{
const int Max_Base = 64;

bool Is_Base_Character(QChar character)
{
    const ushort code = character.unicode();
    return (code >= 'a' && code <= 'z') || (code >= 'A' && code <= 'Z') ||
           (code >= '0' && code <= '9') || code == ',';
}

bool Is_So_Character(QChar character)
{
    return character == '.' || character == 's' || character == 'o';
}

// "1.2.3" from `from` to the end, each number of one to three digits.
bool Read_Version(const QString& text, int from, TLibraryVersion* version)
{
    int numbers[3] = {0, 0, 0};
    for (int part = 0; part < 3; ++part)
    {
        if (part > 0 && (from >= text.size() || text.at(from++) != '.'))
            return false;
        int digits = 0;
        while (from < text.size() && text.at(from).unicode() >= '0' &&
               text.at(from).unicode() <= '9')
        {
            if (++digits > 3)
                return false;
            numbers[part] = numbers[part] * 10 + (text.at(from++).unicode() - '0');
        }
        if (digits == 0)
            return false;
    }
    *version = {numbers[0], numbers[1], numbers[2]};
    return from == text.size();
}
}

// The reading of "^([a-z,A-Z,0-9]{1,64})[.so]{4}([0-9]{1,3})[.]([0-9]{1,3})[.]([0-9]{1,3})$",
// without a regular expression: the longest base that lets the rest match,
// as the expression's greedy base would be.
std::optional<TVersionedLibrary> Versioned_Library(const QString& file_name)
{
    int longest = 0;
    while (longest < Max_Base && longest < file_name.size() &&
           Is_Base_Character(file_name.at(longest)))
        ++longest;
    for (int base = longest; base >= 1; --base)
    {
        if (base + 4 > file_name.size())
            continue;
        bool so = true;
        for (int at = base; at < base + 4; ++at)
            so = so && Is_So_Character(file_name.at(at));
        TLibraryVersion version;
        if (so && Read_Version(file_name, base + 4, &version))
            return TVersionedLibrary{file_name.left(base), version};
    }
    return std::nullopt;
}

QString Version_Free_Library_Name(const QString& library_name)
{
    static const QRegularExpression pattern("^([a-z,A-Z,0-9]{1,64}[.so]{3})");
    const QRegularExpressionMatch match = pattern.match(library_name);
    return match.hasMatch() ? match.captured(1) : library_name;
}

QString Library_Name_Up_To_So(const QString& name)
{
    const int so = name.indexOf(".so");
    return so < 0 ? name : name.left(so + 3);
}

std::optional<TLibraryVersion> Entered_Library_Version(const QString& text)
{
    static const QRegularExpression pattern(
        "[.so]{4}([0-9]{1,3})[.]([0-9]{1,3})[.]([0-9]{1,3})$");
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    return TLibraryVersion{match.captured(1).toInt(), match.captured(2).toInt(),
                           match.captured(3).toInt()};
}

QString Library_Name_With_Version(const QString& name, const TLibraryVersion& version)
{
    static const QRegularExpression pattern(
        "^([a-z,A-Z,0-9]{1,64}[.so]{3})[.]([0-9]{1,3})[.]([0-9]{1,3})[.]([0-9]{1,3})$");
    const QRegularExpressionMatch match = pattern.match(name);
    if (!match.hasMatch())
        return QString();
    return QString("%1.%2.%3.%4")
        .arg(match.captured(1), QString::number(version.Major), QString::number(version.Minor),
             QString::number(version.Patch));
}
