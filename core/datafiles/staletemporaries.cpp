#include "datafiles/staletemporaries.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>

#include "datafiles/datafilenames.h"

namespace
{
const int Quiet_Seconds = 60;

bool Is_Temporary_Name(const QString& name)
{
    static const QRegularExpression suffix("^\\.[A-Za-z0-9]{6}$");
    for (const char* data_file : Data_File_Names::All)
    {
        const QLatin1String prefix(data_file);
        if (name.startsWith(prefix) && suffix.match(name.mid(prefix.size())).hasMatch())
            return true;
    }
    return false;
}
}

QStringList Remove_Stale_Temporary_Files(const QString& folder)
{
    const QDateTime quiet_since = QDateTime::currentDateTime().addSecs(-Quiet_Seconds);
    QStringList removed;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
    {
        if (Is_Temporary_Name(file.fileName()) && file.lastModified() < quiet_since
            && QFile::remove(file.filePath()))
            removed.append(file.fileName());
    }
    return removed;
}
