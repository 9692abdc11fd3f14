#ifndef PROGRAMRUN_H
#define PROGRAMRUN_H

#include <QString>
#include <QStringList>

#include <atomic>

// How one run of an external program ended.
struct TProgramRun
{
    enum TOutcome
    {
        Succeeded,    // normal exit with code 0
        Failed,       // crashed or exited with another code
        Not_Started,  // not found on PATH or not executable
        Timed_Out,    // still running when the wait ended; it has been stopped
        Stopped       // still running when the caller asked to stop; it has been stopped
    };

    TOutcome Outcome;
    QString Output;  // standard output as UTF-8, after any normal exit
    int Exit_Code = -1;  // after a normal exit
};

// Runs `program`, found through PATH, with `arguments` and the caller's
// environment and working folder, waits up to `wait_ms` for it to finish and
// stops it if it has not. With `stop`, it is also stopped soon after `stop`
// is set, from any thread.
TProgramRun Run_Program(const QString& program, const QStringList& arguments, int wait_ms,
                        const std::atomic<bool>* stop = nullptr);

#endif
