#include "requireswidget.h"

#include <QHBoxLayout>
#include <QSpacerItem>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "requirementscan.h"
#include "requiresfile.h"
#include "requirelist.h"
#include "xmlfile.h"

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
    : QWidget(const_cast<QWidget*>(parent), flags)
{
    Create_Widgets();
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
    buttons->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    QToolButton* clear = Small_Button(this, ":/gui/edit_clear_x16.png");
    QToolButton* refresh = Small_Button(this, ":/gui/edit_refresh_x16.png");
    buttons->addWidget(clear);
    buttons->addWidget(refresh);
    layout->addLayout(buttons);

    connect(clear, &QToolButton::clicked, this, &TRequiresWidget::Clear);
    connect(refresh, &QToolButton::clicked, this, &TRequiresWidget::Refresh);
}

void TRequiresWidget::Initialize()
{
    d_entries = Factory_Requirements();
}

bool TRequiresWidget::Load_Defaults(const QString& folder)
{
    bool loaded = false;
    try
    {
        TXmlFile file;
        Requires_File::Open(&file, folder);
        Load_V1(&file);
        loaded = true;
    }
    catch (const TXmlFileException&)
    {
        Initialize();
    }
    Update_Tree();
    return loaded;
}

void TRequiresWidget::Load_V1(TXmlFile* file)
{
    d_entries = Requires_File::Read_V1(*file);
}

bool TRequiresWidget::Save_Defaults(const QString& folder, QString* error)
{
    try
    {
        TXmlFile file;
        file.File_Name = folder + "/" + Requires_File::File_Name;
        Requires_File::Build(&file, d_entries);
        file.Write_File(false);
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
    if (d_shared_libs_path.isEmpty())
    {
        d_scan_report.No_Shared_Libs_Path = true;
        return;
    }
    TRequirementScan scan(d_wait_limit);
    scan.Scan(d_shared_libs_path, targets);
    d_entries = scan.Entries();
    d_scan_report = scan.Report();
    Update_Tree();
    emit Status_Message(Scan_Summary(d_scan_report, static_cast<int>(d_entries.size())));
}

QString TRequiresWidget::Scan_Problems() const
{
    return ::Scan_Problems(d_scan_report);
}

void TRequiresWidget::Clear()
{
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
