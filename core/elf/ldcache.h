#ifndef LDCACHE_H
#define LDCACHE_H

#include <QByteArray>
#include <QHash>
#include <QList>

#include <vector>

// The loader's cache of library names and paths, as "ldconfig" writes it to
// "/etc/ld.so.cache" (the format of current C libraries, alone or after the
// old one).
class TLdCache
{
public:
    enum TAnswer
    {
        Absent,    // the cache has no usable entry: the loader looks further
        Found,
        Undecided  // entries chosen by processor features, or a cache this reader cannot read
    };

    // The entries for one kind of library, as the host's loader accepts them.
    struct TKind
    {
        QList<qint32> Accepted_Flags;  // empty: the cache cannot be used for this kind
        qint32 Preferred_Flags = 0;    // among accepted ones, what the loader prefers
    };

    // No cache file at all: every name is absent.
    TLdCache() = default;

    // Reads the cache file's bytes; the cache is in the host's byte order.
    static TLdCache From_Bytes(const QByteArray& bytes);

    // The path the loader takes for `name` from the cache.
    TAnswer Find(const QByteArray& name, const TKind& kind, QByteArray* path) const;

private:
    struct TEntry
    {
        qint32 Flags;
        quint64 Hwcap;
        QByteArray Path;
    };

    bool Read_New_Format(const QByteArray& bytes, int start);

    bool d_readable = true;
    QHash<QByteArray, std::vector<TEntry>> d_entries;  // by name key, in file order
};

#endif
