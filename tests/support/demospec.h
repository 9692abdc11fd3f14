#ifndef DEMOSPEC_H
#define DEMOSPEC_H

#include <QString>

namespace Test
{
// The spec of the demo project: three variables, the packager "Ana Lima
// <ana@example.org>", qmake, "glibc" required, Qt Core in "lib", the xcb
// plug-in in "platforms", a one-line change log.
extern const QString Demo_Spec;
}

#endif
