#ifndef BACKGROUNDSCAN_H
#define BACKGROUNDSCAN_H

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

#include "scan/requireentry.h"
#include "scan/requirementscan.h"
#include "scan/scanreport.h"

// A requirements scan on a worker thread, so that a window stays responsive
// while it runs. Its signals arrive on the thread that owns this object.
class TBackgroundScan : public QObject
{
    Q_OBJECT

public:
    explicit TBackgroundScan(QObject* parent);
    // Stops a running scan and waits for it, without any signal.
    ~TBackgroundScan() override;

    // Starts a scan of the subfolders of `shared_libs_path` named by
    // `targets`; a running one is stopped first.
    void Start(const QString& shared_libs_path, const QStringList& targets, int wait_ms);
    // Stops a running scan, waits until its worker has ended, and emits
    // Stopped; its results are dropped.
    void Stop();
    bool Is_Running() const { return d_running; }

signals:
    void Progress(int done, int total);
    void Finished(const TRequireEntries& entries, const TScanReport& report);
    void Stopped();

private slots:
    void Scan_Ended();

private:
    void Stop_Worker();

    std::shared_ptr<TRequirementScan> d_scan;
    QFutureWatcher<void> d_watcher;
    bool d_running = false;
};

#endif
