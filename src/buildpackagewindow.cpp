#include "buildpackagewindow.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <QtConcurrent>

#include "buildsteps.h"
#include "dialogplacement.h"
#include "editorwords.h"
#include "filedialog.h"
#include "livepreflight.h"
#include "messagebox.h"
#include "openfolder.h"
#include "panelwatch.h"

namespace
{
// Waiting time between the last change and the fresh preflight.
const int Refresh_Delay_Ms = 400;

QString Elapsed_Text(qint64 ms)
{
    const qint64 seconds = ms / 1000;
    return QString("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QChar('0'));
}

const char* const Cancelled_Text = "Cancelled: the build was stopped and no package was made.";

// The report in the window's words: the user's own Cancel is no failure.
TReportWording Window_Wording()
{
    TReportWording wording;
    wording.Failed = "Failed: ";
    wording.Passed = "The package was built and passed every check:";
    wording.Cancelled = Cancelled_Text;
    wording.Words = Editor_Words;
    return wording;
}
}

TBuildPackageWindow::TBuildPackageWindow(QWidget* parent, TStateSource state, QWidget* watched)
    : QDialog(parent), d_state(std::move(state)), d_preflight(new TLivePreflight(this)),
      d_refresh_delay(new QTimer(this)), d_clock_tick(new QTimer(this))
{
    setObjectName("build_package");
    setWindowTitle("Build Package");
    Lay_Out();
    resize(800, 600);
    // A check started before Build must not overwrite the build's own.
    connect(d_preflight, &TLivePreflight::Checked, this, [this](const TPreflightFindings& found) {
        if (!d_running)
            Show_Findings(found);
    });
    d_clock_tick->setInterval(1000);
    connect(d_clock_tick, &QTimer::timeout, this, &TBuildPackageWindow::Show_Time);
    Watch_Changes(watched);
}

// A run still going is stopped; the window waits for its end so that
// nothing is left running behind it.
TBuildPackageWindow::~TBuildPackageWindow()
{
    if (d_run)
        d_run->Cancel();
    d_work.waitForFinished();
}

QString TBuildPackageWindow::Program() const
{
    return d_program->text().trimmed();
}

QString TBuildPackageWindow::Source() const
{
    return d_source->text().trimmed();
}

TPackageSettings TBuildPackageWindow::Fields() const
{
    TPackageSettings fields;
    fields.Program = Program();
    fields.Source = Source();
    fields.Repository = d_repository->text().trimmed();
    fields.Sign_Key = d_sign_key->text().trimmed();
    return fields;
}

void TBuildPackageWindow::Set_Fields(const TPackageSettings& fields)
{
    d_program->setText(fields.Program);
    d_source->setText(fields.Source);
    d_repository->setText(fields.Repository);
    d_sign_key->setText(fields.Sign_Key);
}

// A path field with its "..." button asking for the folder titled
// `folder_title`, or for the built program when there is no title.
QLayout* TBuildPackageWindow::Path_Row(QLineEdit* field, const QString& folder_title)
{
    auto* browse = new QToolButton(this);
    browse->setText("...");
    connect(browse, &QToolButton::clicked, this, [this, field, folder_title] {
        const QString chosen =
            !folder_title.isEmpty()
                ? TFileDialog::Existing_Directory(this, folder_title, field->text())
                : TFileDialog::Open_File_Name(this, "Built Program", field->text(), QString());
        if (!chosen.isEmpty())
            field->setText(chosen);
    });
    auto* row = new QHBoxLayout;
    row->addWidget(field);
    row->addWidget(browse);
    return row;
}

void TBuildPackageWindow::Lay_Out()
{
    d_program = new QLineEdit(this);
    d_program->setObjectName("program");
    d_program->setPlaceholderText("none: the checked libraries, as collected");
    d_source = new QLineEdit(this);
    d_source->setObjectName("source");
    d_source->setPlaceholderText("none: the tarball in SOURCES");
    d_repository = new QLineEdit(this);
    d_repository->setPlaceholderText("none: the package stays where rpmbuild writes it");
    d_sign_key = new QLineEdit(this);
    d_sign_key->setPlaceholderText("none: the package is not signed");
    d_sign_key->setToolTip("A key of your GnuPG keyring (its fingerprint, ID or e-mail "
                           "address). The GnuPG agent must hold its passphrase already.");
    auto* form = new QFormLayout;
    form->addRow("Built program:", Path_Row(d_program, QString()));
    form->addRow("Source folder:", Path_Row(d_source, "Source Folder"));
    form->addRow("Repository folder:", Path_Row(d_repository, "Repository Folder"));
    form->addRow("Signing key:", d_sign_key);
    d_problems = new QListWidget(this);
    d_problems->setObjectName("problems");
    d_problems->setMaximumHeight(140);
    d_problems->setWordWrap(true);
    d_log = new QPlainTextEdit(this);
    d_log->setReadOnly(true);
    d_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    d_progress = new QProgressBar(this);
    d_progress->setRange(0, Build_Steps::Count);
    d_progress->setValue(0);
    d_status = new QLabel(this);
    d_status->setObjectName("status");
    d_status->setWordWrap(true);
    d_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    d_build_button = new QPushButton("Build", this);
    d_cancel_button = new QPushButton("Cancel", this);
    d_cancel_button->setEnabled(false);
    d_open_button = new QPushButton("Open Folder", this);
    d_open_button->setEnabled(false);
    auto* close = new QPushButton("Close", this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* button : {d_build_button, d_cancel_button, d_open_button, close})
        buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel("Problems found before building:", this));
    layout->addWidget(d_problems);
    layout->addWidget(d_log, 1);
    layout->addWidget(d_progress);
    layout->addWidget(d_status);
    layout->addLayout(buttons);
    connect(d_build_button, &QPushButton::clicked, this, &TBuildPackageWindow::Build);
    connect(d_cancel_button, &QPushButton::clicked, this, &TBuildPackageWindow::Cancel);
    connect(d_open_button, &QPushButton::clicked, this, &TBuildPackageWindow::Open_Folder);
    connect(close, &QPushButton::clicked, this, &TBuildPackageWindow::reject);
}

// The panels and the window's own fields.
void TBuildPackageWindow::Watch_Changes(QWidget* watched)
{
    d_refresh_delay->setSingleShot(true);
    d_refresh_delay->setInterval(Refresh_Delay_Ms);
    connect(d_refresh_delay, &QTimer::timeout, this, &TBuildPackageWindow::Refresh_Preflight);
    const auto changed = [this] {
        if (isVisible())
            d_refresh_delay->start();
    };
    if (watched != nullptr)
        connect(new TPanelWatch(watched, this), &TPanelWatch::Changed, this, changed);
    for (QLineEdit* field : {d_program, d_source, d_repository, d_sign_key})
        connect(field, &QLineEdit::textChanged, this, changed);
}

void TBuildPackageWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Place_Over_Parent(this);
    Refresh_Preflight();
}

TPackageRequest TBuildPackageWindow::Request() const
{
    const TPackageSettings fields = Fields();
    TPackageRequest request;
    request.State = d_state();
    request.Program = fields.Program;
    request.Source = fields.Source;
    request.Repository = fields.Repository;
    request.Sign_Key = fields.Sign_Key;
    return request;
}

// While a build runs, its own preflight has the say.
void TBuildPackageWindow::Refresh_Preflight()
{
    if (!d_running)
        d_preflight->Check(Request());
}

void TBuildPackageWindow::Set_Running(bool running)
{
    d_running = running;
    d_build_button->setEnabled(!running);
    d_cancel_button->setEnabled(running);
    d_program->setEnabled(!running);
    d_source->setEnabled(!running);
    d_repository->setEnabled(!running);
    d_sign_key->setEnabled(!running);
    if (running)
    {
        d_clock.start();
        d_clock_tick->start();
    }
    else
        d_clock_tick->stop();
}

void TBuildPackageWindow::Build()
{
    if (d_running)
        return;
    d_refresh_delay->stop();
    d_run = std::make_shared<TPackageRun>(Request());
    emit Fields_Used(Fields());
    d_problems->clear();
    d_log->clear();
    d_open_button->setEnabled(false);
    d_preflight_failed = false;
    Set_Running(true);
    Show_Step(Build_Steps::Preflight);
    d_work = QtConcurrent::run([this, run = d_run] { Work(run); });
}

// On the worker thread: everything reaches the window queued.
void TBuildPackageWindow::Work(std::shared_ptr<TPackageRun> run)
{
    TPreflightFindings findings;
    findings.Problems = run->Preflight();
    findings.Warnings = run->Warnings();
    QMetaObject::invokeMethod(this, [this, findings] { Show_Findings(findings); },
                              Qt::QueuedConnection);
    TPackageReport report;
    if (findings.Problems.isEmpty())
    {
        run->Set_Line_Sink([this](const QString& line) {
            QMetaObject::invokeMethod(this, [this, line] { Show_Line(line); },
                                      Qt::QueuedConnection);
        });
        run->Set_Step_Sink([this](int step, int, const QString& what) {
            QMetaObject::invokeMethod(this, [=] { Show_Run_Step(step, what); },
                                      Qt::QueuedConnection);
        });
        report = run->Run();
    }
    else
        report.Failures.append("the preflight found problems; nothing was built");
    QMetaObject::invokeMethod(this, [this, report] { Show_Report(report); }, Qt::QueuedConnection);
}

void TBuildPackageWindow::Show_Findings(const TPreflightFindings& findings)
{
    d_problems->clear();
    d_preflight_failed = !findings.Problems.isEmpty();
    for (const QString& problem : findings.Problems)
        d_problems->addItem(Editor_Words(problem));
    for (const QString& warning : findings.Warnings)
        d_problems->addItem("Warning: " + Editor_Words(warning));
    if (d_problems->count() == 0)
        d_problems->addItem("None.");
}

void TBuildPackageWindow::Show_Run_Step(int run_step, const QString& what)
{
    d_log->appendPlainText(what);
    Show_Step(Build_Steps::From_Run_Step(run_step));
}

void TBuildPackageWindow::Show_Line(const QString& line)
{
    d_log->appendPlainText(line);
    const int step = Build_Steps::From_Log_Line(line, d_step);
    if (step != d_step)
        Show_Step(step);
}

void TBuildPackageWindow::Show_Step(int step)
{
    d_step = step;
    d_progress->setValue(step - 1);
    Show_Time();
}

void TBuildPackageWindow::Show_Time()
{
    d_status->setText(QString("Step %1 of %2: %3 (%4)")
                          .arg(d_step)
                          .arg(Build_Steps::Count)
                          .arg(Build_Steps::Name(d_step), Elapsed_Text(d_clock.elapsed())));
}

QString TBuildPackageWindow::Summary(const TPackageReport& report) const
{
    const QString elapsed = Elapsed_Text(d_clock.elapsed());
    if (report.Ok)
        return QString("Built and checked in %1: %2").arg(elapsed, report.Rpm);
    if (report.Cancelled)
        return Cancelled_Text;
    if (d_preflight_failed)
        return "Not built: the check before building found problems.";
    return QString("Failed after %1: %2").arg(elapsed, Editor_Words(report.Failures.value(0)));
}

void TBuildPackageWindow::Show_Report(const TPackageReport& report)
{
    d_report = report;
    if (report.Ok)
        d_progress->setValue(Build_Steps::Count);
    const QStringList lines = Package_Report_Lines(report, Window_Wording());
    d_log->appendPlainText("\n" + lines.join('\n'));
    const QString summary = Summary(report);
    d_status->setText(summary);
    d_open_button->setEnabled(!report.Rpm.isEmpty());
    Set_Running(false);
    emit Outcome(summary, d_preflight_failed ? Listed_Problems() : lines);
    emit Finished();
}

QStringList TBuildPackageWindow::Listed_Problems() const
{
    QStringList problems;
    for (int row = 0; row < d_problems->count(); ++row)
        problems.append(d_problems->item(row)->text());
    return problems;
}

void TBuildPackageWindow::Stop_And_Close()
{
    Cancel();
    if (d_running)
        connect(this, &TBuildPackageWindow::Finished, this, &QDialog::reject,
                Qt::UniqueConnection);
    else
        QDialog::reject();
}

void TBuildPackageWindow::Cancel()
{
    if (!d_running)
        return;
    d_run->Cancel();
    d_status->setText("Stopping the build...");
}

bool TBuildPackageWindow::Stop_Asked(QWidget* parent, const QString& closing)
{
    TMessageBox box(parent);
    box.setObjectName("stop_build_box");
    box.setText("A package is being built");
    box.setInformativeText(
        QString("Closing %1 stops the build, and no package is made. Stop the build?")
            .arg(closing));
    box.setIcon(QMessageBox::Question);
    QPushButton* stop = box.addButton("Stop the Build", QMessageBox::DestructiveRole);
    box.addButton("Keep Building", QMessageBox::RejectRole);
    box.exec();
    return box.clickedButton() == stop;
}

// Closing during a build asks first, then stops it; the window closes once
// it has stopped.
void TBuildPackageWindow::reject()
{
    if (!d_running)
    {
        QDialog::reject();
        return;
    }
    if (Stop_Asked(this, "this window"))
        Stop_And_Close();
}

void TBuildPackageWindow::Open_Folder()
{
    ::Open_Folder(this, QFileInfo(d_report.Rpm).path());
}
