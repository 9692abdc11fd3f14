#ifndef PROGRESSRUN_H
#define PROGRESSRUN_H

#include <QString>

#include <atomic>
#include <functional>

#include "bundle/bundle.h"

class QProgressDialog;
class QWidget;

// Long work on the thread pool, with a progress dialog modal to the window
// that names the file the work is at and lets the user stop it. The caller
// waits in a local event loop, so the window keeps drawing meanwhile.
class TProgressRun
{
public:
    TProgressRun(QWidget* window, const QString& title);
    ~TProgressRun();

    // Runs `work` off the GUI thread and returns once it has ended. The
    // progress handed to it shows each file and answers false once the user
    // has pressed "Cancel".
    void Run(const std::function<void(const TBundleProgress&)>& work);

    // Set once the user has pressed "Cancel", for the programs the work runs.
    const std::atomic<bool>& Cancelled() const { return d_cancelled; }

private:
    QProgressDialog* d_dialog;
    std::atomic<bool> d_cancelled{false};
};

#endif
