#include "package/packagerun.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "bundle/bundlecollection.h"
#include "bundle/bundledetection.h"
#include "datafiles/expressionsfile.h"
#include "datafiles/savefile.h"
#include "libraries/libraryselection.h"
#include "package/buildfailure.h"
#include "package/buildlock.h"
#include "package/compilercache.h"
#include "package/distributionreleases.h"
#include "package/fingerprint.h"
#include "package/installprobe.h"
#include "package/lintreport.h"
#include "package/packagechecks.h"
#include "package/packagestamp.h"
#include "package/placeholders.h"
#include "package/preflight.h"
#include "package/repository.h"
#include "package/signaturecheck.h"
#include "package/signingkey.h"
#include "package/sourcefiles.h"
#include "package/sourcetarball.h"
#include "process/programrun.h"
#include "scan/requirementscan.h"
#include "spec/menufiles.h"
#include "spec/qtbuildlines.h"
#include "state/createrequirements.h"
#include "state/unmatchedchoices.h"

TPackageRun::TPackageRun(const TPackageRequest& request)
    : d_request(request), d_spec_state(request.State)
{
}

QStringList TPackageRun::Preflight()
{
    d_plan = Plan_Package(d_request.State);
    QStringList problems;
    if (!d_request.Program.isEmpty())
    {
        const QString qml_sources = d_request.Qml_Sources.isEmpty() ? d_request.State.Qml_Sources
                                                                    : d_request.Qml_Sources;
        const auto lister = [this](const QString& file) {
            return Loaded_Libraries_Until(file, d_cancel);
        };
        const TBundleDetection detection = Detect_Bundle(
            d_request.Program, d_request.Plugins_Folder, lister, TBundleProgress(), qml_sources,
            Merged_Choices(d_request.State.Detection_Choices, d_request.Choices), &d_cancel);
        if (!detection.Ok)
            problems.append(detection.Error);
        const TUnmatchedChoices unmatched = Sort_Unmatched_Choices(
            detection.Unmatched, d_request.Choices, detection.Plugins_Folder);
        problems += unmatched.Refused;
        d_notes = unmatched.Left_Out;
        d_bundle = detection.Bundle;
        d_spec_state.Targets = Bundle_Targets(detection.Bundle);
        d_spec_state.Libraries = Bundle_Libraries(detection.Bundle);
        Keep_Listed_Entries(unmatched.Kept, d_request.State.Libraries, &d_spec_state);
        d_spec_state.Options.Qt = detection.Qt;
    }
    if (d_request.Qt_Major != 0)
        d_spec_state.Options.Qt.Major = d_request.Qt_Major;
    if (!d_request.Qt_Prefix.isEmpty())
        d_spec_state.Options.Qt.Prefix = d_request.Qt_Prefix;
    if (!d_request.Program.isEmpty())
        problems += Learn_Program_Layout();
    problems += Preflight_Problems(d_request, d_plan, d_spec_state, d_layout.Menu_Files);
    d_warnings = Placeholder_Warnings(d_request.State);
    d_preflight_passed = problems.isEmpty();
    return problems;
}

// Before anything is compiled, the program's own install rules tell where
// it goes and what it installs besides.
QStringList TPackageRun::Learn_Program_Layout()
{
    const bool cmake = d_spec_state.Options.Generator == TTypes::Generator_CMake;
    const TInstallProbe probe = Probe_Install_Layout(
        {d_request.Program, d_request.Source, cmake, QMake_Program(d_spec_state.Options.Qt)});
    d_layout = Learn_Layout(probe, QFileInfo(d_request.Program).fileName(), d_plan.Name);
    d_qmake_assignments = probe.QMake_Assignments;
    d_notes += d_layout.Notes;
    if (!d_qmake_assignments.isEmpty())
        d_notes.append("qmake is given " + d_qmake_assignments.join(", ") +
                       " below the prefix, which the project leaves to be set");
    if (d_layout.Learned)
        Follow_Bin_Folder();
    if (Has_Own_Menu_Entry(d_layout.Menu_Files) && QFileInfo(d_plan.Desktop_Entry).isFile())
        d_notes.append("the program installs a desktop entry of its own, so \"" +
                       d_plan.Desktop_Entry + "\" is not used");
    return d_layout.Problems;
}

// The bin path follows the program's install rules, unless it was set by
// hand.
void TPackageRun::Follow_Bin_Folder()
{
    const bool cmake = d_spec_state.Options.Generator == TTypes::Generator_CMake;
    const int index = cmake ? 1 : 2;
    const TExpressionField& field = TExpressionsFile::Fields()[size_t(index)];
    QStringList& expressions = d_spec_state.Expressions;
    if (expressions.value(index) != field.Factory_Value)
    {
        d_notes.append(QString("the %1 \"%2\" was set by hand and is kept")
                           .arg(field.Label.chopped(1), expressions.value(index)));
        return;
    }
    const QString build_path = expressions.value(0);
    expressions[index] =
        d_layout.Bin_Below.isEmpty() ? build_path : build_path + "/" + d_layout.Bin_Below;
}

void TPackageRun::Step(int step, const QString& what)
{
    d_step_sink(step, Steps, what);
}

// rpmbuild's own folders below %{_topdir}.
bool TPackageRun::Make_Top_Folders(TPackageReport* report)
{
    for (const char* folder : {"SOURCES", "SPECS", "BUILD", "RPMS", "SRPMS"})
    {
        if (!QDir().mkpath(d_plan.Top + "/" + folder))
        {
            report->Failures.append(
                QString("cannot make the folder \"%1/%2\"").arg(d_plan.Top, folder));
            return false;
        }
    }
    return true;
}

bool TPackageRun::Make_Tarball(TPackageReport* report)
{
    if (d_request.Source.isEmpty())
        return true;
    Step(1, "Making " + d_plan.Tarball);
    const TSourceFiles sources = Source_Files(d_request.Source);
    report->Notes.append(
        QString("the source tarball holds %1 files; %2 left out (%3)")
            .arg(sources.Files.size())
            .arg(sources.Left_Out)
            .arg(sources.From_Git ? "not tracked by git, or ignored" : "build output"));
    TFingerprint fingerprint;
    fingerprint.Add_Text("top folder", d_plan.Tarball_Folder());
    const QString folder = QFileInfo(d_request.Source).absoluteFilePath();
    fingerprint.Add_Files(folder, sources.Files);
    d_sources = fingerprint.Result();
    TPackageStamp stamp(d_plan.Stamp());
    if (stamp.Tarball_Is_Current(d_plan.Tarball, d_sources))
    {
        report->Notes.append("the source tarball is current: the sources did not change");
        return true;
    }
    QString error;
    if (Make_Source_Tarball(folder, sources.Files, d_plan.Tarball, d_plan.Tarball_Folder(),
                            d_cancel, &error))
    {
        stamp.Record_Tarball(d_plan.Tarball, d_sources);
        return true;
    }
    report->Failures.append(error);
    return false;
}

// The detected bundle goes into the shared-libraries folder; the
// requirements are scanned afresh there when the panels ask for it.
bool TPackageRun::Collect(TPackageReport* report)
{
    Step(2, "Collecting the bundle into " + d_plan.Shared_Libs);
    if (!d_request.Program.isEmpty())
    {
        const TBundleCollection collection = Collect_Bundle(d_bundle, d_plan.Shared_Libs);
        if (!collection.Ok)
        {
            report->Failures.append(collection.Error);
            return false;
        }
        report->Notes.append(QString("%1 bundled files copied, %2 already up to date")
                                 .arg(collection.Copied.size())
                                 .arg(collection.Up_To_Date.size()));
    }
    if (Create_Rescans_Requirements(d_spec_state.Options.Requires))
    {
        TRequirementScan scan(TRequirementScan::Default_Wait_Ms);
        scan.Scan(d_plan.Shared_Libs,
                  Active_Target_Names(d_spec_state.Targets, d_spec_state.Libraries, true));
        d_spec_state.Requires = scan.Entries();
    }
    return true;
}

bool TPackageRun::Write_Spec(TPackageReport* report)
{
    Step(3, "Writing " + d_plan.Spec());
    const QStringList packages =
        Create_Required_Packages(d_spec_state.Options.Requires, d_spec_state.Requires);
    TSpecInput input = Spec_Input(d_spec_state, packages);
    input.QMake_Assignments = d_qmake_assignments;
    input.Menu_Files = d_layout.Menu_Files;
    const TSpecText spec = Compose_Spec_Text(input);
    QString error = spec.Error;
    d_spec_text = spec.Text;
    if (spec.Is_Complete() && QDir().mkpath(QFileInfo(d_plan.Spec()).path()) &&
        Save_Text_File(d_plan.Spec(), spec.Text, &error))
        return true;
    report->Failures.append(error.isEmpty() ? "cannot make the folder of " + d_plan.Spec()
                                            : error);
    return false;
}

// Everything that shapes the package: the spec, the sources, the collected
// bundle and desktop files, where it goes and the user's rpm settings.
QByteArray TPackageRun::Inputs() const
{
    TFingerprint inputs;
    inputs.Add_Text("spec", d_spec_text);
    if (d_sources.isEmpty())
        inputs.Add_File(QString(), d_plan.Tarball);
    else
        inputs.Add_Text("sources", d_sources);
    inputs.Add_Folder(d_plan.Shared_Libs);
    inputs.Add_Folder(QFileInfo(d_plan.Desktop_Entry).path());
    inputs.Add_Text("output", d_request.Output_Dir);
    inputs.Add_Text("signing key", d_request.Sign_Key);
    inputs.Add_File(QDir::homePath(), ".rpmmacros");
    return inputs.Result();
}

// The package made from the same inputs last time, when it is still there
// as made.
bool TPackageRun::Reuse_Current(const QByteArray& inputs, TPackageReport* report)
{
    const QString current = TPackageStamp(d_plan.Stamp()).Current_Package(inputs);
    if (current.isEmpty())
        return false;
    report->Notes.append("the package is current: nothing that shapes it (spec, sources, "
                         "bundle) changed since it was built, so rpmbuild did not run");
    report->Rpm = current;
    return true;
}

// rpmbuild writes the script of each build stage into its temporary folder
// and leaves it there when it is stopped; that folder is one of the run's
// own, removed at the end whatever happened.
void TPackageRun::Build(TPackageReport* report)
{
    Step(4, "Running rpmbuild -bb " + d_plan.Spec());
    d_inputs = Inputs();
    if (Reuse_Current(d_inputs, report))
        return;
    const QTemporaryDir scripts;
    if (!scripts.isValid())
    {
        report->Failures.append("cannot make a folder for rpmbuild's scripts: " +
                                scripts.errorString());
        return;
    }
    QStringList arguments = {"-bb", d_plan.Spec(), "--define", "_tmppath " + scripts.path()};
    if (!d_request.Output_Dir.isEmpty())
        arguments += {"--define", "_rpmdir " + QDir(d_request.Output_Dir).absolutePath()};
    TLoggedBuild build(arguments, d_plan.Build_Log(), d_line_sink,
                       Compiler_Cache_Environment(QProcessEnvironment::systemEnvironment()));
    const TBuildOutcome outcome = build.Run(d_cancel);
    if (outcome.End != TBuildOutcome::Not_Started)
        report->Log = d_plan.Build_Log();
    report->Cancelled = outcome.End == TBuildOutcome::Cancelled;
    if (report->Cancelled)
        return;
    if (outcome.End == TBuildOutcome::Failed)
        Explain_Failure(outcome, report);
    else if (outcome.End != TBuildOutcome::Built)
        report->Failures.append(outcome.Error);
    else if (outcome.Written.isEmpty())
        report->Failures.append("rpmbuild wrote no package");
    else
    {
        report->Rpm = outcome.Written.last();
        d_built = true;
    }
}

// The step that failed, the log's first error lines and, for the causes
// known, what to change.
void TPackageRun::Explain_Failure(const TBuildOutcome& outcome, TPackageReport* report)
{
    QFile log(d_plan.Build_Log());
    const TBuildFailure failure = Explain_Build_Failure(
        log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString());
    QString error = outcome.Error;
    if (!failure.Step.isEmpty())
        error.replace("rpmbuild failed", "rpmbuild failed in " + failure.Step);
    report->Failures.append(error);
    report->Explanation = Build_Failure_Lines(failure);
}

// The folder the spec's run paths name, as the spec writer chooses it.
QString TPackageRun::Run_Path() const
{
    return d_plan.Program_Folder + "/" + Library_Directory(Active_Spec_Targets(d_spec_state));
}

void TPackageRun::Sign(TPackageReport* report)
{
    if (d_request.Sign_Key.isEmpty())
        return;
    Step(5, "Signing " + report->Rpm + " with the key " + d_request.Sign_Key);
    QString error;
    if (!TSigningKey(d_request.Sign_Key).Sign_Package(report->Rpm, &error))
        report->Failures.append(error);
}

void TPackageRun::Check(TPackageReport* report)
{
    Step(6, "Checking " + report->Rpm);
    QStringList own_entries;
    for (const QString& file : d_layout.Menu_Files)
        if (file.startsWith("share/applications/"))
            own_entries.append(QFileInfo(file).fileName());
    report->Failures += Package_Check_Failures(
        report->Rpm, {d_plan.Program_Folder, Run_Path(), d_plan.Name, own_entries},
        &report->Notes);
    const TProgramRun requires =
        Run_Program("rpm", {"-qp", "--requires", report->Rpm}, TRequirementScan::Default_Wait_Ms);
    if (requires.Outcome == TProgramRun::Succeeded)
        report->Installs = Where_It_Installs(requires.Output.split('\n', Qt::SkipEmptyParts));
    else
        report->Notes.append("the package's requirements could not be read: where it installs "
                             "is not known");
    report->Lint = Lint_Package(report->Rpm, &report->Notes, &d_cancel);
    if (d_request.Sign_Key.isEmpty())
        return;
    QString error;
    const QByteArray key = TSigningKey(d_request.Sign_Key).Public_Key(&error);
    error = key.isEmpty() ? error : Signature_Failure(report->Rpm, key);
    if (!error.isEmpty())
        report->Failures.append(error);
}

// Only a package that passed every check goes into the repository.
void TPackageRun::Publish(TPackageReport* report)
{
    if (d_request.Repository.isEmpty() || !report->Failures.isEmpty())
        return;
    Step(7, "Putting the package into the repository " + d_request.Repository);
    const TSigningKey key(d_request.Sign_Key);
    const TPublished published = Publish_Package(
        report->Rpm, d_request.Repository, d_plan.Name, key.Id().isEmpty() ? nullptr : &key);
    if (!published.Error.isEmpty())
    {
        report->Failures.append(published.Error);
        return;
    }
    report->Rpm = published.Rpm;
    report->Repo_File = published.Repo_File;
    report->Repo_Text = published.Repo_Text;
    report->Notes += published.Notes;
}

TPackageReport TPackageRun::Run()
{
    TPackageReport report;
    report.Notes = d_notes;
    if (!d_preflight_passed)
    {
        report.Failures.append("the preflight found problems; nothing was built");
        return report;
    }
    TBuildLock lock(d_plan);
    QString refusal;
    if (!lock.Take(&refusal))
    {
        report.Failures.append(refusal);
        return report;
    }
    const bool prepared = !d_cancel && Make_Top_Folders(&report) && Make_Tarball(&report) &&
                          !d_cancel && Collect(&report) && Write_Spec(&report);
    if (prepared && !d_cancel)
        Build(&report);
    if (!report.Rpm.isEmpty())
    {
        Sign(&report);
        // The package is kept as current once it is as this run leaves it.
        if (d_built && report.Failures.isEmpty())
            TPackageStamp(d_plan.Stamp()).Record_Package(report.Rpm, d_inputs);
        Check(&report);
        // Nothing unchecked goes into the repository.
        if (!d_cancel)
            Publish(&report);
    }
    report.Cancelled = report.Cancelled || d_cancel;
    if (report.Cancelled)
        report.Failures.append("the build was cancelled");
    report.Ok = report.Failures.isEmpty() && !report.Cancelled;
    return report;
}

namespace
{
QStringList Repository_Report_Lines(const TPackageReport& report)
{
    if (report.Repo_Text.isEmpty())
        return {};
    return QStringList{QString("The repository file \"%1\", for /etc/yum.repos.d/ or "
                               "\"zypper addrepo\":")
                           .arg(report.Repo_File)} +
           report.Repo_Text.trimmed().split('\n');
}
}

QStringList Package_Report_Lines(const TPackageReport& report, const TReportWording& wording)
{
    QStringList lines;
    if (report.Cancelled && !wording.Cancelled.isEmpty())
        lines.append(wording.Cancelled);
    else
        for (const QString& failure : report.Failures)
            lines.append(wording.Failed + wording.Words(failure));
    lines += report.Explanation;
    for (const QString& note : report.Notes)
        lines.append("Note: " + wording.Words(note));
    lines += report.Installs;
    lines += report.Lint;
    if (!report.Log.isEmpty())
        lines.append("Build log: " + report.Log);
    if (report.Ok)
        lines.append(wording.Passed);
    if (!report.Rpm.isEmpty())
        lines.append(report.Rpm);
    return lines + Repository_Report_Lines(report);
}
