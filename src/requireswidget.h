#ifndef REQUIRESWIDGET_H
#define REQUIRESWIDGET_H

#include <QString>
#include <QStringList>
#include <QWidget>

#include "scan/requireentry.h"
#include "scan/requirementscan.h"
#include "scan/scanreport.h"

class QLabel;
class QToolButton;
class QTreeWidget;
class TBackgroundScan;
class TXmlFile;

// The "Requires" tab: the system packages that provide the libraries the
// shipped files load, found by a requirements scan that runs beside the
// window, showing its progress. Kept in "requires.xml" between runs.
class TRequiresWidget : public QWidget
{
    Q_OBJECT

public:
    using TRequireEntry = ::TRequireEntry;

    TRequiresWidget(const QWidget* parent, Qt::WindowFlags flags);

    // False when the file was refused, with the reason in `reason` when given.
    bool Load_Defaults(const QString& folder, QString* reason = nullptr);
    bool Save_Defaults(const QString& folder, QString* error = nullptr);

    QStringList Required_Packages() const;
    const TRequireEntries& Entries() const { return d_entries; }
    // Starts a rescan of the subfolders of d_shared_libs_path named by
    // `targets`, replacing a running one; the list changes when it ends.
    void Refresh_Required_Packages(const QStringList& targets);
    bool Is_Scanning() const;
    // Waits for a running scan while the window goes on responding; false
    // when the scan was stopped instead of ending.
    bool Wait_For_Scan();
    // Stops a running scan; the list stays as it was.
    void Stop_Scan();
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
    void Show_Progress(int done, int total);
    void Take_Scan(const TRequireEntries& entries, const TScanReport& report);
    void Scan_Stopped();

private:
    void Create_Widgets();
    void Show_Scanning(bool scanning);
    void Initialize();
    void Load_V1(TXmlFile* file);
    void Update_Tree();

    QTreeWidget* d_tree;
    QLabel* d_progress;
    QToolButton* d_refresh;
    TBackgroundScan* d_scan;
    bool d_scan_stopped = false;
    std::vector<TRequireEntry> d_entries;
    int d_wait_limit = TRequirementScan::Default_Wait_Ms;
    TScanReport d_scan_report;
};

#endif
