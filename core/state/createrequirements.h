#ifndef CREATEREQUIREMENTS_H
#define CREATEREQUIREMENTS_H

#include <QStringList>

#include "scan/requireentry.h"
#include "types.h"

// What Create does about the package requirements, in the editor and in the
// command-line tool alike.

// True when Create scans the requirements afresh, and waits for the scan,
// before it writes: in the automatic mode only. Without a shared-libraries
// folder no scan runs and the list stays as it is.
bool Create_Rescans_Requirements(TTypes::TOptionRequies mode);

// The packages Create writes, from `list` as it stands after any rescan:
// none when the requirements are ignored.
QStringList Create_Required_Packages(TTypes::TOptionRequies mode, const TRequireEntries& list);

#endif
