#include "state/editorstate.h"

#include <QFileInfo>
#include <QHash>
#include <QPair>

#include "datafiles/changelogfile.h"
#include "datafiles/datafilenames.h"
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
        TLibrariesData read = TLibrariesFile::Read(folder);
        state->Targets = std::move(read.Targets);
        state->Libraries = std::move(read.Libraries);
        state->Detection_Choices = std::move(read.Choices);
    }
    catch (const TXmlFileException& error)
    {
        Note_Problem(problems, folder, Data_File_Names::Libraries, error);
        state->Targets = Factory_Targets();
        state->Libraries = Factory_Libraries();
    }
}

QString Joined(const QStringList& lines)
{
    return lines.join('\n');
}
}

TEditorState Factory_Editor_State()
{
    TEditorState state;
    state.Variables = TVariablesFile::Factory_Data();
    state.Expressions = TExpressionsFile::Factory_Values();
    state.Targets = Factory_Targets();
    state.Libraries = Factory_Libraries();
    state.Requires = Factory_Requirements();
    state.Changes = TChangeLogFile::Factory_Text();
    return state;
}

TEditorState Load_Editor_State(const QString& folder, std::vector<TDefaultsProblem>* problems)
{
    TEditorState state;
    using namespace Data_File_Names;
    state.Variables = Loaded_Or(TVariablesFile::Factory_Data(), folder, Variables, problems, [&] {
        TXmlFile xml;
        TVariablesFile::Open(&xml, folder);
        return TVariablesFile::Read_V1(xml);
    });
    state.Expressions =
        Loaded_Or(TExpressionsFile::Factory_Values(), folder, Expressions, problems, [&] {
            TXmlFile xml;
            TExpressionsFile::Open(&xml, folder);
            return TExpressionsFile::Read_V1(xml);
        });
    state.Options = Loaded_Or(TBuildOptions(), folder, Options, problems, [&] {
        TXmlFile xml;
        TOptionsFile::Open(&xml, folder);
        return TOptionsFile::Read_V1(xml);
    });
    Load_Libraries(&state, folder, problems);
    state.Requires = Loaded_Or(Factory_Requirements(), folder, Requires, problems, [&] {
        TXmlFile xml;
        TRequiresFile::Open(&xml, folder);
        return TRequiresFile::Read_V1(xml);
    });
    state.Changes = Loaded_Or(TChangeLogFile::Factory_Text(), folder, Changes, problems, [&] {
        TXmlFile xml;
        TChangeLogFile::Open(&xml, folder);
        return TChangeLogFile::Read_V1(xml);
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
    if (contents.Choices)
        state->Detection_Choices = *contents.Choices;
    if (contents.Change_Log)
        state->Changes = Joined(QStringList(TChangeLogFile::Header_Line) + *contents.Change_Log);
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

// Types are looked up by target and name, not searched, for projects with
// many libraries; the first library of a name gives its type.
TSpecData Project_Data(const TEditorState& state)
{
    QHash<QPair<QString, QString>, TTypes::TLibraryType> types;
    for (const TLibraryRecord& library : state.Libraries)
    {
        if (!types.contains({library.Target_Name, library.Name}))
            types.insert({library.Target_Name, library.Name}, library.Type);
    }
    TSpecData data;
    data.Variables = state.Variables.Variables;
    data.Qml = {state.Qml_Sources, Active_Qml_Targets(state.Targets, state.Libraries)};
    const QHash<QString, TTypes::TTargetKind> kinds = Target_Kinds(state.Targets);
    const QHash<QString, QStringList> libraries = Active_Library_Names(state.Libraries);
    for (const QString& target : Active_Target_Names(state.Targets, state.Libraries, false))
    {
        if (kinds.value(target) == TTypes::Target_Qml_Modules)
            continue;
        TSpecDataTarget active{target, {}};
        for (const QString& library : libraries.value(target))
            active.Libraries.push_back({types.value({target, library}), library});
        data.Active_Targets.push_back(active);
    }
    data.Description = state.Variables.Description;
    data.Change_Log = state.Changes;
    data.Choices = state.Detection_Choices;
    return data;
}

TSpecInput Spec_Input(const TEditorState& state, const QStringList& packages)
{
    const QStringList& paths = state.Expressions;
    TSpecInput input;
    input.Variables = state.Variables.Variables;
    input.Description = state.Variables.Description;
    input.Generator = state.Options.Generator;
    input.Qt = state.Options.Qt;
    input.Requires_Mode = state.Options.Requires;
    input.Paths = {paths.value(0), paths.value(1), paths.value(2), paths.value(3),
                   paths.value(4), paths.value(5), paths.value(6)};
    input.Targets = Active_Spec_Targets(state);
    input.Required_Packages = packages;
    input.Changes = state.Changes;
    input.Packager = state.Packager;
    return input;
}
