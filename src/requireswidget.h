#ifndef REQUIRESWIDGET_H
#define REQUIRESWIDGET_H

#include <QString>
#include <QStringList>
#include <QWidget>

#include "requireentry.h"
#include "requirementscan.h"
#include "scanreport.h"

class QTreeWidget;
class TXmlFile;

// The "Requires" tab: the system packages that provide the libraries the
// shipped files load, found by listing each file's dependencies with "ldd"
// and asking "rpm" which package provides each of them. Kept in
// "requires.xml" between runs.
class TRequiresWidget : public QWidget
{
    Q_OBJECT

public:
    using TRequireEntry = ::TRequireEntry;

    TRequiresWidget(const QWidget* parent, Qt::WindowFlags flags);

    bool Load_Defaults(const QString& folder);
    bool Save_Defaults(const QString& folder, QString* error = nullptr);

    QStringList Required_Packages() const;
    // Rescans the subfolders of d_shared_libs_path named by `targets`.
    void Refresh_Required_Packages(const QStringList& targets);
    // Why the last rescan was incomplete, or could not run; empty when it
    // was complete.
    QString Scan_Problems() const;
    bool Has_Library(const QString& library) const;
    void Add_Library(const QString& package, const QString& library);

    // How long each run of "ldd" or "rpm" may take before it counts as failed.
    void Set_Wait_Limit(int milliseconds);

    // The folder whose target subfolders are scanned; kept in "settings.ini".
    QString d_shared_libs_path;

signals:
    void Refresh();
    // A scan has ended; the text says what it found or why it is incomplete.
    void Status_Message(const QString& text);

private slots:
    void Clear();

private:
    void Create_Widgets();
    void Initialize();
    void Load_V1(TXmlFile* file);
    void Update_Tree();

    QTreeWidget* d_tree;
    std::vector<TRequireEntry> d_entries;
    int d_wait_limit = TRequirementScan::Default_Wait_Ms;
    TScanReport d_scan_report;
};

#endif
