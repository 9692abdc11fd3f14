#include "savefile.h"

#include <QSaveFile>

namespace
{
QString Cannot_Write(const QString& file_name, const QSaveFile& file)
{
    return QString("ERR  Cannot write file '%1'.  Reason: %2").arg(file_name, file.errorString());
}
}

bool Save_Text_File(const QString& file_name, const QString& text, QString* error)
{
    QSaveFile file(file_name);
    const QByteArray bytes = text.toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = Cannot_Write(file_name, file);
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
    *error = Cannot_Write(file_name, file);
    return false;
}
