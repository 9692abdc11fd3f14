#ifndef EDITORSTATE_H
#define EDITORSTATE_H

#include <QString>
#include <QStringList>

#include <vector>

#include "libraries/libraryrecords.h"
#include "datafiles/optionsfile.h"
#include "scan/requireentry.h"
#include "datafiles/specdata.h"
#include "spec/spectext.h"
#include "datafiles/variabledata.h"

// What the editor's panels hold, without any window: read from the defaults
// files as the editor reads them at start, and changed by a project file as
// the editor's Open changes them.
struct TEditorState
{
    TVariableData Variables;
    QStringList Expressions;  // in the order of TExpressionsFile::Fields()
    TBuildOptions Options;
    std::vector<TTargetRecord> Targets;
    std::vector<TLibraryRecord> Libraries;
    TRequireEntries Requires;
    QString Changes;
    TDetectionChoices Detection_Choices;  // kept with the libraries
    // Kept in the user's own "settings.ini", not in the data folder, so
    // Load_Editor_State leaves it empty.
    QString Packager;
    QString Qml_Sources;  // the program's QML sources folder a project names
};

// A defaults file whose panel got its factory contents instead.
struct TDefaultsProblem
{
    QString File;    // the file's path
    QString Reason;  // why it was not used, as its reader tells it
    bool Absent;     // there is no such file (the normal first start)
};

// The panels as the editor starts them with no defaults file.
TEditorState Factory_Editor_State();

// Every defaults file in `data_folder` that is missing or refused gives its
// panel's factory contents, as in the editor; each such file is added to
// `problems` when given.
TEditorState Load_Editor_State(const QString& data_folder,
                               std::vector<TDefaultsProblem>* problems = nullptr);

// Applies a project file read with Read_Spec_Data.
void Apply_Spec_Data(TEditorState* state, const TSpecDataContents& contents);

// The active targets with libraries, each with its active libraries, in the
// order the editor shows them.
std::vector<TSpecTarget> Active_Spec_Targets(const TEditorState& state);

// What a project file saved from `state` holds: the variables, each active
// target of files in the order the editor shows them with its active
// libraries, the QML sources folder and the active targets of QML modules
// with their active modules, the description and the change log.
TSpecData Project_Data(const TEditorState& state);

// The spec writer's input; `packages` are the required packages to write.
TSpecInput Spec_Input(const TEditorState& state, const QStringList& packages);

#endif
