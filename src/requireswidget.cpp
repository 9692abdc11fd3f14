#include "requireswidget.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpacerItem>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "datafiles/requiresfile.h"
#include "scan/requirelist.h"
#include "scan/backgroundscan.h"
#include "datafiles/xmlfile.h"

namespace
{
QToolButton* Small_Button(QWidget* parent, const QString& icon)
{
    auto* button = new QToolButton(parent);
    button->setFixedSize(16, 16);
    button->setIcon(QIcon(icon));
    button->setIconSize(QSize(16, 16));
    return button;
}
}

TRequiresWidget::TRequiresWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags), d_scan(new TBackgroundScan(this))
{
    Create_Widgets();
    connect(d_scan, &TBackgroundScan::Progress, this, &TRequiresWidget::Show_Progress);
    connect(d_scan, &TBackgroundScan::Finished, this, &TRequiresWidget::Take_Scan);
    connect(d_scan, &TBackgroundScan::Stopped, this, &TRequiresWidget::Scan_Stopped);
}

void TRequiresWidget::Create_Widgets()
{
    auto* layout = new QVBoxLayout(this);
    d_tree = new QTreeWidget(this);
    d_tree->setColumnCount(2);
    d_tree->setRootIsDecorated(false);
    d_tree->setHeaderLabels({"Package Providing Library", "Library File Name"});
    layout->addWidget(d_tree);

    auto* buttons = new QHBoxLayout();
    d_progress = new QLabel(this);
    d_progress->hide();
    buttons->addWidget(d_progress);
    buttons->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    QToolButton* clear = Small_Button(this, ":/gui/edit_clear_x16.png");
    d_refresh = Small_Button(this, ":/gui/edit_refresh_x16.png");
    buttons->addWidget(clear);
    buttons->addWidget(d_refresh);
    layout->addLayout(buttons);

    connect(clear, &QToolButton::clicked, this, &TRequiresWidget::Clear);
    connect(d_refresh, &QToolButton::clicked, this, &TRequiresWidget::Refresh);
}

void TRequiresWidget::Initialize()
{
    d_entries = Factory_Requirements();
}

bool TRequiresWidget::Load_Defaults(const QString& folder, QString* reason)
{
    bool loaded = false;
    try
    {
        TXmlFile file;
        TRequiresFile::Open(&file, folder);
        Load_V1(&file);
        loaded = true;
    }
    catch (const TXmlFileException& error)
    {
        if (reason != nullptr)
            *reason = error.Message;
        Initialize();
    }
    Update_Tree();
    return loaded;
}

void TRequiresWidget::Load_V1(TXmlFile* file)
{
    d_entries = TRequiresFile::Read_V1(*file);
}

bool TRequiresWidget::Save_Defaults(const QString& folder, QString* error)
{
    try
    {
        TRequiresFile::Write(folder, d_entries);
        return true;
    }
    catch (const TXmlFileException& exception)
    {
        if (error != nullptr)
            *error = exception.Message;
        return false;
    }
}

QStringList TRequiresWidget::Required_Packages() const
{
    return Package_Names(d_entries);
}

bool TRequiresWidget::Has_Library(const QString& library) const
{
    return ::Has_Library(d_entries, library);
}

void TRequiresWidget::Add_Library(const QString& package, const QString& library)
{
    ::Add_Library(d_entries, package, library);
}

void TRequiresWidget::Set_Wait_Limit(int milliseconds)
{
    d_wait_limit = milliseconds;
}

// Without a shared-libraries folder the list stays as it is.
void TRequiresWidget::Refresh_Required_Packages(const QStringList& targets)
{
    d_scan_report = TScanReport();
    d_scan_stopped = false;
    if (d_shared_libs_path.isEmpty())
    {
        d_scan_report.No_Shared_Libs_Path = true;
        return;
    }
    d_scan->Start(d_shared_libs_path, targets, d_wait_limit);
    Show_Scanning(true);
}

bool TRequiresWidget::Is_Scanning() const
{
    return d_scan->Is_Running();
}

// Should the event loop end underneath (the application quits), the scan is
// stopped rather than left behind.
bool TRequiresWidget::Wait_For_Scan()
{
    if (d_scan->Is_Running())
    {
        QEventLoop loop;
        connect(d_scan, &TBackgroundScan::Finished, &loop, &QEventLoop::quit);
        connect(d_scan, &TBackgroundScan::Stopped, &loop, &QEventLoop::quit);
        loop.exec();
        Stop_Scan();
    }
    return !d_scan_stopped;
}

void TRequiresWidget::Stop_Scan()
{
    d_scan->Stop();
}

void TRequiresWidget::Show_Progress(int done, int total)
{
    const QString text = Scan_Progress_Text(done, total);
    d_progress->setText(text);
    emit Status_Message(text);
}

void TRequiresWidget::Take_Scan(const TRequireEntries& entries, const TScanReport& report)
{
    Show_Scanning(false);
    d_entries = entries;
    d_scan_report = report;
    Update_Tree();
    emit Status_Message(Scan_Summary(d_scan_report, static_cast<int>(d_entries.size())));
}

void TRequiresWidget::Scan_Stopped()
{
    Show_Scanning(false);
    d_scan_stopped = true;
    emit Status_Message("The requirements scan was stopped; the list is as it was.");
}

void TRequiresWidget::Show_Scanning(bool scanning)
{
    d_scan_stopped = false;
    d_progress->setText("Scanning requirements...");
    d_progress->setVisible(scanning);
    d_refresh->setEnabled(!scanning);
}

QString TRequiresWidget::Scan_Problems() const
{
    return ::Scan_Problems(d_scan_report);
}

void TRequiresWidget::Clear()
{
    Stop_Scan();
    d_entries.clear();
    d_tree->clear();
}

void TRequiresWidget::Update_Tree()
{
    d_tree->clear();
    for (const TRequireEntry& entry : d_entries)
    {
        auto* package = new QTreeWidgetItem(d_tree);
        package->setText(0, entry.Package);
        for (int index = 0; index < entry.Libraries.size(); ++index)
        {
            QTreeWidgetItem* row = index == 0 ? package : new QTreeWidgetItem(package);
            row->setText(1, entry.Libraries.at(index));
        }
        package->setExpanded(true);
    }
    d_tree->sortByColumn(0, Qt::AscendingOrder);
    d_tree->resizeColumnToContents(0);
    d_tree->resizeColumnToContents(1);
}
