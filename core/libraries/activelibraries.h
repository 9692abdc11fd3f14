#ifndef ACTIVELIBRARIES_H
#define ACTIVELIBRARIES_H

#include <QString>

#include <vector>

#include "types.h"

// The active targets and libraries as a project file keeps them: by name,
// apart from the full lists of the Libraries panel.

struct TSpecDataLibrary
{
    TTypes::TLibraryType Type;
    QString Name;
};

struct TSpecDataTarget
{
    QString Name;
    std::vector<TSpecDataLibrary> Libraries;  // the target's active libraries
};

// One library line read back: the first library of `Target` whose name begins
// with `Prefix` is to be made active.
struct TSpecDataSelection
{
    QString Target;
    QString Prefix;
};

#endif
