#ifndef BUNDLEAPPLICATION_H
#define BUNDLEAPPLICATION_H

#include <QStringList>

#include <vector>

#include "bundle/bundle.h"
#include "libraries/libraryrecords.h"

// How the Libraries panel's lists changed to take a bundle.
struct TBundleApplication
{
    int Targets_Added = 0;
    int Libraries_Added = 0;
    int Libraries_Renamed = 0;
    int Libraries_Unchecked = 0;  // checked before, not needed now
    QStringList Kept;             // "<target>/<file>" kept checked as the user asked
};

// Makes the bundle the active part of the lists: its targets checked, added
// where missing; each of its files checked, taking the place of a library
// of the same target that differs only in its version, or added; every
// other target and library unchecked and kept. The libraries named in `kept`
// ("<target>/<file>", the user's own additions) stay checked, with their
// targets.
TBundleApplication Apply_Bundle(const TBundle& bundle, std::vector<TTargetRecord>* targets,
                                std::vector<TLibraryRecord>* libraries,
                                const QStringList& kept = QStringList());

#endif
