#include "scan/packageoutput.h"

#include <QRegularExpression>

#include <algorithm>

namespace
{
bool Is_Qt_Library(const QString& library)
{
    const QStringList qt_prefixes = {"libQt4", "libQt5", "libQt6"};
    return std::any_of(qt_prefixes.begin(), qt_prefixes.end(),
                       [&library](const QString& prefix) { return library.contains(prefix); });
}
}

QStringList Scanned_Libraries(const std::vector<TLoadedLibrary>& libraries)
{
    QStringList paths;
    for (const TLoadedLibrary& library : libraries)
    {
        if (!library.Path.isEmpty() && !Is_Qt_Library(library.Path))
            paths.append(library.Path);
    }
    return paths;
}

QString Providing_Package(const QString& rpm_output)
{
    static const QRegularExpression package("^(.+)[-][0-9.]{1,20}[-][0-9.]{1,20}");
    const QRegularExpressionMatch match = package.match(rpm_output);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}
