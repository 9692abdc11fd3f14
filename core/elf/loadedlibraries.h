#ifndef LOADEDLIBRARIES_H
#define LOADEDLIBRARIES_H

// core/elf/loadedlibraries.h
#include <QString>
#include <vector>
struct TLoadedLibrary { QString Name; QString Path; };  // Name as needed (the soname); Path as the loader finds it, empty when not found
struct TLoadedLibraries { bool Ok = false; QString Error; std::vector<TLoadedLibrary> Libraries; };
// Every library `file` loads, directly or through other libraries, in the order the loader loads them (breadth first, as ldd lists them), without the vdso and the program interpreter. Ok is false, with Error in plain words, when the file cannot be examined (missing, not an ELF file, ...).
TLoadedLibraries Loaded_Libraries(const QString& file);

#endif
