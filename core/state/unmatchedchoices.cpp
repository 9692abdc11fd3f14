#include "state/unmatchedchoices.h"

#include <QHash>
#include <QSet>

#include "text/valuelimits.h"

TUnmatchedChoices Sort_Unmatched_Choices(const QStringList& unmatched,
                                         const TDetectionChoices& given,
                                         const QString& plugins_folder)
{
    const QSet<QString> given_libraries(given.With_Libraries.begin(), given.With_Libraries.end());
    QSet<QString> given_plugins(given.With_Plugins.begin(), given.With_Plugins.end());
    given_plugins.unite(QSet<QString>(given.Without_Plugins.begin(), given.Without_Plugins.end()));
    TUnmatchedChoices sorted;
    for (const QString& entry : unmatched)
    {
        if (given_libraries.contains(entry))
            sorted.Refused.append(
                QString("--with-library: \"%1\" is not a file").arg(Shown_Value(entry)));
        else if (given_plugins.contains(entry))
            sorted.Refused.append(QString("\"%1\" names no plug-in family or file in \"%2\"")
                                      .arg(Shown_Value(entry), plugins_folder));
        else if (Is_Listed_Library_Entry(entry))
            sorted.Kept.append(entry);
        else
            sorted.Left_Out.append(
                QString("the stored choice \"%1\" names nothing in the Qt installation; it is "
                        "left out")
                    .arg(Shown_Value(entry)));
    }
    return sorted;
}

void Keep_Listed_Entries(const QStringList& entries, const std::vector<TLibraryRecord>& stored,
                         TEditorState* state)
{
    // The type of the last stored library of each name, as a search from the
    // front to the back finds it.
    QHash<QPair<QString, QString>, TTypes::TLibraryType> stored_types;
    for (const TLibraryRecord& library : stored)
        stored_types.insert({library.Target_Name, library.Name}, library.Type);
    QSet<QString> targets;
    for (const TTargetRecord& record : state->Targets)
        targets.insert(record.Name);
    for (const QString& entry : entries)
    {
        const QString target = entry.section('/', 0, 0);
        const QString name = entry.section('/', 1);
        if (target.isEmpty() || name.isEmpty())
            continue;
        const TTypes::TLibraryType type = stored_types.value(
            {target, name}, target == "lib" ? TTypes::Library_Dylib : TTypes::Library_Plugin);
        state->Libraries.push_back({target, name, type, true});
        if (!targets.contains(target))
        {
            targets.insert(target);
            state->Targets.push_back({target, true});
        }
    }
}
