#ifndef PACKAGEOUTPUT_H
#define PACKAGEOUTPUT_H

#include <QString>
#include <QStringList>

#include <vector>

#include "elf/loadedlibraries.h"

// What a requirements scan asks "rpm -q --whatprovides" about, and reading
// its answer.

// The paths a requirements scan asks about: those of the libraries found,
// in order, without Qt 4, 5 and 6 libraries, as the application ships its own.
QStringList Scanned_Libraries(const std::vector<TLoadedLibrary>& libraries);

// The package name in the first line of a package query, "name-version-release"
// with a version and release of digits and dots only; empty for any other form.
QString Providing_Package(const QString& rpm_output);

#endif
