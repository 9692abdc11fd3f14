#ifndef QTINSTALLATION_H
#define QTINSTALLATION_H

#include <QString>
#include <QStringList>

#include "datafiles/qtbuild.h"

// What a Qt installation looks like from the outside: its library names, the
// folders it keeps its plug-ins in and which plug-ins a program takes along.

// True for the name of a Qt 5 or Qt 6 library, such as "libQt5Gui.so.5".
bool Is_Qt_Library(const QString& name);

// True for the name of the Qt Core library.
bool Is_Qt_Core_Library(const QString& name);

// Where the installation whose Qt Core library is the real file
// `core_library` may keep its plug-ins, in order of preference:
// "<libdir>/qt5/plugins" ("qt6" for Qt 6) as Debian lays Qt out, then
// "<prefix>/plugins" for a Qt installed under a prefix.
QStringList Plugins_Folder_Candidates(const QString& core_library);

// Where the same installation may keep its QML import folder, in order of
// preference: "<libdir>/qt5/qml" ("qt6" for Qt 6), then "<prefix>/qml".
QStringList Qml_Folder_Candidates(const QString& core_library);

// Where the same installation may keep its QML import scanner, in order of
// preference: the tool folders "bin" and "libexec" of "<libdir>/qt5",
// "<libdir>/../qt5" (Debian's "/usr/lib/qt5") and "<prefix>".
QStringList Qml_Scanner_Candidates(const QString& core_library);

// The installation whose Qt Core library is the real file `core_library`:
// its major version, and its prefix, the folder above the library folder
// ("lib", "lib64", or a multiarch folder below "lib" as Debian has it).
TQtBuild Qt_Build_Of(const QString& core_library);

// The plug-in folders to bundle beside the Qt library `library_name`: its
// plug-in families, and the Wayland client's integrations.
QStringList Plugin_Folders_For(const QString& library_name);

// Whether `file_name` in a plug-in folder can be a plug-in: a shared object.
bool Is_Plugin_File(const QString& file_name);

#endif
