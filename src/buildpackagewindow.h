#ifndef BUILDPACKAGEWINDOW_H
#define BUILDPACKAGEWINDOW_H

#include <QDialog>
#include <QElapsedTimer>
#include <QFuture>
#include <QString>

#include <functional>
#include <memory>

#include "datafiles/packagesettingsfile.h"
#include "package/packagerun.h"
#include "state/editorstate.h"

class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;
class TLivePreflight;
struct TPreflightFindings;

// "Build Package": the panels as they stand when Build is pressed, packaged
// as the command-line tool's package command does. The preflight's problems
// and warnings are listed before anything runs, and listed afresh whenever
// the panels or the fields change; the build itself runs off the GUI thread
// while its output streams into the window, its steps and the time taken
// shown below, and Cancel stops it. The report ends the run, with the
// package's path and a button opening its folder.
class TBuildPackageWindow : public QDialog
{
    Q_OBJECT

public:
    using TStateSource = std::function<TEditorState()>;

    // `state` gives the panels as they stand; changes inside `watched`
    // refresh the preflight.
    TBuildPackageWindow(QWidget* parent, TStateSource state, QWidget* watched);
    ~TBuildPackageWindow() override;

    bool Is_Running() const { return d_running; }
    QString Package_Path() const { return d_report.Rpm; }
    QString Program() const;
    QString Source() const;
    // The built program, source folder, repository folder and signing key.
    TPackageSettings Fields() const;
    void Set_Fields(const TPackageSettings& fields);

    // Asks whether a build going on in `parent`'s windows is to be stopped.
    static bool Stop_Asked(QWidget* parent, const QString& closing);

public slots:
    void Build();
    void Cancel();
    // Stops a build without asking, and closes once it has stopped.
    void Stop_And_Close();
    void Refresh_Preflight();

signals:
    // The run has ended, with or without a package.
    void Finished();
    // How the run ended in one sentence, and the report's lines.
    void Outcome(const QString& summary, const QStringList& lines);
    // The fields a build was started with.
    void Fields_Used(const TPackageSettings& fields);

protected:
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    void Lay_Out();
    QLayout* Path_Row(QLineEdit* field, const QString& folder_title);
    void Watch_Changes(QWidget* watched);
    TPackageRequest Request() const;
    void Work(std::shared_ptr<TPackageRun> run);
    void Show_Findings(const TPreflightFindings& findings);
    void Show_Run_Step(int run_step, const QString& what);
    void Show_Line(const QString& line);
    void Show_Step(int step);
    void Show_Time();
    void Show_Report(const TPackageReport& report);
    QString Summary(const TPackageReport& report) const;
    QStringList Listed_Problems() const;
    void Set_Running(bool running);
    void Open_Folder();

    const TStateSource d_state;
    QLineEdit* d_program;
    QLineEdit* d_source;
    QLineEdit* d_repository;
    QLineEdit* d_sign_key;
    QListWidget* d_problems;
    QPlainTextEdit* d_log;
    QProgressBar* d_progress;
    QLabel* d_status;
    QPushButton* d_build_button;
    QPushButton* d_cancel_button;
    QPushButton* d_open_button;
    TLivePreflight* d_preflight;
    QTimer* d_refresh_delay;
    QTimer* d_clock_tick;
    QElapsedTimer d_clock;
    int d_step = 0;
    std::shared_ptr<TPackageRun> d_run;
    QFuture<void> d_work;
    TPackageReport d_report;
    bool d_running = false;
    bool d_preflight_failed = false;
};

#endif
