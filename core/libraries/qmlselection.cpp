#include "libraries/qmlselection.h"

#include <algorithm>

namespace
{
bool Is_Qml(const TTargetRecord& target)
{
    return target.Kind == TTypes::Target_Qml_Modules;
}

bool Is_Qml(const TLibraryRecord& library)
{
    return library.Type == TTypes::Library_Qml_Module;
}

void Check_Target(std::vector<TTargetRecord>* targets, const QString& name)
{
    const auto found = std::find_if(targets->begin(), targets->end(), [&](const TTargetRecord& t) {
        return Is_Qml(t) && t.Name == name;
    });
    if (found != targets->end())
        found->Checked = true;
    else
        targets->push_back({name, true, TTypes::Target_Qml_Modules});
}

void Check_Module(std::vector<TLibraryRecord>* libraries, const QString& target,
                  const QString& module)
{
    const auto found =
        std::find_if(libraries->begin(), libraries->end(), [&](const TLibraryRecord& library) {
            return Is_Qml(library) && library.Target_Name == target && library.Name == module;
        });
    if (found != libraries->end())
        found->Checked = true;
    else
        libraries->push_back({target, module, TTypes::Library_Qml_Module, true});
}
}

QHash<QString, TTypes::TTargetKind> Target_Kinds(const std::vector<TTargetRecord>& targets)
{
    QHash<QString, TTypes::TTargetKind> kinds;
    for (const TTargetRecord& target : targets)
        if (!kinds.contains(target.Name))
            kinds.insert(target.Name, target.Kind);
    return kinds;
}

std::vector<TSpecDataTarget> Active_Qml_Targets(const std::vector<TTargetRecord>& targets,
                                                const std::vector<TLibraryRecord>& libraries)
{
    std::vector<TSpecDataTarget> active;
    for (const TTargetRecord& target : targets)
    {
        if (!Is_Qml(target) || !target.Checked)
            continue;
        TSpecDataTarget modules{target.Name, {}};
        for (const TLibraryRecord& library : libraries)
            if (Is_Qml(library) && library.Checked && library.Target_Name == target.Name)
                modules.Libraries.push_back({TTypes::Library_Qml_Module, library.Name});
        if (!modules.Libraries.empty())
            active.push_back(modules);
    }
    return active;
}

void Select_Qml_Targets(std::vector<TTargetRecord>* targets, std::vector<TLibraryRecord>* libraries,
                        const std::vector<TSpecDataTarget>& active)
{
    for (TTargetRecord& target : *targets)
        if (Is_Qml(target))
            target.Checked = false;
    for (TLibraryRecord& library : *libraries)
        if (Is_Qml(library))
            library.Checked = false;
    for (const TSpecDataTarget& target : active)
    {
        Check_Target(targets, target.Name);
        for (const TSpecDataLibrary& module : target.Libraries)
            Check_Module(libraries, target.Name, module.Name);
    }
}
