#ifndef BUNDLE_H
#define BUNDLE_H

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

#include "libraries/libraryrecords.h"
#include "types.h"

// One file of a program's Qt bundle: a Qt library in "lib" or a plug-in in
// the folder named after its kind, such as "platforms"; or a QML module
// folder in "qml", taken with everything below it.
struct TBundleFile
{
    QString Target;
    QString Name;    // the file name in the target; for a QML module its folder there
    QString Source;  // the real file (or module folder) it is copied from, links followed
    TTypes::TLibraryType Type = TTypes::Library_Dylib;
};

// The Qt libraries and plug-ins a program needs, in the order the spec
// installs them: targets as the Libraries panel shows them, each target's
// files by name.
struct TBundle
{
    std::vector<TBundleFile> Files;
};

// Told of each file before long work on it; returning false stops the work.
using TBundleProgress = std::function<bool(const QString& file)>;

// Puts the files into the install order described at TBundle.
void Sort_For_Installation(TBundle* bundle);

// "<target>/<file>" for every file, in the bundle's order.
QStringList Bundle_Lines(const TBundle& bundle);

// The bundle as the only, checked, targets and libraries of the panel.
std::vector<TTargetRecord> Bundle_Targets(const TBundle& bundle);
std::vector<TLibraryRecord> Bundle_Libraries(const TBundle& bundle);

#endif
