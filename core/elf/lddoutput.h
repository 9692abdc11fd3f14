#ifndef LDDOUTPUT_H
#define LDDOUTPUT_H

#include <QString>

#include <vector>

#include "elf/loadedlibraries.h"

// The libraries that an "ldd" listing names as "name => path (address)" or
// "name => not found" (with an empty path), in listing order. Other lines
// are skipped: the kernel's virtual library and the program interpreter.
std::vector<TLoadedLibrary> Ldd_Libraries(const QString& ldd_output);

#endif
