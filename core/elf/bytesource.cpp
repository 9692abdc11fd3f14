#include "bytesource.h"

QByteArray TMemoryBytes::Read(quint64 offset, quint64 length) const
{
    const auto size = static_cast<quint64>(d_bytes.size());
    if (offset >= size)
        return QByteArray();
    return d_bytes.mid(static_cast<int>(offset), static_cast<int>(qMin(length, size - offset)));
}
