#include "loadedlibraries.h"

#include "librarylisting.h"

namespace
{
const int Ldd_Wait_Ms = 30000;
}

TLoadedLibraries Loaded_Libraries(const QString& file)
{
    return List_Libraries(TLibraryResolver(), file, Ldd_Wait_Ms, nullptr).Libraries;
}

TLoadedLibraries Loaded_Libraries_Until(const QString& file, const std::atomic<bool>& stop)
{
    return List_Libraries(TLibraryResolver(), file, Ldd_Wait_Ms, &stop).Libraries;
}
