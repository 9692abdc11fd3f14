#include "backgroundscan.h"

#include <QtConcurrent>

TBackgroundScan::TBackgroundScan(QObject* parent) : QObject(parent)
{
    connect(&d_watcher, &QFutureWatcher<void>::finished, this, &TBackgroundScan::Scan_Ended);
}

TBackgroundScan::~TBackgroundScan()
{
    Stop_Worker();
}

// Progress is passed to this object's thread; what a replaced scan still
// reports is dropped there.
void TBackgroundScan::Start(const QString& shared_libs_path, const QStringList& targets,
                            int wait_ms)
{
    Stop_Worker();
    auto scan = std::make_shared<TRequirementScan>(wait_ms);
    const TRequirementScan* current = scan.get();
    scan->Set_Progress([this, current](int done, int total) {
        QMetaObject::invokeMethod(
            this,
            [this, current, done, total] {
                if (d_scan.get() == current && d_running)
                    emit Progress(done, total);
            },
            Qt::QueuedConnection);
    });
    d_scan = scan;
    d_running = true;
    d_watcher.setFuture(QtConcurrent::run([scan, shared_libs_path, targets]
                                          { scan->Scan(shared_libs_path, targets); }));
}

void TBackgroundScan::Stop()
{
    if (!d_running)
        return;
    Stop_Worker();
    emit Stopped();
}

void TBackgroundScan::Stop_Worker()
{
    if (!d_running)
        return;
    d_scan->Stop();
    d_watcher.waitForFinished();
    d_running = false;
}

void TBackgroundScan::Scan_Ended()
{
    if (!d_running)
        return;
    d_running = false;
    emit Finished(d_scan->Entries(), d_scan->Report());
}
