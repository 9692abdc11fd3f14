#include "ldcache.h"

#include <QtEndian>

namespace
{
const QByteArray Old_Magic = "ld.so-1.7.0";
const QByteArray New_Magic = "glibc-ld.so.cache1.1";
const int New_Header_Size = 48;
const int New_Entry_Size = 24;

quint32 Word(const QByteArray& bytes, int offset)
{
    return qFromUnaligned<quint32>(bytes.constData() + offset);
}

bool Is_Digit(char character)
{
    return character >= '0' && character <= '9';
}

// The loader compares names with runs of digits taken as numbers, so
// "libfoo.so.01" and "libfoo.so.1" are one name.
QByteArray Name_Key(const QByteArray& name)
{
    QByteArray key;
    key.reserve(name.size());
    for (int index = 0; index < name.size(); ++index)
    {
        if (index == 0 || !Is_Digit(name.at(index - 1)))
        {
            while (name.at(index) == '0' && index + 1 < name.size() && Is_Digit(name.at(index + 1)))
                ++index;
        }
        key.append(name.at(index));
    }
    return key;
}

// A string of the cache: offsets count from the start of the new header.
bool String_At(const QByteArray& bytes, int start, quint32 offset, QByteArray* text)
{
    if (offset >= static_cast<quint32>(bytes.size() - start))
        return false;
    const int from = start + static_cast<int>(offset);
    const int end = bytes.indexOf('\0', from);
    if (end < 0)
        return false;
    *text = bytes.mid(from, end - from);
    return true;
}
}

TLdCache TLdCache::From_Bytes(const QByteArray& bytes)
{
    TLdCache cache;
    int start = 0;
    if (bytes.startsWith(Old_Magic))
    {
        const qint64 count = bytes.size() >= 16 ? Word(bytes, 12) : -1;
        start = static_cast<int>(qMin<qint64>((16 + 12 * count + 7) & ~qint64(7), bytes.size()));
        if (count < 0)
            start = bytes.size();
    }
    cache.d_readable = cache.Read_New_Format(bytes, start);
    if (!cache.d_readable)
        cache.d_entries.clear();
    return cache;
}

bool TLdCache::Read_New_Format(const QByteArray& bytes, int start)
{
    if (bytes.mid(start, New_Magic.size()) != New_Magic || bytes.size() - start < New_Header_Size)
        return false;
    const int endian = static_cast<quint8>(bytes.at(start + 28)) & 3;
    const int host_endian = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? 2 : 3;
    if (endian != 0 && endian != host_endian)
        return false;
    const quint32 count = Word(bytes, start + 20);
    if (count > static_cast<quint32>((bytes.size() - start - New_Header_Size) / New_Entry_Size))
        return false;
    for (quint32 index = 0; index < count; ++index)
    {
        const int at = start + New_Header_Size + static_cast<int>(index) * New_Entry_Size;
        QByteArray name;
        TEntry entry;
        entry.Flags = static_cast<qint32>(Word(bytes, at));
        entry.Hwcap = qFromUnaligned<quint64>(bytes.constData() + at + 16);
        if (!String_At(bytes, start, Word(bytes, at + 4), &name) ||
            !String_At(bytes, start, Word(bytes, at + 8), &entry.Path))
            return false;
        d_entries[Name_Key(name)].push_back(entry);
    }
    return true;
}

TLdCache::TAnswer TLdCache::Find(const QByteArray& name, const TKind& kind, QByteArray* path) const
{
    if (!d_readable || kind.Accepted_Flags.isEmpty())
        return Undecided;
    const auto entries = d_entries.constFind(Name_Key(name));
    if (entries == d_entries.constEnd())
        return Absent;
    const TEntry* best = nullptr;
    for (const TEntry& entry : *entries)
    {
        if (entry.Hwcap != 0)
            return Undecided;
        if (!kind.Accepted_Flags.contains(entry.Flags))
            continue;
        if (best == nullptr ||
            (best->Flags != kind.Preferred_Flags && entry.Flags == kind.Preferred_Flags))
            best = &entry;
    }
    if (best == nullptr)
        return Absent;
    *path = best->Path;
    return Found;
}
