#ifndef BYTESOURCE_H
#define BYTESOURCE_H

#include <QByteArray>
#include <QtGlobal>

// Where the ELF reader takes its bytes from, so that it reads a large file
// piece by piece and a test or a fuzzer can hand it bytes in memory.
class TByteSource
{
public:
    virtual ~TByteSource() = default;

    // Up to `length` bytes from `offset`: fewer at the end, none past it or
    // when reading fails.
    virtual QByteArray Read(quint64 offset, quint64 length) const = 0;

    // How many bytes there are to read.
    virtual quint64 Size() const = 0;
};

class TMemoryBytes : public TByteSource
{
public:
    explicit TMemoryBytes(const QByteArray& bytes) : d_bytes(bytes) {}

    QByteArray Read(quint64 offset, quint64 length) const override;
    quint64 Size() const override { return static_cast<quint64>(d_bytes.size()); }

private:
    QByteArray d_bytes;
};

#endif
