#ifndef PACKAGESETUP_H
#define PACKAGESETUP_H

#include <QTextStream>

#include "clirequest.h"
#include "datafiles/packagesettingsfile.h"

// The packaging setup the request gives, its paths made absolute so that a
// later run from another folder finds the same files.
TPackageSettings Given_Package_Settings(const TCliRequest& request);

// `stored` with what the request gives on top.
TPackageSettings Package_Setup(const TCliRequest& request, const TPackageSettings& stored);

// The setup stored in `data_folder` into `settings`; false, told on `err`,
// when the file is there but cannot be read.
bool Read_Package_Settings(const QString& data_folder, TPackageSettings* settings,
                           QTextStream& err);

// Keeps `settings` in `data_folder` for the next run; a failure is told on
// `err` but does not stop the run.
void Remember_Package_Settings(const QString& data_folder, const TPackageSettings& settings,
                               QTextStream& err);

#endif
