#include "clicommands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>
#include <optional>

#include "bundle/bundlecollection.h"
#include "bundle/bundledetection.h"
#include "datafiles/datafilenames.h"
#include "datafiles/datafolder.h"
#include "datafiles/settingsfile.h"
#include "state/createrequirements.h"
#include "state/datafolderinit.h"
#include "state/editorstate.h"
#include "state/stateoverrides.h"
#include "state/unmatchedchoices.h"
#include "libraries/libraryselection.h"
#include "package/packagerun.h"
#include "packagecommand.h"
#include "packagesetup.h"
#include "progressline.h"
#include "scan/requirelist.h"
#include "scan/requirementscan.h"
#include "datafiles/savefile.h"
#include "scan/scanreport.h"
#include "spec/expressionsettings.h"
#include "spec/packager.h"
#include "spec/spectext.h"
#include "spec/variablesettings.h"

namespace
{
QString Data_Folder(const TCliRequest& request)
{
    if (!request.Data_Folder.isEmpty())
        return request.Data_Folder;
    return Default_Data_Folder(QDir::homePath());
}

// As the editor: the folder stored in "settings.ini".
QString Shared_Libs_Path(const TCliRequest& request, const QString& data_folder)
{
    if (!request.Shared_Libs.isEmpty())
        return request.Shared_Libs;
    const QSettings settings(Data_File_Names::Path(data_folder, Data_File_Names::Settings),
                             QSettings::IniFormat);
    return Stored_Shared_Libs_Path(settings);
}

// The stored state as the editor would start with it. False when a file of
// the data folder exists but cannot be read: the tool never builds from
// factory contents in its place. An absent file gives its factory contents,
// as in the editor; that is told when the data folder was named.
bool Load_Stored_State(const TCliRequest& request, TEditorState* state, QTextStream& err)
{
    std::vector<TDefaultsProblem> problems;
    *state = Load_Editor_State(Data_Folder(request), &problems);
    bool readable = true;
    for (const TDefaultsProblem& problem : problems)
    {
        if (!problem.Absent)
        {
            err << "kestrelvantory-cli: cannot read \"" << problem.File << "\": " << problem.Reason
                << "\n";
            readable = false;
        }
        else if (!request.Data_Folder.isEmpty())
        {
            err << "kestrelvantory-cli: \"" << problem.File
                << "\" does not exist; its factory contents are used.\n";
        }
    }
    return readable;
}

// The editor keeps its own settings, the packager among them, in
// ~/.kestrelvantory whichever data folder holds its panels.
QString Editor_Settings_File()
{
    return Data_File_Names::Path(Default_Data_Folder(QDir::homePath()), Data_File_Names::Settings);
}

// A settings file that is read must be readable if it exists.
bool Settings_File_Readable(const QString& path, QTextStream& err)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    QFile file(path);
    QString reason;
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        reason = info.isFile() ? file.errorString() : QString("it is not a plain file");
    else if (QSettings(path, QSettings::IniFormat).status() != QSettings::NoError)
        reason = "it is not a settings file";
    if (reason.isEmpty())
        return true;
    err << "kestrelvantory-cli: cannot read \"" << path << "\": " << reason << "\n";
    return false;
}

// The data folder's "settings.ini" is read only for the shared-libraries
// folder, and only when none is given.
bool Settings_Readable(const TCliRequest& request, QTextStream& err)
{
    return !request.Shared_Libs.isEmpty() ||
           Settings_File_Readable(
               Data_File_Names::Path(Data_Folder(request), Data_File_Names::Settings), err);
}

// As the editor shows it in its Options tab; false when the editor's
// settings file cannot be read.
bool Packager(QString* packager, QTextStream& err)
{
    if (!Settings_File_Readable(Editor_Settings_File(), err))
        return false;
    *packager = Stored_Packager(QSettings(Editor_Settings_File(), QSettings::IniFormat));
    return true;
}

// The stored state with the project file applied; false when the data
// folder or the project file cannot be read.
bool Load_State(const TCliRequest& request, TEditorState* state, QTextStream& err)
{
    if (!Load_Stored_State(request, state, err) || !Settings_Readable(request, err))
        return false;
    if (request.Project.isEmpty())
        return true;
    const TSpecDataReading reading = Read_Spec_Data_File(request.Project);
    if (!reading.Ok)
    {
        err << "kestrelvantory-cli: cannot read the project \"" << request.Project
            << "\": " << reading.Error << "\n";
        return false;
    }
    Apply_Spec_Data(state, reading.Contents);
    return true;
}

// A fresh scan of the active targets in `shared_libs_path`, into `scan`;
// what went wrong is told on `err`, with the progress when it is a terminal.
void Scan(const QString& shared_libs_path, const TEditorState& state, TRequirementScan* scan,
          QTextStream& err)
{
    TScanProgressLine progress(err);
    scan->Set_Progress([&progress](int done, int total) { progress.Show(done, total); });
    scan->Scan(shared_libs_path, Active_Target_Names(state.Targets, state.Libraries, true));
    progress.Finish();
    const QString problems = Scan_Problems(scan->Report());
    if (!problems.isEmpty())
        err << "kestrelvantory-cli: the requirements scan was incomplete: " << problems << ".\n";
    const QString notes = Scan_Notes(scan->Report());
    if (!notes.isEmpty())
        err << "kestrelvantory-cli: " << notes << ".\n";
}

// A scan whose programs could not run, or whose database knows none of the
// libraries, gives no usable answer.
bool Scan_Answered(const TScanReport& report)
{
    return report.Not_Started.isEmpty() && report.Timed_Out.isEmpty() &&
           !Database_Knows_None(report);
}

// As the editor's Create: a rescan replaces the stored list when the policy
// asks for one and a shared-libraries folder is set.
QStringList Packages_To_Write(const TCliRequest& request, TEditorState* state, QTextStream& err)
{
    const QString shared_libs_path = Shared_Libs_Path(request, Data_Folder(request));
    if (Create_Rescans_Requirements(state->Options.Requires) && !shared_libs_path.isEmpty())
    {
        TRequirementScan scan(TRequirementScan::Default_Wait_Ms);
        Scan(shared_libs_path, *state, &scan, err);
        state->Requires = scan.Entries();
    }
    return Create_Required_Packages(state->Options.Requires, state->Requires);
}

TCliExit Fail(QTextStream& err, const QString& message)
{
    err << "kestrelvantory-cli: " << message << "\n";
    return Cli_Failure;
}

// An entry of the command line that names nothing in the Qt installation is
// wrong use; stored entries are kept or told and left out.
TCliExit Refuse_Unmatched(const TCliRequest& request, const TBundleDetection& detection,
                          QStringList* kept, QTextStream& err)
{
    const TUnmatchedChoices sorted =
        Sort_Unmatched_Choices(detection.Unmatched, request.Choices, detection.Plugins_Folder);
    for (const QString& message : sorted.Refused + sorted.Left_Out)
        err << "kestrelvantory-cli: " << message << "\n";
    *kept = sorted.Kept;
    return sorted.Refused.isEmpty() ? Cli_Success : Cli_Usage_Error;
}

// The detection for the request's program with the QML modules of
// `qml_sources` when given and with `choices`, and the entries of `choices`
// kept as they are; what went wrong is told.
TCliExit Detect(const TCliRequest& request, const QString& qml_sources,
                const TDetectionChoices& choices, TBundleDetection* detection,
                QStringList* kept, QTextStream& err)
{
    *detection = Detect_Bundle(request.Program, request.Plugins_Folder, Loaded_Libraries,
                               TBundleProgress(), qml_sources, choices);
    if (!detection->Ok)
        return Fail(err, detection->Error);
    return Refuse_Unmatched(request, *detection, kept, err);
}

// The QML sources folder given, else the stored one.
QString Qml_Sources(const TCliRequest& request, const TEditorState& state)
{
    return request.Qml_Sources.isEmpty() ? state.Qml_Sources : request.Qml_Sources;
}

// --qt-version and --qt-prefix override what is stored or detected.
void Apply_Qt_Options(const TCliRequest& request, TQtBuild* qt)
{
    if (!request.Qt_Version.isEmpty())
        qt->Major = request.Qt_Version.toInt();
    if (!request.Qt_Prefix.isEmpty())
        qt->Prefix = request.Qt_Prefix;
}

// With --program the detected bundle, with the user's stored and given
// choices, takes the place of the stored active targets and libraries, and
// its Qt that of the stored one.
TCliExit Load_Create_State(const TCliRequest& request, TEditorState* state, QTextStream& err)
{
    if (!Load_State(request, state, err))
        return Cli_Failure;
    if (!request.Program.isEmpty())
    {
        TBundleDetection detection;
        QStringList kept;
        const TCliExit detected =
            Detect(request, Qml_Sources(request, *state),
                   Merged_Choices(state->Detection_Choices, request.Choices), &detection, &kept,
                   err);
        if (detected != Cli_Success)
            return detected;
        const std::vector<TLibraryRecord> stored = state->Libraries;
        state->Targets = Bundle_Targets(detection.Bundle);
        state->Libraries = Bundle_Libraries(detection.Bundle);
        Keep_Listed_Entries(kept, stored, state);
        state->Options.Qt = detection.Qt;
    }
    Apply_Qt_Options(request, &state->Options.Qt);
    return Cli_Success;
}

// The whole text of a file given for a panel, without its last line feeds.
bool Read_Panel_File(const QString& path, std::optional<QString>* text, QTextStream& err)
{
    if (path.isEmpty())
        return true;
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
    {
        err << "kestrelvantory-cli: cannot read \"" << path << "\": "
            << (QFileInfo(path).isFile() ? file.errorString() : QString("it is not a plain file"))
            << "\n";
        return false;
    }
    QString contents = QString::fromUtf8(file.readAll());
    while (contents.endsWith('\n'))
        contents.chop(1);
    *text = contents;
    return true;
}

// This run's panel settings, on top of the stored panels and the project.
bool Apply_Panel_Options(const TCliRequest& request, TEditorState* state, QTextStream& err)
{
    TStateOverrides overrides;
    overrides.Generator = Generator_From_Word(request.Generator);
    overrides.Requires = Requires_From_Word(request.Requirements);
    if (!Read_Panel_File(request.Description_File, &overrides.Description, err) ||
        !Read_Panel_File(request.Changelog_File, &overrides.Changes, err))
        return false;
    Apply_State_Overrides(state, overrides);
    return true;
}

// The variables given with --set and the path expressions given with
// --expression; false, told, when one names nothing.
bool Apply_Named_Settings(const TCliRequest& request, TEditorState* state, QTextStream& err)
{
    QString error;
    if (!Apply_Variable_Settings(&state->Variables.Variables, request.Settings, &error))
        err << "kestrelvantory-cli: --set: " << error << "\n";
    else if (!Apply_Expression_Settings(&state->Expressions, request.Expressions, &error))
        err << "kestrelvantory-cli: --expression: " << error << "\n";
    return error.isEmpty();
}

// The named settings, and the packager; the exit status when they cannot be
// had.
std::optional<TCliExit> Apply_Settings(const TCliRequest& request, TEditorState* state,
                                       QTextStream& err)
{
    if (!Apply_Named_Settings(request, state, err))
        return Cli_Usage_Error;
    if (!Packager(&state->Packager, err))
        return Cli_Failure;
    return std::nullopt;
}

TCliExit Create(const TCliRequest& request, QTextStream& err)
{
    TEditorState state;
    const TCliExit loaded = Load_Create_State(request, &state, err);
    if (loaded != Cli_Success)
        return loaded;
    if (!Apply_Panel_Options(request, &state, err))
        return Cli_Failure;
    if (const std::optional<TCliExit> refused = Apply_Settings(request, &state, err))
        return *refused;
    QString error;
    if (!Can_Save_Text_File(request.Output, &error))
        return Fail(err, error);

    const QStringList packages = Packages_To_Write(request, &state, err);
    const TSpecText spec = Compose_Spec_Text(Spec_Input(state, packages));
    if (!spec.Is_Complete())
        return Fail(err, spec.Error);
    if (!Save_Text_File(request.Output, spec.Text, &error))
        return Fail(err, error);
    return Cli_Success;
}

// The factory panels with everything given stored in them.
TCliExit Init(const TCliRequest& request, QTextStream& err)
{
    TEditorState state = Factory_Editor_State();
    if (!Apply_Panel_Options(request, &state, err))
        return Cli_Failure;
    if (!Apply_Named_Settings(request, &state, err))
        return Cli_Usage_Error;
    state.Detection_Choices = Merged_Choices(TDetectionChoices(), request.Choices);
    Apply_Qt_Options(request, &state.Options.Qt);
    QString error;
    if (!Init_Data_Folder(request.Data_Folder, state, Given_Package_Settings(request), &error))
        return Fail(err, error);
    return Cli_Success;
}

// The paths not given are the stored ones; the QML sources a project names
// count before the stored ones.
TPackageRequest Package_Request(const TCliRequest& request, const TPackageSettings& setup,
                                const TEditorState& state)
{
    TPackageRequest package;
    package.State = state;
    package.Program = setup.Program;
    package.Plugins_Folder = request.Plugins_Folder;
    package.Qml_Sources = request.Qml_Sources.isEmpty() && !state.Qml_Sources.isEmpty()
                              ? QString()
                              : setup.Qml_Sources;
    package.Choices = request.Choices;
    package.Source = setup.Source;
    package.Output_Dir = setup.Output_Dir;
    package.Qt_Major = request.Qt_Version.toInt();
    package.Qt_Prefix = request.Qt_Prefix;
    return package;
}

TCliExit Package(const TCliRequest& request, QTextStream& out, QTextStream& err)
{
    TEditorState state;
    TPackageSettings stored;
    if (!Load_State(request, &state, err) || !Apply_Panel_Options(request, &state, err) ||
        !Read_Package_Settings(Data_Folder(request), &stored, err))
        return Cli_Failure;
    if (const std::optional<TCliExit> refused = Apply_Settings(request, &state, err))
        return *refused;
    const TPackageSettings setup = Package_Setup(request, stored);
    const bool detection_options = !(request.Plugins_Folder + request.Qml_Sources).isEmpty() ||
                                   !request.Choices.Is_Empty();
    if (setup.Program.isEmpty() && detection_options)
    {
        Fail(err, "--plugins-folder, --qml-sources and the plug-in choices need --program; none "
                  "is stored");
        return Cli_Usage_Error;
    }
    TPackageRun run(Package_Request(request, setup, state));
    const auto remember = [&] {
        if (!(setup == stored))
            Remember_Package_Settings(Data_Folder(request), setup, err);
    };
    return Run_Package_Command(&run, out, err, remember) ? Cli_Success : Cli_Failure;
}

TCliExit Requires(const TCliRequest& request, QTextStream& out, QTextStream& err)
{
    TEditorState state;
    if (!Load_State(request, &state, err))
        return Cli_Failure;
    const QString shared_libs_path = Shared_Libs_Path(request, Data_Folder(request));
    if (shared_libs_path.isEmpty())
        return Fail(err, "no shared-libraries folder is set; give one with --shared-libs");
    TRequirementScan scan(TRequirementScan::Default_Wait_Ms);
    Scan(shared_libs_path, state, &scan, err);
    for (const QString& package : Package_Names(scan.Entries()))
        out << package << "\n";
    return Scan_Answered(scan.Report()) ? Cli_Success : Cli_Failure;
}

// The stored choices count as for create --program, so that what is collected
// is what the spec installs.
TCliExit Detect(const TCliRequest& request, QTextStream& out, QTextStream& err)
{
    TEditorState state;
    if (!Load_State(request, &state, err))
        return Cli_Failure;
    TBundleDetection detection;
    QStringList kept;
    const TCliExit detected =
        Detect(request, Qml_Sources(request, state),
               Merged_Choices(state.Detection_Choices, request.Choices), &detection, &kept, err);
    if (detected != Cli_Success)
        return detected;
    const TBundle& bundle = detection.Bundle;
    for (const QString& line : Bundle_Lines(bundle))
        out << line << "\n";
    if (request.Collect_Into.isEmpty())
        return Cli_Success;
    out.flush();
    const TBundleCollection collection = Collect_Bundle(bundle, request.Collect_Into);
    err << QString("kestrelvantory-cli: into \"%1\": %2 copied, %3 already up to date.\n")
               .arg(request.Collect_Into)
               .arg(collection.Copied.size())
               .arg(collection.Up_To_Date.size());
    if (!collection.Ok)
        return Fail(err, collection.Error);
    return Cli_Success;
}
}

TCliExit Run_Cli_Request(const TCliRequest& request, QTextStream& out, QTextStream& err)
{
    switch (request.Command)
    {
    case TCliRequest::Show_Help:
        out << Cli_Usage();
        return Cli_Success;
    case TCliRequest::Show_Version:
        out << "kestrelvantory-cli " << QCoreApplication::applicationVersion() << "\n";
        return Cli_Success;
    case TCliRequest::Create:
        return Create(request, err);
    case TCliRequest::Requires:
        return Requires(request, out, err);
    case TCliRequest::Detect:
        return Detect(request, out, err);
    case TCliRequest::Init:
        return Init(request, err);
    case TCliRequest::Package:
        return Package(request, out, err);
    }
    return Cli_Usage_Error;
}
