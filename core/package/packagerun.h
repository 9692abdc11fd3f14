#ifndef PACKAGERUN_H
#define PACKAGERUN_H

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

#include "bundle/bundle.h"
#include "package/installlayout.h"
#include "package/loggedbuild.h"
#include "package/packageplan.h"

// How one packaging run ended.
struct TPackageReport
{
    bool Ok = false;         // built, and every check passed
    bool Cancelled = false;
    QStringList Failures;    // what failed, one sentence each
    QStringList Explanation; // for a failed build: the step, the log's error lines, the fix
    QStringList Notes;       // what was done and what was not checked
    QStringList Installs;    // the distribution releases it installs on, and why not on others
    QStringList Lint;        // rpmlint's findings
    QString Log;             // the build log, once rpmbuild ran
    QString Rpm;             // the package built, inside the repository once it is
                             // there; empty when none was
    QString Repo_File;       // the .repo file written into the repository
    QString Repo_Text;       // its text
};

// From a built program to a checked RPM, without any window: Preflight()
// finds every problem before anything is made; Run() then makes the source
// tarball, collects the bundle, writes the spec, runs rpmbuild and checks
// the package. Run() may be called from any thread; Cancel() from any other
// thread, or from a signal handler.
class TPackageRun
{
public:
    using TStepSink = std::function<void(int step, int steps, const QString& what)>;

    explicit TPackageRun(const TPackageRequest& request);

    // rpmbuild's lines, as they come, from the thread running Run().
    void Set_Line_Sink(TLoggedBuild::TLineSink sink) { d_line_sink = std::move(sink); }
    // Each step as it begins, from the thread running Run().
    void Set_Step_Sink(TStepSink sink) { d_step_sink = std::move(sink); }

    // Every problem found; none means Run() may go ahead.
    QStringList Preflight();
    // What Preflight() found worth a word that does not stop the build.
    const QStringList& Warnings() const { return d_warnings; }
    TPackageReport Run();
    void Cancel() { d_cancel = true; }

    const TPackagePlan& Plan() const { return d_plan; }

    static const int Steps = 7;

private:
    bool Make_Top_Folders(TPackageReport* report);
    bool Make_Tarball(TPackageReport* report);
    bool Collect(TPackageReport* report);
    bool Write_Spec(TPackageReport* report);
    QByteArray Inputs() const;
    bool Reuse_Current(const QByteArray& inputs, TPackageReport* report);
    void Build(TPackageReport* report);
    void Explain_Failure(const TBuildOutcome& outcome, TPackageReport* report);
    void Sign(TPackageReport* report);
    void Check(TPackageReport* report);
    void Publish(TPackageReport* report);
    void Step(int step, const QString& what);
    QString Run_Path() const;
    QStringList Learn_Program_Layout();
    void Follow_Bin_Folder();

    TPackageRequest d_request;
    TEditorState d_spec_state;  // the panels with the detected bundle in place
    TBundle d_bundle;
    TPackagePlan d_plan;
    QByteArray d_sources;  // the fingerprint of the tarball's sources, when made of --source
    QString d_spec_text;
    QByteArray d_inputs;  // the fingerprint of what shaped the package
    bool d_built = false; // rpmbuild made the package in this run
    QStringList d_notes;  // stored choices that named nothing, left out; the layout found
    TLearnedLayout d_layout;  // where the program's own install rules put it
    QStringList d_qmake_assignments;
    QStringList d_warnings;
    bool d_preflight_passed = false;
    std::atomic_bool d_cancel{false};
    TLoggedBuild::TLineSink d_line_sink = [](const QString&) {};
    TStepSink d_step_sink = [](int, int, const QString&) {};
};

// How a report is worded for its reader: the command line's words by
// default; the editor has its own.
struct TReportWording
{
    QString Failed = "FAILED: ";
    QString Passed = "The package was built and passed every check.";
    // Said of a cancelled run in place of its failures; empty: the failures.
    QString Cancelled;
    // A failure's or a note's words as the reader sees them.
    std::function<QString(const QString&)> Words = [](const QString& text) { return text; };
};

// The report as lines for a person: the failures or the notes, where the
// package installs, rpmlint's findings, then the package's path; last, when
// the package went into a repository, the .repo file's text.
QStringList Package_Report_Lines(const TPackageReport& report,
                                 const TReportWording& wording = TReportWording());

#endif
