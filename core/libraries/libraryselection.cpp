#include "libraries/libraryselection.h"

#include <QSet>

#include <algorithm>

namespace
{
bool Shown_Before(const QString& left, const QString& right)
{
    return left.localeAwareCompare(right) < 0;
}
}

std::vector<TTargetRecord> Targets_In_Display_Order(std::vector<TTargetRecord> targets)
{
    std::stable_sort(targets.begin(), targets.end(),
                     [](const TTargetRecord& left, const TTargetRecord& right) {
                         return Shown_Before(left.Name, right.Name);
                     });
    return targets;
}

std::vector<TLibraryRecord> Libraries_In_Display_Order(std::vector<TLibraryRecord> libraries)
{
    std::stable_sort(libraries.begin(), libraries.end(),
                     [](const TLibraryRecord& left, const TLibraryRecord& right) {
                         return Shown_Before(left.Target_Name, right.Target_Name);
                     });
    return libraries;
}

bool Has_Active_Libraries(const std::vector<TLibraryRecord>& libraries, const QString& target)
{
    return std::any_of(libraries.begin(), libraries.end(), [&](const TLibraryRecord& library) {
        return library.Target_Name == target && library.Checked;
    });
}

QStringList Active_Target_Names(const std::vector<TTargetRecord>& targets,
                                const std::vector<TLibraryRecord>& libraries,
                                bool with_libraries)
{
    QSet<QString> with_active_libraries;
    for (const TLibraryRecord& library : libraries)
    {
        if (library.Checked)
            with_active_libraries.insert(library.Target_Name);
    }
    QStringList names;
    for (const TTargetRecord& target : Targets_In_Display_Order(targets))
    {
        if (target.Checked && (!with_libraries || with_active_libraries.contains(target.Name)))
            names.append(target.Name);
    }
    return names;
}

QHash<QString, QStringList> Active_Library_Names(const std::vector<TLibraryRecord>& libraries)
{
    QHash<QString, QStringList> names;
    for (const TLibraryRecord& library : libraries)
    {
        if (library.Checked)
            names[library.Target_Name].append(library.Name);
    }
    return names;
}

void Unselect_Targets(std::vector<TTargetRecord>* targets)
{
    for (TTargetRecord& target : *targets)
        target.Checked = false;
}

void Unselect_Libraries(std::vector<TLibraryRecord>* libraries)
{
    for (TLibraryRecord& library : *libraries)
        library.Checked = false;
}

void Select_Target(std::vector<TTargetRecord>* targets, const QString& name)
{
    const auto target =
        std::find_if(targets->begin(), targets->end(),
                     [&](const TTargetRecord& entry) { return entry.Name == name; });
    if (target != targets->end())
        target->Checked = true;
}

void Select_Library(std::vector<TLibraryRecord>* libraries, const QString& target,
                    const QString& prefix)
{
    const auto library =
        std::find_if(libraries->begin(), libraries->end(), [&](const TLibraryRecord& entry) {
            return entry.Target_Name == target && entry.Name.startsWith(prefix, Qt::CaseSensitive);
        });
    if (library != libraries->end())
        library->Checked = true;
}

void Select_Targets(std::vector<TTargetRecord>* targets, const QStringList& names)
{
    QHash<QString, TTargetRecord*> first;
    for (auto target = targets->rbegin(); target != targets->rend(); ++target)
        first.insert(target->Name, &*target);
    for (const QString& name : names)
    {
        if (first.contains(name))
            first.value(name)->Checked = true;
    }
}

void Select_Libraries(std::vector<TLibraryRecord>* libraries,
                      const std::vector<TSpecDataSelection>& selections)
{
    QHash<QString, std::vector<TLibraryRecord*>> by_target;
    for (TLibraryRecord& library : *libraries)
        by_target[library.Target_Name].push_back(&library);
    for (const TSpecDataSelection& selection : selections)
    {
        const std::vector<TLibraryRecord*>& candidates = by_target[selection.Target];
        const auto library =
            std::find_if(candidates.begin(), candidates.end(), [&](const TLibraryRecord* entry) {
                return entry->Name.startsWith(selection.Prefix, Qt::CaseSensitive);
            });
        if (library != candidates.end())
            (*library)->Checked = true;
    }
}
