#include "bundle/pluginchoice.h"

#include <QDir>
#include <QFileInfo>

#include "libraries/pluginfamilies.h"

namespace
{
// The family folder and file name an entry stands for; the file is empty for
// a family entry. Nothing for an entry that is neither.
bool Split_Entry(const QString& entry, QString* family, QString* file)
{
    const QStringList parts = entry.split('/');
    if (parts.size() > 2)
        return false;
    for (const QString& part : parts)
    {
        if (part.isEmpty() || part == "." || part == "..")
            return false;
    }
    *family = parts.value(0);
    *file = parts.value(1);
    return true;
}

bool Names_Something(const QString& plugins_folder, const QString& entry)
{
    QString family;
    QString file;
    if (!Split_Entry(entry, &family, &file))
        return false;
    const QFileInfo info(QDir(plugins_folder).filePath(entry));
    return file.isEmpty() ? info.isDir() : info.isFile();
}
}

TPluginChoice::TPluginChoice(const TDetectionChoices& choices)
    : d_choices(choices),
      d_with(choices.With_Plugins.begin(), choices.With_Plugins.end()),
      d_without(choices.Without_Plugins.begin(), choices.Without_Plugins.end())
{
}

bool TPluginChoice::Takes(const QString& family, const QString& file_name, bool detected) const
{
    const QString file = family + "/" + file_name;
    if (d_with.contains(file))
        return true;
    if (d_without.contains(file))
        return false;
    if (d_with.contains(family))
        return true;
    if (d_without.contains(family))
        return false;
    return detected && Is_Default_Plugin(family, file_name);
}

QStringList TPluginChoice::Wanted_Families() const
{
    QStringList families;
    QSet<QString> seen;
    for (const QString& entry : d_choices.With_Plugins)
    {
        QString family;
        QString file;
        if (Split_Entry(entry, &family, &file) && !seen.contains(family))
        {
            seen.insert(family);
            families.append(family);
        }
    }
    return families;
}

QStringList TPluginChoice::Unmatched(const QString& plugins_folder) const
{
    QStringList unmatched;
    for (const QString& entry : d_choices.With_Plugins + d_choices.Without_Plugins)
    {
        if (!Names_Something(plugins_folder, entry))
            unmatched.append(entry);
    }
    return unmatched;
}
