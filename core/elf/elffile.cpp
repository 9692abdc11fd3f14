#include "elffile.h"

#include <cerrno>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace
{
class TFileBytes : public TByteSource
{
public:
    TFileBytes(int descriptor, quint64 size) : d_descriptor(descriptor), d_size(size) {}

    quint64 Size() const override { return d_size; }

    QByteArray Read(quint64 offset, quint64 length) const override
    {
        const auto last = static_cast<quint64>(std::numeric_limits<off_t>::max());
        if (length > last || offset > last - length ||
            length > static_cast<quint64>(std::numeric_limits<int>::max()))
            return QByteArray();
        QByteArray bytes(static_cast<int>(length), '\0');
        qint64 done = 0;
        while (done < bytes.size())
        {
            const ssize_t count = pread(d_descriptor, bytes.data() + done,
                                        static_cast<size_t>(bytes.size() - done),
                                        static_cast<off_t>(offset + done));
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0)
                break;
            done += count;
        }
        bytes.truncate(static_cast<int>(done));
        return bytes;
    }

private:
    int d_descriptor;
    quint64 d_size;
};
}

// Without blocking on a named pipe: only regular files are read.
TOpenedObject Open_Elf_Object(const QByteArray& path)
{
    TOpenedObject opened;
    const int descriptor = open(path.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
    {
        opened.Outcome = errno == ENOENT || errno == EACCES ? TOpenedObject::Absent
                                                            : TOpenedObject::Failed;
        return opened;
    }
    struct stat status;
    const bool known = fstat(descriptor, &status) == 0;
    if (!known || !S_ISREG(status.st_mode))
    {
        close(descriptor);
        opened.Outcome = known ? TOpenedObject::Not_Regular : TOpenedObject::Failed;
        return opened;
    }
    opened.Outcome = TOpenedObject::Opened;
    opened.Device = status.st_dev;
    opened.Inode = status.st_ino;
    opened.Object = Read_Elf_Object(TFileBytes(descriptor, static_cast<quint64>(status.st_size)));
    close(descriptor);
    return opened;
}
