#ifndef INSTALLROOT_H
#define INSTALLROOT_H

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Install roots for packages under test: an otherwise empty system tree that
// "rpm --root" installs into and a program can be chrooted into. The
// functions that build one return what went wrong, or an empty string.
namespace Test
{
// The rpm options that act on the database of the install root `root`.
QStringList Rpm_Root_Options(const QString& root);

// Makes `root` a system with busybox as /bin/sh and its other applets, for
// the scriptlets, and an initialised, empty rpm database.
QString Make_Install_Root(const QString& root);

// What `ldd` lists for `file`: the path of every library it loads, the loader
// included, "not found: <line>" for each one it cannot find, and
// "ldd failed: <output>" when ldd itself fails.
QStringList Loaded_Paths(const QString& file, const QProcessEnvironment& environment =
                                                  QProcessEnvironment::systemEnvironment());

bool Is_Qt_Library(const QString& path);

// Copies into `root`, at the paths ldd gives, the loader and every library
// other than Qt's that `files` (full paths) load, unless already there.
QString Copy_System_Libraries(const QString& root, const QStringList& files);
}

#endif
