#ifndef UNMATCHEDCHOICES_H
#define UNMATCHEDCHOICES_H

#include <QString>
#include <QStringList>

#include <vector>

#include "libraries/detectionchoices.h"
#include "libraries/libraryrecords.h"
#include "state/editorstate.h"

// What becomes of the choices that named nothing in the Qt installation.
struct TUnmatchedChoices
{
    QStringList Refused;   // given for this run: wrong use, one message each
    QStringList Kept;      // stored "<target>/<file>" entries: what the user
                           // added to the lists by hand, kept as listed
    QStringList Left_Out;  // the other stored entries, one message each
};

// Sorts `unmatched`, the entries of a detection that named nothing, by
// whether they were `given` for this run or stored; `plugins_folder` is the
// folder they were looked for in.
TUnmatchedChoices Sort_Unmatched_Choices(const QStringList& unmatched,
                                         const TDetectionChoices& given,
                                         const QString& plugins_folder);

// Adds each kept "<target>/<file>" entry to `state` checked, with the type
// the `stored` lists give it (else a library in "lib", a plug-in elsewhere),
// and its target checked.
void Keep_Listed_Entries(const QStringList& entries, const std::vector<TLibraryRecord>& stored,
                         TEditorState* state);

#endif
