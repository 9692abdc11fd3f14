#ifndef LIBRARYFACTORY_H
#define LIBRARYFACTORY_H

#include <vector>

#include "libraries/libraryrecords.h"

// The targets a new user starts with: "lib", "platforms" and
// "xcbglintegrations" checked, the other nine Qt plug-in folders unchecked.
std::vector<TTargetRecord> Factory_Targets();

// The Qt 5.15.2 libraries and plug-ins a new user starts with, all checked.
std::vector<TLibraryRecord> Factory_Libraries();

#endif
