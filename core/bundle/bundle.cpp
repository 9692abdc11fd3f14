#include "bundle/bundle.h"

#include <QSet>

#include <algorithm>

void Sort_For_Installation(TBundle* bundle)
{
    std::vector<TBundleFile>& files = bundle->Files;
    std::sort(files.begin(), files.end(), [](const TBundleFile& left, const TBundleFile& right) {
        return left.Name < right.Name;
    });
    // The panel's own order of targets, which the spec writer follows.
    std::stable_sort(files.begin(), files.end(),
                     [](const TBundleFile& left, const TBundleFile& right) {
                         return left.Target.localeAwareCompare(right.Target) < 0;
                     });
}

QStringList Bundle_Lines(const TBundle& bundle)
{
    QStringList lines;
    for (const TBundleFile& file : bundle.Files)
        lines.append(file.Target + "/" + file.Name);
    return lines;
}

std::vector<TTargetRecord> Bundle_Targets(const TBundle& bundle)
{
    std::vector<TTargetRecord> targets;
    QSet<QString> named;
    for (const TBundleFile& file : bundle.Files)
    {
        if (named.contains(file.Target))
            continue;
        named.insert(file.Target);
        targets.push_back({file.Target, true,
                           file.Type == TTypes::Library_Qml_Module ? TTypes::Target_Qml_Modules
                                                                    : TTypes::Target_Files});
    }
    return targets;
}

std::vector<TLibraryRecord> Bundle_Libraries(const TBundle& bundle)
{
    std::vector<TLibraryRecord> libraries;
    for (const TBundleFile& file : bundle.Files)
        libraries.push_back({file.Target, file.Name, file.Type, true});
    return libraries;
}
