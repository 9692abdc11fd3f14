#ifndef ELFFILE_H
#define ELFFILE_H

#include <QByteArray>

#include "elfobject.h"

// A file opened and read as the loader opens a library it searches for.
struct TOpenedObject
{
    enum TOutcome
    {
        Opened,
        Absent,  // no such file, or not readable: the loader looks further
        Failed,  // any other error: the loader gives up on the name
        Not_Regular  // a folder, named pipe or device: nothing reads it, "ldd" included
    };

    TOutcome Outcome = Absent;
    TElfObject Object;
    quint64 Device = 0;  // with Inode, tells two names of one file apart
    quint64 Inode = 0;
};

TOpenedObject Open_Elf_Object(const QByteArray& path);

#endif
