#ifndef LOADEDLIBRARIES_H
#define LOADEDLIBRARIES_H

#include <QString>

#include <atomic>
#include <vector>

// One library a file loads: the name it is needed under (its soname) and the
// path the loader finds it at, empty when it is not found.
struct TLoadedLibrary
{
    QString Name;
    QString Path;
};

struct TLoadedLibraries
{
    bool Ok = false;
    QString Error;  // in plain words, when Ok is false
    std::vector<TLoadedLibrary> Libraries;
};

// Every library `file` loads, directly or through other libraries, in the
// order the loader loads them (breadth first, as ldd lists them), without the
// vdso and the program interpreter. Ok is false when the file cannot be
// examined (missing, not an ELF file, ...).
TLoadedLibraries Loaded_Libraries(const QString& file);

// As Loaded_Libraries, with "ldd", when it must be asked, stopped once `stop`
// is set.
TLoadedLibraries Loaded_Libraries_Until(const QString& file, const std::atomic<bool>& stop);

#endif
