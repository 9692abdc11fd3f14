#ifndef DEPENDENCYOUTPUT_H
#define DEPENDENCYOUTPUT_H

#include <QString>
#include <QStringList>

#include <vector>

#include "elf/loadedlibraries.h"

// Reading what "ldd" and "rpm -q --whatprovides" print.

// The libraries that an "ldd" listing names as "name => path (address)" or
// "name => not found" (with an empty path), in listing order. Other lines
// are skipped: the kernel's virtual library and the program interpreter.
std::vector<TLoadedLibrary> Ldd_Libraries(const QString& ldd_output);

// The paths a requirements scan asks about: those of the libraries found,
// in order, without Qt 4, 5 and 6 libraries, as the application ships its own.
QStringList Scanned_Libraries(const std::vector<TLoadedLibrary>& libraries);

// The package name in the first line of a package query, "name-version-release"
// with a version and release of digits and dots only; empty for any other form.
QString Providing_Package(const QString& rpm_output);

#endif
