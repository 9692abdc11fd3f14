#include "savefile.h"

#include <QSaveFile>

bool Save_Text_File(const QString& file_name, const QString& text, QString* error)
{
    QSaveFile file(file_name);
    const QByteArray bytes = text.toUtf8();
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = QString("ERR  Cannot write file '%1'.  Reason: %2").arg(file_name, file.errorString());
    return false;
}
