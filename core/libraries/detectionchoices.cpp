#include "libraries/detectionchoices.h"

#include <QSet>

#include <algorithm>

// Entries are looked up in sets, for lists of any length.
namespace
{
void Add_Missing(QStringList* list, const QStringList& entries)
{
    QSet<QString> present(list->begin(), list->end());
    for (const QString& entry : entries)
    {
        if (!present.contains(entry))
        {
            present.insert(entry);
            list->append(entry);
        }
    }
}

void Remove_All(QStringList* list, const QStringList& entries)
{
    const QSet<QString> removed(entries.begin(), entries.end());
    list->erase(std::remove_if(list->begin(), list->end(),
                               [&](const QString& entry) { return removed.contains(entry); }),
                list->end());
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
