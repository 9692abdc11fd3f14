#include "smallfilesystem.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/mount.h>
#include <unistd.h>

namespace Test
{
TSmallFileSystem::TSmallFileSystem(const QString& folder, int kib) : d_folder(folder)
{
    if (geteuid() != 0)
    {
        d_why_not = "a small file system can be mounted only by root";
        return;
    }
    const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0755";
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0, options.constData()) != 0)
        d_why_not = QString("cannot mount a small file system here: %1").arg(std::strerror(errno));
}

TSmallFileSystem::~TSmallFileSystem()
{
    if (Is_Mounted())
        ::umount2(QFile::encodeName(d_folder).constData(), MNT_DETACH);
}

void TSmallFileSystem::Fill()
{
    QFile filler(d_folder + "/filler");
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        qFatal("cannot make the filler file");
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size())
    {
    }
    // The last page may be partly free; single bytes take what remains.
    while (filler.write("f", 1) == 1)
    {
    }
}

void TSmallFileSystem::Unfill()
{
    QFile::remove(d_folder + "/filler");
}
}
