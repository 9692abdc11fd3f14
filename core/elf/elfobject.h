#ifndef ELFOBJECT_H
#define ELFOBJECT_H

#include <QByteArray>
#include <QList>
#include <QString>

#include "bytesource.h"

// What the dynamic loader looks at in an ELF file: the identification and
// header it checks before loading, and the dynamic section that names the
// libraries to load and where to look for them.
struct TElfObject
{
    enum TStatus
    {
        Read,       // header and dynamic section read
        Not_Elf,    // no ELF magic (or an empty file)
        Too_Short,  // ELF magic, but shorter than its header
        Malformed,  // a header, table or string lies outside the file or is inconsistent
        Cut_Short,  // the file ends before the contents its headers describe
        Beyond_Limits  // more needed libraries, or more bytes of names, than any real file has
    };

    TStatus Status = Not_Elf;
    QString Error;  // plain words, for any status but Read

    // Identification and header.
    int Class = 0;  // 1: 32-bit, 2: 64-bit
    bool Little_Endian = true;
    bool Ident_Valid = false;   // version, OS ABI, ABI version and padding as the loader expects
    bool Version_Valid = false;     // the header's own version is the current one
    bool Entry_Size_Valid = false;  // program-header entries have the class's size
    quint16 Type = 0;
    quint16 Machine = 0;

    // Program headers.
    QByteArray Interpreter;  // empty without PT_INTERP
    bool Has_Dynamic = false;

    // Dynamic section.
    QList<QByteArray> Needed;  // DT_NEEDED, in order
    QByteArray Soname;
    bool Has_Rpath = false;
    QByteArray Rpath;
    bool Has_Runpath = false;
    QByteArray Runpath;
    quint64 Flags_1 = 0;
    bool Has_Filters = false;  // DT_AUXILIARY or DT_FILTER

    bool Is_Read() const { return Status == Read; }
};

// Element types and flags the loader's rules depend on.
namespace Elf
{
const quint16 Type_Executable = 2;
const quint16 Type_Shared = 3;
const quint64 Flag_1_No_Default_Lib = 0x800;
const quint64 Flag_1_Pie = 0x08000000;

const int Max_Needed = 1024;
const int Max_Name_Bytes = 1 << 20;
// Folders in its search paths times libraries needed: the places the loader
// may look into for the file's own needs.
const int Max_Searches = 20000;
}

// Reads the header and dynamic section from `bytes`; every offset, size and
// count taken from the file is checked against what can be read. The work is
// bounded whatever the bytes say: at most Elf::Max_Needed needed libraries
// and Elf::Max_Name_Bytes bytes of names, each name read once. A file beyond
// these limits, or beyond Elf::Max_Searches, is Beyond_Limits.
TElfObject Read_Elf_Object(const TByteSource& bytes);
TElfObject Read_Elf_Object(const QByteArray& bytes);

#endif
