#ifndef PLACEHOLDERS_H
#define PLACEHOLDERS_H

#include <QStringList>

#include "state/editorstate.h"

// The factory texts that would ship in the package unchanged: the example
// change-log entry, summary, description and URL. Worth a warning, not a
// refusal: the package builds all the same. One sentence each.
QStringList Placeholder_Warnings(const TEditorState& state);

#endif
