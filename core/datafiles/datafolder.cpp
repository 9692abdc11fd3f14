#include "datafiles/datafolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace
{
const char* const Folder_Name = ".kestrelvantory";

QString Without_Trailing_Slash(QString path)
{
    if (path.length() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

bool Make_Writable_Folder(const QString& path)
{
    if (!QDir().mkpath(path))
        return false;
    const QFileInfo info(path);
    return info.isDir() && info.isWritable();
}

QString Fallback_Folder()
{
    const QString config =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (!config.isEmpty() && Make_Writable_Folder(config + "/kestrelvantory"))
        return config + "/kestrelvantory";
    const QString temporary = QDir::tempPath() + "/kestrelvantory-" + QString::number(::getuid());
    Make_Writable_Folder(temporary);
    return temporary;
}
}

QString Default_Data_Folder(const QString& home)
{
    return QDir(home).filePath(Folder_Name);
}

TDataFolder Open_Data_Folder(const QString& home)
{
    QDir folder(home);
    if (!folder.exists(Folder_Name))
        folder.mkdir(Folder_Name);
    if (folder.cd(Folder_Name))
        return {Without_Trailing_Slash(folder.absolutePath()), false};
    return {Without_Trailing_Slash(QDir(Fallback_Folder()).absolutePath()), true};
}
