#ifndef MENUCHECKS_H
#define MENUCHECKS_H

#include <QString>
#include <QStringList>

#include "package/packagechecks.h"

// The checks of what a built package, unpacked below `root`, puts into the
// system menu, outside its program folder: each desktop entry starts the
// command the package puts on PATH, names an icon the package installs and
// passes desktop-file-validate; each AppStream metainfo file passes
// "appstreamcli validate --no-net". The validators are run where installed.
// What they refuse in the program's own files goes into `notes`, with what
// to change; everything else that fails into `failures`.
void Check_Menu_Files(const QString& root, const TPackageExpectation& expected,
                      QStringList* failures, QStringList* notes);

// What to change in a desktop entry that desktop-file-validate refused with
// `said`.
QString Entry_Advice(const QString& said);

#endif
