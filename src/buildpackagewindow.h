#ifndef BUILDPACKAGEWINDOW_H
#define BUILDPACKAGEWINDOW_H

#include <QDialog>
#include <QFuture>
#include <QString>

#include <memory>

#include "package/packagerun.h"
#include "state/editorstate.h"

class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

// "Build Package": the panels as they stand, packaged as the command-line
// tool's package command does. The preflight's problems are listed before
// anything runs; the build itself runs off the GUI thread while its output
// streams into the window, and Cancel stops it. The report ends the run, with
// the package's path and a button opening its folder.
class TBuildPackageWindow : public QDialog
{
    Q_OBJECT

public:
    TBuildPackageWindow(QWidget* parent, const TEditorState& state);
    ~TBuildPackageWindow() override;

    bool Is_Running() const { return d_running; }
    QString Package_Path() const { return d_report.Rpm; }

public slots:
    void Build();
    void Cancel();

signals:
    // The run has ended, with or without a package.
    void Finished();

protected:
    void reject() override;

private:
    void Lay_Out();
    QLayout* Path_Row(QLineEdit* field, const QString& folder_title);
    void Work(std::shared_ptr<TPackageRun> run);
    void Show_Problems(const QStringList& problems);
    void Show_Step(int step, int steps, const QString& what);
    void Show_Report(const TPackageReport& report);
    void Set_Running(bool running);
    void Open_Folder();

    const TEditorState d_state;
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
    std::shared_ptr<TPackageRun> d_run;
    QFuture<void> d_work;
    TPackageReport d_report;
    bool d_running = false;
};

#endif
