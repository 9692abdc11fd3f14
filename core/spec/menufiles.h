#ifndef MENUFILES_H
#define MENUFILES_H

#include <QString>
#include <QStringList>

#include "spec/spectext.h"

// The spec text for what a program installs of its own, as learned from its
// install rules: its menu files, and the install paths given to qmake.

// Whether the program installs a desktop entry of its own, so that the
// desktop entry and icon of the Desktop Menu Path are not needed.
bool Has_Own_Menu_Entry(const QStringList& menu_files);

// "ERR  ..." when a menu file or a qmake assignment could not be carried
// safely by the spec's shell commands; empty when all can.
QString Own_Files_Error(const TSpecInput& input);

// The words after qmake's PREFIX: " target.path=<prefix>/bin" for each
// assignment.
QString QMake_Assignment_Words(const QString& prefix, const QStringList& assignments);

// The %install lines that move the menu files from the program folder
// below `build_path` to the system's data folder, each desktop entry
// starting the command the package puts on PATH.
QString Menu_File_Installation(const TSpecPaths& paths, const QStringList& menu_files);

// The %files lines of the moved menu files.
QString Menu_File_List(const TSpecPaths& paths, const QStringList& menu_files);

#endif
