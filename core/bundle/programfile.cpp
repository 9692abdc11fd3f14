#include "bundle/programfile.h"

#include <QFile>
#include <QFileInfo>

QString Program_File_Problem(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return QString("\"%1\" does not exist").arg(path);
    if (info.isDir())
        return QString("\"%1\" is a folder, not a program").arg(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString("\"%1\" cannot be read: %2").arg(path, file.errorString());
    if (file.read(4) != QByteArray("\x7f"
                                   "ELF"))
        return QString("\"%1\" is not an ELF file, so not a built program").arg(path);
    return QString();
}
