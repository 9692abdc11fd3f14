#include "libraries/detectionchoices.h"

namespace
{
void Add_Missing(QStringList* list, const QStringList& entries)
{
    for (const QString& entry : entries)
    {
        if (!list->contains(entry))
            list->append(entry);
    }
}

void Remove_All(QStringList* list, const QStringList& entries)
{
    for (const QString& entry : entries)
        list->removeAll(entry);
}
}

bool Is_Listed_Library_Entry(const QString& entry)
{
    return entry.count('/') == 1 && !entry.startsWith('/');
}

TDetectionChoices Merged_Choices(const TDetectionChoices& stored, const TDetectionChoices& given)
{
    TDetectionChoices merged = stored;
    Remove_All(&merged.With_Plugins, given.Without_Plugins);
    Remove_All(&merged.Without_Plugins, given.With_Plugins);
    Add_Missing(&merged.With_Plugins, given.With_Plugins);
    Add_Missing(&merged.Without_Plugins, given.Without_Plugins);
    Add_Missing(&merged.With_Libraries, given.With_Libraries);
    return merged;
}

QStringList Choice_List(const QString& text)
{
    QStringList entries;
    for (const QString& entry : text.split(','))
    {
        if (!entry.trimmed().isEmpty())
            entries.append(entry.trimmed());
    }
    return entries;
}
