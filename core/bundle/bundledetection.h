#ifndef BUNDLEDETECTION_H
#define BUNDLEDETECTION_H

#include <QString>

#include <functional>

#include "bundle/bundle.h"
#include "elf/loadedlibraries.h"
#include "libraries/detectionchoices.h"
#include "datafiles/qtbuild.h"

// Lists what a file loads; Loaded_Libraries, or made-up data in tests.
using TDependencyLister = std::function<TLoadedLibraries(const QString& file)>;

struct TBundleDetection
{
    bool Ok = false;
    QString Error;  // why nothing was found, in plain words
    TBundle Bundle;
    QString Plugins_Folder;  // the plug-in folder taken; empty when none was needed
    // The entries of the user's choices that name nothing: plug-in entries
    // without a family or file of that name in the plug-in folder, libraries
    // that are not files. The rest of the bundle is found without them.
    QStringList Unmatched;
    TQtBuild Qt;             // the installation the program's Qt Core comes from
};

// Finds the bundle the built program `program` needs: the Qt libraries it
// loads, as the real files of the Qt installation they resolve to, in "lib";
// the plug-ins of the families that go along with each of them, as
// TPluginChoice picks them with the user's `choices`; the libraries these
// open at run time and those of the "with" list, in "lib"; and so on for what
// all of them load, until nothing new appears. Every other library they
// load goes into "lib" too, under its soname, unless the base system has it
// (Is_Base_Library) or only the base system's libraries need it
// (Reached_Past_Base_System). The plug-ins come from
// `plugins_folder`, or when it is empty from the plug-in folder of the Qt
// installation the program's Qt Core resolves to. The libraries opened at
// run time are looked for, newest version first, in the folders the loader
// found the program's libraries in; one that is not there is left out. With
// `qml_sources`, the folder of the program's QML sources, the QML modules
// they import are bundled too, as module folders in "qml" found by that
// installation's own import scanner, and every plug-in library in them brings
// what it loads as the Qt plug-ins do.
TBundleDetection Detect_Bundle(const QString& program, const QString& plugins_folder,
                               const TDependencyLister& lister,
                               const TBundleProgress& progress = TBundleProgress(),
                               const QString& qml_sources = QString(),
                               const TDetectionChoices& choices = TDetectionChoices());

#endif
