#ifndef PLUGINFAMILIES_H
#define PLUGINFAMILIES_H

#include <QString>
#include <QStringList>

// The plug-ins Qt loads at run time, by the module that loads them: the
// families (plug-in folders) a program takes along with each Qt library,
// which of a family's files go along without being asked for, and the
// libraries that are opened at run time rather than linked. Library and
// plug-in names are matched by their beginning, with or without a version.

// The plug-in folders that go along with the Qt library `library_name`, such
// as "imageformats" for "libQt5Gui.so.5.15.8". Empty for a library that loads
// no plug-ins.
QStringList Plugin_Families(const QString& library_name);

// Whether the plug-in `file_name` of the family `family` goes along when the
// family is taken for its module: of "platforms" only xcb and Wayland, of
// "sqldrivers" only SQLite; every plug-in of the other families.
bool Is_Default_Plugin(const QString& family, const QString& file_name);

// The libraries that the Qt library or plug-in `file_name` opens at run
// time, by their names without a version, such as "libssl.so".
QStringList Run_Time_Libraries(const QString& file_name);

#endif
