#include "state/editorstate.h"

#include <QFileInfo>

#include "datafiles/changelogfile.h"
#include "datafiles/expressionsfile.h"
#include "datafiles/librariesfile.h"
#include "libraries/libraryfactory.h"
#include "libraries/libraryselection.h"
#include "libraries/qmlselection.h"
#include "scan/requirelist.h"
#include "datafiles/requiresfile.h"
#include "datafiles/xmlfile.h"

namespace
{
// Tells `problems`, when given, why `file_name` in `folder` was not used.
void Note_Problem(std::vector<TDefaultsProblem>* problems, const QString& folder,
                  const QString& file_name, const TXmlFileException& error)
{
    if (problems == nullptr)
        return;
    const QString path = folder + "/" + file_name;
    const QFileInfo info(path);
    problems->push_back({path, error.Message, !info.exists() && !info.isSymLink()});
}

template <typename TValue, typename TRead>
TValue Loaded_Or(const TValue& fallback, const QString& folder, const QString& file_name,
                 std::vector<TDefaultsProblem>* problems, TRead read)
{
    try
    {
        return read();
    }
    catch (const TXmlFileException& error)
    {
        Note_Problem(problems, folder, file_name, error);
        return fallback;
    }
}

void Load_Libraries(TEditorState* state, const QString& folder,
                    std::vector<TDefaultsProblem>* problems)
{
    try
    {
        TXmlFile xml;
        Open_Libraries_File(&xml, folder);
        Read_Libraries_V1(xml, &state->Targets, &state->Libraries);
    }
    catch (const TXmlFileException& error)
    {
        Note_Problem(problems, folder, "libraries.xml", error);
        state->Targets = Factory_Targets();
        state->Libraries = Factory_Libraries();
    }
}

QString Joined(const QStringList& lines)
{
    return lines.join('\n');
}
}

TEditorState Load_Editor_State(const QString& folder, std::vector<TDefaultsProblem>* problems)
{
    TEditorState state;
    state.Variables = Loaded_Or(Factory_Variable_Data(), folder, Variables_File_Name, problems, [&] {
        return Read_Variable_Data(folder + "/" + Variables_File_Name);
    });
    state.Expressions =
        Loaded_Or(TExpressionsFile::Factory_Values(), folder, "expressions.xml", problems, [&] {
            TXmlFile xml;
            TExpressionsFile::Open(&xml, folder);
            return TExpressionsFile::Read_V1(xml);
        });
    state.Options = Loaded_Or(TBuildOptions(), folder, "options.xml", problems, [&] {
        TXmlFile xml;
        TOptionsFile::Open(&xml, folder);
        return TOptionsFile::Read_V1(xml);
    });
    Load_Libraries(&state, folder, problems);
    state.Requires = Loaded_Or(Factory_Requirements(), folder, Requires_File::File_Name, problems, [&] {
        TXmlFile xml;
        Requires_File::Open(&xml, folder);
        return Requires_File::Read_V1(xml);
    });
    state.Changes = Loaded_Or(Factory_Change_Log(), folder, "changes.xml", problems, [&] {
        TXmlFile xml;
        Open_Change_Log_File(&xml, folder);
        return Read_Change_Log_V1(xml);
    });
    return state;
}

void Apply_Spec_Data(TEditorState* state, const TSpecDataContents& contents)
{
    if (contents.Variables)
        state->Variables.Variables = *contents.Variables;
    if (contents.Active_Targets)
    {
        Unselect_Targets(&state->Targets);
        Select_Targets(&state->Targets, *contents.Active_Targets);
    }
    if (contents.Active_Libraries)
    {
        Unselect_Libraries(&state->Libraries);
        Select_Libraries(&state->Libraries, *contents.Active_Libraries);
    }
    if (contents.Qml)
    {
        state->Qml_Sources = contents.Qml->Sources;
        Select_Qml_Targets(&state->Targets, &state->Libraries, contents.Qml->Targets);
    }
    if (contents.Description)
        state->Variables.Description = Joined(*contents.Description);
    if (contents.Change_Log)
        state->Changes = Joined(QStringList(Change_Log_Header_Line) + *contents.Change_Log);
}

std::vector<TSpecTarget> Active_Spec_Targets(const TEditorState& state)
{
    const QHash<QString, QStringList> libraries = Active_Library_Names(state.Libraries);
    const QHash<QString, TTypes::TTargetKind> kinds = Target_Kinds(state.Targets);
    std::vector<TSpecTarget> targets;
    for (const QString& target : Active_Target_Names(state.Targets, state.Libraries, true))
        targets.push_back({target, libraries.value(target), kinds.value(target)});
    return targets;
}

TSpecInput Spec_Input(const TEditorState& state, const QStringList& packages)
{
    const QStringList& paths = state.Expressions;
    TSpecInput input;
    input.Variables = state.Variables.Variables;
    input.Description = state.Variables.Description;
    input.Generator = state.Options.Generator;
    input.Requires_Mode = state.Options.Requires;
    input.Paths = {paths.value(0), paths.value(1), paths.value(2), paths.value(3),
                   paths.value(4), paths.value(5), paths.value(6)};
    input.Targets = Active_Spec_Targets(state);
    input.Required_Packages = packages;
    input.Changes = state.Changes;
    return input;
}
