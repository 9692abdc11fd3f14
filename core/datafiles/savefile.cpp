#include "datafiles/savefile.h"

#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <unistd.h>

std::function<int(int)> Save_Test_Hooks::Synchronise;
std::function<void()> Save_Test_Hooks::Before_Commit;

namespace
{
QString Cannot_Write(const QString& file_name, const QString& reason)
{
    return QString("ERR  Cannot write file '%1'.  Reason: %2").arg(file_name, reason);
}

// The file is written unbuffered: a buffered device would hold a small text
// until commit(), whose failing flush goes unseen, and a cut file would take
// the real one's place. A short write is followed by another, which then
// fails with the system's reason.
bool Write_All(QSaveFile* file, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size())
    {
        const qint64 written = file->write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Some file systems report a lack of space only when the data is flushed.
// A file that cannot be synchronised at all (EINVAL) is not a failure.
bool Synchronise(const QSaveFile& file, QString* reason)
{
    const auto synchronise = Save_Test_Hooks::Synchronise ? Save_Test_Hooks::Synchronise : ::fsync;
    if (synchronise(file.handle()) == 0 || errno == EINVAL)
        return true;
    *reason = QString::fromLocal8Bit(std::strerror(errno));
    return false;
}

QString Reason_Of(const QSaveFile& file)
{
    const QString reason = file.errorString();
    return reason.isEmpty() ? QString("the file could not be written") : reason;
}
}

bool Save_Bytes_File(const QString& file_name, const QByteArray& bytes, QString* reason)
{
    QSaveFile file(file_name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || !Write_All(&file, bytes))
    {
        *reason = Reason_Of(file);
        return false;
    }
    if (!Synchronise(file, reason))
        return false;
    if (Save_Test_Hooks::Before_Commit)
        Save_Test_Hooks::Before_Commit();
    if (file.commit())
        return true;
    *reason = Reason_Of(file);
    return false;
}

bool Save_Text_File(const QString& file_name, const QString& text, QString* error)
{
    QString reason;
    if (Save_Bytes_File(file_name, text.toUtf8(), &reason))
        return true;
    *error = Cannot_Write(file_name, reason);
    return false;
}

// Opening makes only the temporary file beside it, which cancelling removes.
bool Can_Save_Text_File(const QString& file_name, QString* error)
{
    QSaveFile file(file_name);
    if (file.open(QIODevice::WriteOnly))
    {
        file.cancelWriting();
        return true;
    }
    *error = Cannot_Write(file_name, file.errorString());
    return false;
}
