#ifndef SCANFILES_H
#define SCANFILES_H

#include <QString>
#include <QStringList>

#include "scan/scanreport.h"

// The files a requirements scan examines, in the order their libraries are
// taken: the subfolders of `shared_libs_path` named by `targets` (exact
// names) in folder-listing order, and in each its files (no subfolders, no
// hidden files), both by name ignoring case. Targets without a folder are
// noted in `report`.
QStringList Scan_Files(const QString& shared_libs_path, const QStringList& targets,
                       TScanReport* report);

#endif
