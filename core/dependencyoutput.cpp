#include "dependencyoutput.h"

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

QStringList Dependency_Libraries(const QString& ldd_output)
{
    static const QRegularExpression dependency("^.+ => (.+) \\(");
    QStringList libraries;
    for (const QString& line : ldd_output.split('\n'))
    {
        const QRegularExpressionMatch match = dependency.match(line);
        if (!match.hasMatch())
            continue;
        const QString library = match.captured(1).trimmed();
        if (!library.isEmpty() && !Is_Qt_Library(library))
            libraries.append(library);
    }
    return libraries;
}

QString Providing_Package(const QString& rpm_output)
{
    static const QRegularExpression package("^(.+)[-][0-9.]{1,20}[-][0-9.]{1,20}");
    const QRegularExpressionMatch match = package.match(rpm_output);
    return match.hasMatch() ? match.captured(1).trimmed() : QString();
}
