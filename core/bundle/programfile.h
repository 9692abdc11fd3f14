#ifndef PROGRAMFILE_H
#define PROGRAMFILE_H

#include <QString>

// Why `path` cannot be a built program to examine, in plain words: it does
// not exist, is not a regular file (a folder, a named pipe, a device), cannot
// be read or is not an ELF file. Empty when it is an ELF file.
QString Program_File_Problem(const QString& path);

#endif
