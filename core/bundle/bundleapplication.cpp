#include "bundle/bundleapplication.h"

#include <algorithm>

#include "libraries/libraryversion.h"

namespace
{
void Apply_Targets(const TBundle& bundle, const QStringList& kept,
                   std::vector<TTargetRecord>* targets, TBundleApplication* application)
{
    for (TTargetRecord& target : *targets)
        target.Checked = std::any_of(kept.begin(), kept.end(), [&](const QString& entry) {
            return entry.section('/', 0, 0) == target.Name;
        });
    for (const TTargetRecord& wanted : Bundle_Targets(bundle))
    {
        const auto found =
            std::find_if(targets->begin(), targets->end(),
                         [&](const TTargetRecord& target) { return target.Name == wanted.Name; });
        if (found != targets->end())
            found->Checked = true;
        else
        {
            targets->push_back(wanted);
            ++application->Targets_Added;
        }
    }
}

class TLibraryMatcher
{
public:
    TLibraryMatcher(const TBundle& bundle, const QStringList& kept,
                    std::vector<TLibraryRecord>* libraries)
        : d_bundle(bundle), d_kept(kept), d_libraries(libraries), d_was_checked(libraries->size()),
          d_taken(libraries->size(), false)
    {
        std::transform(libraries->begin(), libraries->end(), d_was_checked.begin(),
                       [](const TLibraryRecord& library) { return library.Checked; });
    }

    void Apply(TBundleApplication* application);

private:
    bool Take_Same(const TBundleFile& file);
    bool Take_Other_Version(const TBundleFile& file);
    bool In_Bundle(const QString& target, const QString& name) const;

    const TBundle& d_bundle;
    const QStringList& d_kept;
    std::vector<TLibraryRecord>* d_libraries;
    std::vector<bool> d_was_checked;
    std::vector<bool> d_taken;
};

void TLibraryMatcher::Apply(TBundleApplication* application)
{
    for (const TBundleFile& file : d_bundle.Files)
    {
        if (Take_Same(file))
            continue;
        if (Take_Other_Version(file))
            ++application->Libraries_Renamed;
        else
        {
            d_libraries->push_back({file.Target, file.Name, file.Type, true});
            d_taken.push_back(true);
            d_was_checked.push_back(false);
            ++application->Libraries_Added;
        }
    }
    for (std::size_t index = 0; index < d_taken.size(); ++index)
    {
        if (d_taken[index])
            continue;
        TLibraryRecord& library = (*d_libraries)[index];
        if (library.Checked && d_kept.contains(library.Target_Name + "/" + library.Name))
        {
            application->Kept.append(library.Target_Name + "/" + library.Name);
            continue;
        }
        library.Checked = false;
        if (d_was_checked[index])
            ++application->Libraries_Unchecked;
    }
}

bool TLibraryMatcher::Take_Same(const TBundleFile& file)
{
    bool found = false;
    for (std::size_t index = 0; index < d_libraries->size(); ++index)
    {
        TLibraryRecord& library = (*d_libraries)[index];
        if (library.Target_Name == file.Target && library.Name == file.Name)
        {
            library.Checked = true;
            d_taken[index] = true;
            found = true;
        }
    }
    return found;
}

// A library of another version is renamed unless its own name is wanted too.
bool TLibraryMatcher::Take_Other_Version(const TBundleFile& file)
{
    for (std::size_t index = 0; index < d_libraries->size(); ++index)
    {
        TLibraryRecord& library = (*d_libraries)[index];
        if (d_taken[index] || library.Target_Name != file.Target ||
            Library_Name_Up_To_So(library.Name) != Library_Name_Up_To_So(file.Name) ||
            In_Bundle(library.Target_Name, library.Name))
            continue;
        library = {file.Target, file.Name, file.Type, true};
        d_taken[index] = true;
        return true;
    }
    return false;
}

bool TLibraryMatcher::In_Bundle(const QString& target, const QString& name) const
{
    return std::any_of(d_bundle.Files.begin(), d_bundle.Files.end(), [&](const TBundleFile& file) {
        return file.Target == target && file.Name == name;
    });
}
}

TBundleApplication Apply_Bundle(const TBundle& bundle, std::vector<TTargetRecord>* targets,
                                std::vector<TLibraryRecord>* libraries, const QStringList& kept)
{
    TBundleApplication application;
    Apply_Targets(bundle, kept, targets, &application);
    TLibraryMatcher(bundle, kept, libraries).Apply(&application);
    return application;
}
