#ifndef LIBRARYRECORDS_H
#define LIBRARYRECORDS_H

#include <QString>

#include "types.h"

// A folder under the program's installation folder that receives libraries,
// such as "lib" or "platforms", or the folder of the QML modules, "qml". A
// checked target is deployed.
struct TTargetRecord
{
    QString Name;
    bool Checked = false;
    TTypes::TTargetKind Kind = TTypes::Target_Files;
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
