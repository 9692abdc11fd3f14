#ifndef INSTALLPROBE_H
#define INSTALLPROBE_H

#include <QString>
#include <QStringList>

#include "package/installlayout.h"

// What the trial install needs: the user's built program and sources.
struct TProbeRequest
{
    QString Program;  // the built program; a CMake build folder holds it
    QString Source;   // the source folder; qmake reads its project file from here
    bool CMake = false;
    QString QMake;    // the qmake that configures the build
};

// Learns where the program's own install rules put it and its files,
// without compiling anything and without changing the user's files. CMake:
// the build folder holding the program is installed into a temporary folder
// with a trial prefix. qmake: the project is read in a temporary folder with
// a trial PREFIX and its install rules are listed by a dry run; a rule that
// installs outside the prefix is given a path below it on qmake's command
// line, and kept so when the project then follows it.
TInstallProbe Probe_Install_Layout(const TProbeRequest& request);

// The project file qmake reads in `source`: the only .pro file, else the
// one named after the folder, else the first by name. Empty when none.
QString Project_File(const QString& source);

// Parses what "make -n -w install INSTALL_ROOT=<root>" printed: each file
// the rules install, below `prefix` or outside it. Relative sources are
// taken from the folder make says it entered (`top` at first); a source
// folder stands for every file below it.
std::vector<TInstalledFile> Dry_Run_Files(const QString& output, const QString& root,
                                          const QString& prefix, const QString& top);

#endif
