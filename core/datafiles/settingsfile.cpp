#include "datafiles/settingsfile.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include "datafiles/savefile.h"

const char* const Shared_Libs_Path_Key = "Shared_Libs_Path";

namespace
{
const char* const Incomplete = "the settings could not be put together completely";

// QSettings writes the text into a scratch file, which may itself be cut
// short unseen; so the bytes are stored again under another name, which
// QSettings has not cached, and read back there.
bool Compose(const QString& scratch, const QVariantMap& values, QByteArray* bytes,
             QString* reason)
{
    const QString composed = scratch + "/composed.ini";
    {
        QSettings settings(composed, QSettings::IniFormat);
        for (auto value = values.cbegin(); value != values.cend(); ++value)
            settings.setValue(value.key(), value.value());
        settings.sync();
        if (settings.status() != QSettings::NoError)
        {
            *reason = Incomplete;
            return false;
        }
    }
    QFile file(composed);
    if (!file.open(QIODevice::ReadOnly))
    {
        *reason = file.errorString();
        return false;
    }
    *bytes = file.readAll();

    const QString check = scratch + "/check.ini";
    if (!Save_Bytes_File(check, *bytes, reason))
        return false;
    const QSettings read_back(check, QSettings::IniFormat);
    bool complete = read_back.allKeys().size() == values.size();
    for (auto value = values.cbegin(); complete && value != values.cend(); ++value)
        complete = read_back.value(value.key()) == value.value();
    if (!complete)
        *reason = Incomplete;
    return complete;
}
}

bool Save_Settings_File(const QString& file_name, const QVariantMap& values, QString* reason)
{
    const QTemporaryDir scratch;
    if (!scratch.isValid())
    {
        *reason = scratch.errorString();
        return false;
    }
    QByteArray bytes;
    return Compose(scratch.path(), values, &bytes, reason)
           && Save_Bytes_File(file_name, bytes, reason);
}

QString Stored_Shared_Libs_Path(const QSettings& settings)
{
    return settings.value(Shared_Libs_Path_Key, QDir::homePath()).toString();
}
