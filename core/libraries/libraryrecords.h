#ifndef LIBRARYRECORDS_H
#define LIBRARYRECORDS_H

#include <QString>

#include "types.h"

// A folder under the program's installation folder that receives libraries,
// such as "lib" or "platforms". A checked target is deployed.
struct TTargetRecord
{
    QString Name;
    bool Checked = false;
};

// A shared library or plug-in file deployed into the target named by
// Target_Name. A checked library of a checked target is deployed.
struct TLibraryRecord
{
    QString Target_Name;
    QString Name;
    TTypes::TLibraryType Type = TTypes::Library_Dylib;
    bool Checked = false;
};

#endif
