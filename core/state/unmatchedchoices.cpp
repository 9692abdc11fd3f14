#include "state/unmatchedchoices.h"

#include <algorithm>

#include "text/valuelimits.h"

TUnmatchedChoices Sort_Unmatched_Choices(const QStringList& unmatched,
                                         const TDetectionChoices& given,
                                         const QString& plugins_folder)
{
    TUnmatchedChoices sorted;
    for (const QString& entry : unmatched)
    {
        if (given.With_Libraries.contains(entry))
            sorted.Refused.append(
                QString("--with-library: \"%1\" is not a file").arg(Shown_Value(entry)));
        else if (given.With_Plugins.contains(entry) || given.Without_Plugins.contains(entry))
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

namespace
{
void Keep_Listed_Entry(const QString& entry, const std::vector<TLibraryRecord>& stored,
                       TEditorState* state)
{
    const QString target = entry.section('/', 0, 0);
    const QString name = entry.section('/', 1);
    if (target.isEmpty() || name.isEmpty())
        return;
    TLibraryRecord kept{target, name,
                        target == "lib" ? TTypes::Library_Dylib : TTypes::Library_Plugin, true};
    for (const TLibraryRecord& library : stored)
    {
        if (library.Target_Name == target && library.Name == name)
            kept.Type = library.Type;
    }
    state->Libraries.push_back(kept);
    if (std::none_of(state->Targets.begin(), state->Targets.end(),
                     [&](const TTargetRecord& record) { return record.Name == target; }))
        state->Targets.push_back({target, true});
}
}

void Keep_Listed_Entries(const QStringList& entries, const std::vector<TLibraryRecord>& stored,
                         TEditorState* state)
{
    for (const QString& entry : entries)
        Keep_Listed_Entry(entry, stored, state);
}
