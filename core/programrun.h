#ifndef PROGRAMRUN_H
#define PROGRAMRUN_H

#include <QString>
#include <QStringList>

// How one run of an external program ended.
struct TProgramRun
{
    enum TOutcome
    {
        Succeeded,    // normal exit with code 0
        Failed,       // crashed or exited with another code
        Not_Started,  // not found on PATH or not executable
        Timed_Out     // still running when the wait ended; it has been stopped
    };

    TOutcome Outcome;
    QString Output;  // standard output as UTF-8; empty unless it succeeded
};

// Runs `program`, found through PATH, with `arguments` and the caller's
// environment and working folder, waits up to `wait_ms` for it to finish and
// stops it if it has not.
TProgramRun Run_Program(const QString& program, const QStringList& arguments, int wait_ms);

#endif
