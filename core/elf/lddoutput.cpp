#include "elf/lddoutput.h"

#include <QRegularExpression>
#include <QStringList>

std::vector<TLoadedLibrary> Ldd_Libraries(const QString& ldd_output)
{
    static const QRegularExpression found("^\\s*(.+?) => (.+) \\(");
    static const QRegularExpression missing("^\\s*(.+?) => not found\\s*$");
    std::vector<TLoadedLibrary> libraries;
    for (const QString& line : ldd_output.split('\n'))
    {
        const QRegularExpressionMatch library = found.match(line);
        if (library.hasMatch() && !library.captured(2).trimmed().isEmpty())
            libraries.push_back({library.captured(1), library.captured(2).trimmed()});
        else if (missing.match(line).hasMatch())
            libraries.push_back({missing.match(line).captured(1), QString()});
    }
    return libraries;
}
