#ifndef CRAFTEDELF_H
#define CRAFTEDELF_H

#include <QByteArray>
#include <QList>

namespace Test
{
// A 64-bit little-endian shared object for `machine`, loaded whole by one
// segment, whose dynamic section needs the names at `needed` (offsets into
// `strings`) and, with `rpath` not negative, has the RPATH at that offset.
QByteArray Crafted_Elf(quint16 machine, const QList<quint32>& needed, const QByteArray& strings,
                       qint64 rpath = -1);

// Where the dynamic section of a 64-bit little-endian ELF file ends.
int Dynamic_Section_End(const QByteArray& elf);
}

#endif
