#include "bundle/programfile.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
// The first four bytes of a regular file, opened without ever waiting for a
// writer as a named pipe would; empty with `problem` set otherwise.
QByteArray Magic_Of(const QString& path, QString* problem)
{
    const int descriptor = ::open(QFile::encodeName(path).constData(),
                                  O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (descriptor < 0)
    {
        *problem = QString("\"%1\" cannot be read: %2").arg(path, QString::fromLocal8Bit(
                                                                      std::strerror(errno)));
        return QByteArray();
    }
    struct stat status;
    QByteArray magic(4, '\0');
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
    {
        *problem = QString("\"%1\" is not a regular file").arg(path);
        magic.clear();
    }
    else
        magic.resize(int(qMax<ssize_t>(0, ::read(descriptor, magic.data(), 4))));
    ::close(descriptor);
    return magic;
}
}

QString Program_File_Problem(const QString& path)
{
    if (!QFileInfo::exists(path))
        return QString("\"%1\" does not exist").arg(path);
    QString problem;
    const QByteArray magic = Magic_Of(path, &problem);
    if (!problem.isEmpty())
        return problem;
    if (magic != QByteArray("\x7f"
                            "ELF"))
        return QString("\"%1\" is not an ELF file, so not a built program").arg(path);
    return QString();
}
