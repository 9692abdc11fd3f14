#include "package/packagerun.h"

#include <QDir>
#include <QFileInfo>

#include "bundle/bundlecollection.h"
#include "bundle/bundledetection.h"
#include "datafiles/savefile.h"
#include "libraries/libraryselection.h"
#include "package/distributionreleases.h"
#include "package/lintreport.h"
#include "package/packagechecks.h"
#include "package/preflight.h"
#include "package/sourcetarball.h"
#include "process/programrun.h"
#include "scan/requirementscan.h"
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
        const TBundleDetection detection = Detect_Bundle(
            d_request.Program, d_request.Plugins_Folder, Loaded_Libraries, TBundleProgress(),
            qml_sources, Merged_Choices(d_request.State.Detection_Choices, d_request.Choices));
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
    problems += Preflight_Problems(d_request, d_plan, d_spec_state);
    d_preflight_passed = problems.isEmpty();
    return problems;
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
    QString error;
    if (Make_Source_Tarball(d_request.Source, d_plan.Tarball, d_plan.Tarball_Folder(), &error))
        return true;
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
    const TSpecText spec = Compose_Spec_Text(Spec_Input(d_spec_state, packages));
    QString error = spec.Error;
    if (spec.Is_Complete() && QDir().mkpath(QFileInfo(d_plan.Spec()).path()) &&
        Save_Text_File(d_plan.Spec(), spec.Text, &error))
        return true;
    report->Failures.append(error.isEmpty() ? "cannot make the folder of " + d_plan.Spec()
                                            : error);
    return false;
}

void TPackageRun::Build(TPackageReport* report)
{
    Step(4, "Running rpmbuild -bb " + d_plan.Spec());
    QStringList arguments = {"-bb", d_plan.Spec()};
    if (!d_request.Output_Dir.isEmpty())
        arguments += {"--define", "_rpmdir " + QDir(d_request.Output_Dir).absolutePath()};
    TLoggedBuild build(arguments, d_plan.Build_Log(), d_line_sink);
    const TBuildOutcome outcome = build.Run(d_cancel);
    if (outcome.End != TBuildOutcome::Not_Started)
        report->Log = d_plan.Build_Log();
    report->Cancelled = outcome.End == TBuildOutcome::Cancelled;
    if (report->Cancelled)
        return;
    if (outcome.End != TBuildOutcome::Built)
        report->Failures.append(outcome.Error);
    else if (outcome.Written.isEmpty())
        report->Failures.append("rpmbuild wrote no package");
    else
        report->Rpm = outcome.Written.last();
}

// The folder the spec's run paths name, as the spec writer chooses it.
QString TPackageRun::Run_Path() const
{
    return d_plan.Program_Folder + "/" + Library_Directory(Active_Spec_Targets(d_spec_state));
}

void TPackageRun::Check(TPackageReport* report)
{
    Step(5, "Checking " + report->Rpm);
    report->Failures +=
        Package_Check_Failures(report->Rpm, {d_plan.Program_Folder, Run_Path()}, &report->Notes);
    const TProgramRun requires =
        Run_Program("rpm", {"-qp", "--requires", report->Rpm}, TRequirementScan::Default_Wait_Ms);
    if (requires.Outcome == TProgramRun::Succeeded)
        report->Installs = Where_It_Installs(requires.Output.split('\n', Qt::SkipEmptyParts));
    else
        report->Notes.append("the package's requirements could not be read: where it installs "
                             "is not known");
    report->Lint = Lint_Package(report->Rpm, &report->Notes);
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
    const bool prepared = !d_cancel && Make_Top_Folders(&report) && Make_Tarball(&report) && !d_cancel && Collect(&report) &&
                          Write_Spec(&report);
    if (prepared && !d_cancel)
        Build(&report);
    else if (d_cancel)
        report.Cancelled = true;
    if (report.Cancelled)
        report.Failures.append("the build was cancelled");
    if (!report.Rpm.isEmpty())
        Check(&report);
    report.Ok = report.Failures.isEmpty() && !report.Cancelled;
    return report;
}

QStringList Package_Report_Lines(const TPackageReport& report)
{
    QStringList lines;
    for (const QString& failure : report.Failures)
        lines.append("FAILED: " + failure);
    for (const QString& note : report.Notes)
        lines.append("Note: " + note);
    lines += report.Installs;
    lines += report.Lint;
    if (!report.Log.isEmpty())
        lines.append("Build log: " + report.Log);
    if (report.Ok)
        lines.append("The package was built and passed every check.");
    if (!report.Rpm.isEmpty())
        lines.append(report.Rpm);
    return lines;
}
