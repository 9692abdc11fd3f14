#ifndef DEPENDENCYOUTPUT_H
#define DEPENDENCYOUTPUT_H

#include <QString>
#include <QStringList>

// Reading what "ldd" and "rpm -q --whatprovides" print.

// The resolved paths of the libraries that an "ldd" listing names, in listing
// order. Lines without "name => path (address)" are skipped: the kernel's
// virtual library, the program interpreter and libraries that were not found.
// Qt 4, 5 and 6 libraries are left out, as the application ships its own.
QStringList Dependency_Libraries(const QString& ldd_output);

// The package name in the first line of a package query, "name-version-release"
// with a version and release of digits and dots only; empty for any other form.
QString Providing_Package(const QString& rpm_output);

#endif
