#include "craftedelf.h"

namespace
{
const int Header_Size = 64;
const int Segment_Size = 56;
const int Entry_Size = 16;

void Put(QByteArray* bytes, quint64 value, int size)
{
    for (int index = 0; index < size; ++index)
        bytes->append(static_cast<char>((value >> (8 * index)) & 0xff));
}

quint64 Get(const QByteArray& bytes, int at, int size)
{
    quint64 value = 0;
    for (int index = size - 1; index >= 0; --index)
        value = (value << 8) | static_cast<quint8>(bytes.at(at + index));
    return value;
}

void Put_Segment(QByteArray* bytes, quint32 type, quint64 offset, quint64 size)
{
    Put(bytes, type, 4);
    Put(bytes, 6, 4);  // readable and writable
    Put(bytes, offset, 8);
    Put(bytes, offset, 8);  // loaded at its file offset
    Put(bytes, offset, 8);
    Put(bytes, size, 8);
    Put(bytes, size, 8);
    Put(bytes, 8, 8);
}
}

namespace Test
{
QByteArray Crafted_Elf(quint16 machine, const QList<quint32>& needed, const QByteArray& strings,
                       qint64 rpath)
{
    const int entries = needed.size() + (rpath >= 0 ? 1 : 0) + 3;
    const quint64 dynamic = Header_Size + 2 * Segment_Size;
    const quint64 string_table = dynamic + static_cast<quint64>(entries) * Entry_Size;
    const quint64 size = string_table + static_cast<quint64>(strings.size());

    QByteArray bytes("\x7f" "ELF\x02\x01\x01", 7);
    bytes.append(9, '\0');
    Put(&bytes, 3, 2);  // a shared object
    Put(&bytes, machine, 2);
    Put(&bytes, 1, 4);
    Put(&bytes, 0, 8);
    Put(&bytes, Header_Size, 8);  // program headers
    Put(&bytes, 0, 8);            // no section headers
    Put(&bytes, 0, 4);
    for (quint64 value : {Header_Size, Segment_Size, 2, 64, 0, 0})
        Put(&bytes, value, 2);

    Put_Segment(&bytes, 1, 0, size);
    Put_Segment(&bytes, 2, dynamic, string_table - dynamic);
    const auto entry = [&bytes](quint64 tag, quint64 value) {
        Put(&bytes, tag, 8);
        Put(&bytes, value, 8);
    };
    for (const quint32 name : needed)
        entry(1, name);
    if (rpath >= 0)
        entry(15, static_cast<quint64>(rpath));
    entry(5, string_table);
    entry(10, static_cast<quint64>(strings.size()));
    entry(0, 0);
    return bytes + strings;
}

int Dynamic_Section_End(const QByteArray& elf)
{
    const int table = static_cast<int>(Get(elf, 32, 8));
    const int count = static_cast<int>(Get(elf, 56, 2));
    for (int index = 0; index < count; ++index)
    {
        const int at = table + index * Segment_Size;
        if (Get(elf, at, 4) == 2)
            return static_cast<int>(Get(elf, at + 8, 8) + Get(elf, at + 32, 8));
    }
    return -1;
}
}
