#include "scan/requirelist.h"

#include <algorithm>

namespace
{
const char* const System_C_Library_Package = "glibc";

const QStringList Factory_Libraries = {"libxcb-image.so.0", "libxcb-image.so.1",
                                       "libxcb-image.so.2"};
}

TRequireEntries Factory_Requirements()
{
    return {{"libxcb-image0", Factory_Libraries}, {"libxcb-image1", Factory_Libraries}};
}

bool Has_Library(const TRequireEntries& entries, const QString& library)
{
    return std::any_of(entries.begin(), entries.end(), [&library](const TRequireEntry& entry) {
        return entry.Libraries.contains(library);
    });
}

void Add_Library(TRequireEntries& entries, const QString& package, const QString& library)
{
    if (package == System_C_Library_Package)
        return;
    const auto entry = std::find_if(entries.begin(), entries.end(),
                                    [&package](const TRequireEntry& candidate) {
                                        return candidate.Package == package;
                                    });
    if (entry == entries.end())
        entries.push_back({package, {library}});
    else if (!entry->Libraries.contains(library))
        entry->Libraries.append(library);
}

QStringList Package_Names(const TRequireEntries& entries)
{
    QStringList names;
    for (const TRequireEntry& entry : entries)
        names.append(entry.Package);
    return names;
}
