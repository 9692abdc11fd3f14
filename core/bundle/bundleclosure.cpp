#include "bundle/bundleclosure.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include "bundle/baselibraries.h"
#include "elf/elffile.h"

namespace
{
// The DT_NEEDED names of `path`; false when it cannot be read.
bool Read_Needed(const QString& path, QStringList* needed)
{
    const TOpenedObject opened = Open_Elf_Object(QFile::encodeName(path));
    if (opened.Outcome != TOpenedObject::Opened || !opened.Object.Is_Read())
        return false;
    for (const QByteArray& name : opened.Object.Needed)
        needed->append(QString::fromUtf8(name));
    return true;
}
}

QSet<QString> Reached_Past_Base_System(const QString& file,
                                       const std::vector<TLoadedLibrary>& libraries)
{
    QHash<QString, QString> paths;
    QSet<QString> all;
    for (const TLoadedLibrary& library : libraries)
    {
        paths.insert(library.Name, library.Path);
        all.insert(library.Name);
    }
    QStringList pending;
    if (!Read_Needed(file, &pending))
        return all;
    QSet<QString> reached;
    while (!pending.isEmpty())
    {
        const QString name = pending.takeFirst();
        if (reached.contains(name) || Is_Base_Library(name))
            continue;
        reached.insert(name);
        Read_Needed(paths.value(name), &pending);
    }
    return reached;
}
