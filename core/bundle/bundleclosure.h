#ifndef BUNDLECLOSURE_H
#define BUNDLECLOSURE_H

#include <QSet>
#include <QString>

#include <vector>

#include "elf/loadedlibraries.h"

// The names among `libraries` (all that `file` loads, as the loader found
// them) that `file` reaches through its own needed libraries and theirs
// without passing through a base-system library (Is_Base_Library): what a
// bundle must carry for it. What only the base system's libraries need is
// the base system's own. When `file` cannot be read as an ELF file, every
// name is given.
QSet<QString> Reached_Past_Base_System(const QString& file,
                                       const std::vector<TLoadedLibrary>& libraries);

#endif
