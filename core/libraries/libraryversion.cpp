#include "libraries/libraryversion.h"

#include <QRegularExpression>

std::optional<TVersionedLibrary> Versioned_Library(const QString& file_name)
{
    static const QRegularExpression pattern(
        "^([a-z,A-Z,0-9]{1,64})[.so]{4}([0-9]{1,3})[.]([0-9]{1,3})[.]([0-9]{1,3})$");
    const QRegularExpressionMatch match = pattern.match(file_name);
    if (!match.hasMatch())
        return std::nullopt;
    return TVersionedLibrary{match.captured(1),
                             {match.captured(2).toInt(), match.captured(3).toInt(),
                              match.captured(4).toInt()}};
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
