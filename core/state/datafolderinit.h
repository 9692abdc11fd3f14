#ifndef DATAFOLDERINIT_H
#define DATAFOLDERINIT_H

#include <QString>

#include "datafiles/packagesettingsfile.h"
#include "state/editorstate.h"

// Starts a data folder without the editor: writes every panel's file into
// `folder` as `state` holds it (Factory_Editor_State() for what the editor
// starts with), and the packaging setup `package`, making the folder if
// needed. A folder that already holds any file of a data folder
// is refused, and nothing is written. False with the reason in `error`
// when refused or when a file cannot be written.
bool Init_Data_Folder(const QString& folder, const TEditorState& state,
                      const TPackageSettings& package, QString* error);

#endif
