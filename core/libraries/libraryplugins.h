#ifndef LIBRARYPLUGINS_H
#define LIBRARYPLUGINS_H

#include <QString>

// The Qt plug-in folders worth deploying beside a Qt library, looked up by the
// beginning of the library's file name (case-sensitive), for example
// "platforms, platforminputcontexts" for "libQt5Gui.so.5.15.2". Empty when the
// name is not one of the known libraries.
QString Suggested_Plugins(const QString& library_name);

#endif
