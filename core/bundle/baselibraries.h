#ifndef BASELIBRARIES_H
#define BASELIBRARIES_H

#include <QString>
#include <QStringList>

// The libraries every desktop Linux system has and a program must take from
// it, never from its own bundle: the C library, the compiler runtime, the
// graphics drivers, the X11 and Wayland core, sound servers, fonts and a few
// universally present libraries.

// True when `soname` (such as "libc.so.6") is one of them.
bool Is_Base_Library(const QString& soname);

// Every soname of the list, in the list's order; a family given by its
// beginning, such as the C library's name-service modules, as that beginning
// followed by "*".
QStringList Base_Library_Names();

#endif
