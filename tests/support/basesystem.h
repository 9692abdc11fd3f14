#ifndef BASESYSTEM_H
#define BASESYSTEM_H

#include <QString>
#include <QStringList>

namespace Test
{
// What the base-system package holds and offers.
struct TBaseSystem
{
    QStringList Files;     // host paths, as ldd gives them
    QStringList Provides;  // capabilities, one each
};

// Whether the tests take `soname` for a library of every desktop system,
// which a package must not bundle: their own list, kept apart from the one
// detection follows, so that a name that goes missing there is caught.
bool Is_Expected_Base_Library(const QString& soname);

// The base-list libraries (Is_Expected_Base_Library) that `files` load, and every
// library those load in turn, as files; offering what RPM's elfdeps finds in
// the base-list libraries alone, "/bin/sh", and what every distribution's C
// library package offers besides ("rtld(GNU_HASH)", "glibc"). An error line
// in `error` when ldd or elfdeps fails.
TBaseSystem Base_System_For(const QStringList& files, QString* error);

// Builds the package "base-system" holding `base` with rpmbuild below
// `folder`; the package's path, or an empty string with the reason in
// `error`. No requirement of its own is recorded.
QString Build_Base_System_Package(const TBaseSystem& base, const QString& folder,
                                  QString* error);
}

#endif
