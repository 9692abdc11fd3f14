#include "package/sourcetarball.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>

namespace
{
QString Sed_Replacement(QString text)
{
    for (const char* special : {"\\", "&", ","})
        text.replace(special, QString("\\") + special);
    return text;
}
}

QStringList Left_Out_Of_Tarball(const QString& source)
{
    const QDir root(source);
    QStringList left_out;
    QDirIterator folders(source, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (folders.hasNext())
    {
        const QString folder = folders.next();
        const QString relative = root.relativeFilePath(folder);
        bool inside_left_out = false;
        for (const QString& out : left_out)
            inside_left_out = inside_left_out || relative.startsWith(out + "/");
        if (inside_left_out)
            continue;
        const QDir dir(folder);
        if (dir.dirName() == ".git" || dir.exists("CMakeCache.txt") || dir.exists(".qmake.stash"))
            left_out.append(relative);
    }
    return left_out;
}

bool Make_Source_Tarball(const QString& source, const QString& tarball, const QString& top_folder,
                         QString* error)
{
    if (!QDir().mkpath(QFileInfo(tarball).path()))
    {
        *error = QString("cannot make the folder \"%1\"").arg(QFileInfo(tarball).path());
        return false;
    }
    // Names are taken literally: no wildcard in a folder name widens what is left out.
    QStringList arguments = {"-C", source, "-czf", tarball, "--no-wildcards", "--anchored"};
    for (const QString& folder : Left_Out_Of_Tarball(source))
        arguments.append("--exclude=./" + folder);
    // "./x" becomes "<top_folder>/x"; link targets stay as they are.
    arguments += {"--transform", "s,^\\.," + Sed_Replacement(top_folder) + ",S", "."};
    QProcess tar;
    tar.setProcessChannelMode(QProcess::MergedChannels);
    tar.start("tar", arguments);
    if (!tar.waitForFinished(-1) || tar.exitStatus() != QProcess::NormalExit ||
        tar.exitCode() != 0)
    {
        *error = QString("tar could not make \"%1\": %2")
                     .arg(tarball, QString::fromLocal8Bit(tar.readAll()).trimmed());
        QFile::remove(tarball);
        return false;
    }
    return true;
}
