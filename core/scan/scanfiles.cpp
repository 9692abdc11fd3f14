#include "scanfiles.h"

#include <QDir>

QStringList Scan_Files(const QString& shared_libs_path, const QStringList& targets,
                       TScanReport* report)
{
    QStringList files;
    const QStringList folders =
        QDir(shared_libs_path).entryList(QDir::AllDirs | QDir::NoDotAndDotDot);
    for (const QString& name : folders)
    {
        if (!targets.contains(name))
            continue;
        const QString folder = shared_libs_path + "/" + name;
        for (const QString& file :
             QDir(folder).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase))
            files.append(folder + "/" + file);
    }
    for (const QString& target : targets)
    {
        if (!folders.contains(target))
            Note_Missing_Target(*report, target);
    }
    return files;
}
