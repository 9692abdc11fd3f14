#ifndef PREFLIGHT_H
#define PREFLIGHT_H

#include <QStringList>

#include "package/packageplan.h"

// Every problem that would make the build fail, or make a package not worth
// building, found before anything is built; one plain sentence each, all of
// them at once. `spec_state` holds the targets and libraries the spec
// installs (the detected bundle, or the checked libraries); with no program
// to collect from, their files must be in the shared-libraries folder
// already. `menu_files` are those the program installs of its own (below
// its prefix); with a desktop entry among them, the Desktop Menu Path's
// entry and icon are not needed.
QStringList Preflight_Problems(const TPackageRequest& request, const TPackagePlan& plan,
                               const TEditorState& spec_state, const QStringList& menu_files);

#endif
