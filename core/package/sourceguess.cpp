#include "package/sourceguess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace
{
// The first line of `file` that begins with `start`, without it; the file's
// first lines only, as both tools write these near the top.
QString Line_After(const QString& file, const QString& start)
{
    QFile input(file);
    if (!QFileInfo(file).isFile() || !input.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    QTextStream stream(&input);
    for (int read = 0; read < 2000 && !stream.atEnd(); ++read)
    {
        const QString line = stream.readLine();
        if (line.startsWith(start))
            return line.mid(start.length()).trimmed();
    }
    return QString();
}

QString Existing_Folder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir() ? QDir::cleanPath(path) : QString();
}

QString Told_By(const QDir& folder)
{
    if (folder.exists("CMakeLists.txt") || !folder.entryList({"*.pro"}, QDir::Files).isEmpty())
        return folder.absolutePath();
    const QString cmake =
        Line_After(folder.filePath("CMakeCache.txt"), "CMAKE_HOME_DIRECTORY:INTERNAL=");
    if (!cmake.isEmpty())
        return Existing_Folder(cmake);
    const QString project = Line_After(folder.filePath("Makefile"), "# Project:");
    if (project.endsWith(".pro"))
        return Existing_Folder(QFileInfo(folder.absoluteFilePath(project)).absolutePath());
    return QString();
}
}

QString Guessed_Source_Folder(const QString& program)
{
    if (program.isEmpty())
        return QString();
    QDir folder = QFileInfo(program).absoluteDir();
    for (int level = 0; level < 3; ++level)
    {
        const QString told = Told_By(folder);
        if (!told.isEmpty())
            return told;
        if (!folder.cdUp())
            break;
    }
    return QString();
}
