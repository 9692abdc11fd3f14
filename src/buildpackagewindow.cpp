#include "buildpackagewindow.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QtConcurrent>

#include "filedialog.h"

TBuildPackageWindow::TBuildPackageWindow(QWidget* parent, const TEditorState& state)
    : QDialog(parent), d_state(state)
{
    setWindowTitle("Build Package");
    Lay_Out();
    resize(800, 600);
}

// A run still going is stopped; the window waits for its end so that
// nothing is left running behind it.
TBuildPackageWindow::~TBuildPackageWindow()
{
    if (d_run)
        d_run->Cancel();
    d_work.waitForFinished();
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
                ? TFileDialog::Existing_Directory(this, folder_title, field->text(),
                                                  QFileDialog::ShowDirsOnly)
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
    d_program->setPlaceholderText("none: the checked libraries, as collected");
    d_source = new QLineEdit(this);
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
    d_problems->setMaximumHeight(120);
    d_log = new QPlainTextEdit(this);
    d_log->setReadOnly(true);
    d_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    d_progress = new QProgressBar(this);
    d_progress->setRange(0, TPackageRun::Steps);
    d_progress->setValue(0);
    d_status = new QLabel(this);
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

void TBuildPackageWindow::Set_Running(bool running)
{
    d_running = running;
    d_build_button->setEnabled(!running);
    d_cancel_button->setEnabled(running);
    d_program->setEnabled(!running);
    d_source->setEnabled(!running);
    d_repository->setEnabled(!running);
    d_sign_key->setEnabled(!running);
}

void TBuildPackageWindow::Build()
{
    if (d_running)
        return;
    TPackageRequest request;
    request.State = d_state;
    request.Program = d_program->text().trimmed();
    request.Source = d_source->text().trimmed();
    request.Repository = d_repository->text().trimmed();
    request.Sign_Key = d_sign_key->text().trimmed();
    d_run = std::make_shared<TPackageRun>(request);
    d_problems->clear();
    d_log->clear();
    d_open_button->setEnabled(false);
    d_progress->setRange(0, 0);
    d_status->setText("Checking before building...");
    Set_Running(true);
    d_work = QtConcurrent::run([this, run = d_run] { Work(run); });
}

// On the worker thread: everything reaches the window queued.
void TBuildPackageWindow::Work(std::shared_ptr<TPackageRun> run)
{
    const QStringList problems = run->Preflight();
    QMetaObject::invokeMethod(this, [this, problems] { Show_Problems(problems); },
                              Qt::QueuedConnection);
    TPackageReport report;
    if (problems.isEmpty())
    {
        run->Set_Line_Sink([this](const QString& line) {
            QMetaObject::invokeMethod(this, [this, line] { d_log->appendPlainText(line); },
                                      Qt::QueuedConnection);
        });
        run->Set_Step_Sink([this](int step, int steps, const QString& what) {
            QMetaObject::invokeMethod(this, [=] { Show_Step(step, steps, what); },
                                      Qt::QueuedConnection);
        });
        report = run->Run();
    }
    else
        report.Failures.append("the preflight found problems; nothing was built");
    QMetaObject::invokeMethod(this, [this, report] { Show_Report(report); }, Qt::QueuedConnection);
}

void TBuildPackageWindow::Show_Problems(const QStringList& problems)
{
    if (problems.isEmpty())
        d_problems->addItem("None.");
    d_problems->addItems(problems);
}

void TBuildPackageWindow::Show_Step(int step, int steps, const QString& what)
{
    d_progress->setRange(0, steps);
    d_progress->setValue(step - 1);
    d_status->setText(what);
}

void TBuildPackageWindow::Show_Report(const TPackageReport& report)
{
    d_report = report;
    d_progress->setRange(0, TPackageRun::Steps);
    d_progress->setValue(report.Ok ? TPackageRun::Steps : d_progress->value());
    const QStringList lines = Package_Report_Lines(report);
    d_log->appendPlainText("\n" + lines.join('\n'));
    d_status->setText(report.Ok ? "Built and checked: " + report.Rpm
                                : "Not built or not passed: " + report.Failures.value(0));
    d_open_button->setEnabled(!report.Rpm.isEmpty());
    Set_Running(false);
    emit Finished();
}

void TBuildPackageWindow::Cancel()
{
    if (d_run)
        d_run->Cancel();
    d_status->setText("Stopping the build...");
}

// Closing during a build asks it to stop first; the window closes once it has.
void TBuildPackageWindow::reject()
{
    if (!d_running)
    {
        QDialog::reject();
        return;
    }
    Cancel();
    connect(this, &TBuildPackageWindow::Finished, this, &QDialog::reject, Qt::UniqueConnection);
}

void TBuildPackageWindow::Open_Folder()
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(d_report.Rpm).path()));
}
