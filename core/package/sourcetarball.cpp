#include "package/sourcetarball.h"

#include <QDir>
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

// The names for tar's list: "./" first, so that no name reads as an option.
QByteArray File_List(const QStringList& files)
{
    QByteArray list;
    for (const QString& file : files)
        list += "./" + QFile::encodeName(file) + '\0';
    return list;
}
}

bool Make_Source_Tarball(const QString& source, const QStringList& files, const QString& tarball,
                         const QString& top_folder, QString* error)
{
    if (!QDir().mkpath(QFileInfo(tarball).path()))
    {
        *error = QString("cannot make the folder \"%1\"").arg(QFileInfo(tarball).path());
        return false;
    }
    // "./x" becomes "<top_folder>/x"; link targets stay as they are. Only
    // the names listed go in, not what is below a listed folder.
    const QStringList arguments = {
        "tar",  "-C", source, "-czf", tarball, "--null", "--no-recursion", "-T", "-",
        "--transform", "s,^\\.," + Sed_Replacement(top_folder) + ",S"};
    QProcess tar;
    tar.setProcessChannelMode(QProcess::MergedChannels);
    // In a session of its own, as rpmbuild runs: a Ctrl+C meant for the
    // tool does not cut the tarball short behind its back.
    tar.start("setsid", arguments);
    tar.write(File_List(files));
    tar.closeWriteChannel();
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
