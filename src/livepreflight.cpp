#include "livepreflight.h"

#include <QtConcurrent>

#include "package/packagerun.h"

TLivePreflight::TLivePreflight(QObject* parent) : QObject(parent)
{
    qRegisterMetaType<TPreflightFindings>();
    connect(&d_watcher, &QFutureWatcher<TPreflightFindings>::finished, this,
            &TLivePreflight::Ended);
}

// Nothing is left running behind the window.
TLivePreflight::~TLivePreflight()
{
    d_watcher.waitForFinished();
}

void TLivePreflight::Check(const TPackageRequest& request)
{
    if (d_watcher.isRunning())
        d_waiting = request;
    else
        Start(request);
}

void TLivePreflight::Start(const TPackageRequest& request)
{
    d_watcher.setFuture(QtConcurrent::run([request] {
        TPackageRun run(request);
        TPreflightFindings findings;
        findings.Problems = run.Preflight();
        findings.Warnings = run.Warnings();
        return findings;
    }));
}

void TLivePreflight::Ended()
{
    const TPreflightFindings findings = d_watcher.result();
    if (d_waiting)
    {
        const TPackageRequest request = *d_waiting;
        d_waiting.reset();
        Start(request);
        return;
    }
    emit Checked(findings);
}
