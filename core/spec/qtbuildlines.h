#ifndef QTBUILDLINES_H
#define QTBUILDLINES_H

#include <QString>

#include "datafiles/qtbuild.h"

// The qmake that configures for `qt`: "<prefix>/bin/qmake" for a Qt under a
// prefix of its own, "qmake6" for the system's Qt 6, else plain "qmake".
QString QMake_Program(const TQtBuild& qt);

// " -DCMAKE_PREFIX_PATH=<prefix>" for a Qt under a prefix of its own, so that
// find_package takes that installation; empty otherwise.
QString CMake_Prefix_Option(const TQtBuild& qt);

#endif
