#ifndef PROGRAMRUN_H
#define PROGRAMRUN_H

#include <QByteArray>
#include <QProcessEnvironment>
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
        Stopped,      // still running when the caller asked to stop; it has been stopped
        Too_Much_Output  // printed more than its limit; it has been stopped
    };

    TOutcome Outcome;
    QString Output;  // standard output as UTF-8, after any normal exit
    int Exit_Code = -1;  // after a normal exit
    QString Errors;  // the beginning of what it printed on standard error
};

// One run of a program, found through PATH, with the caller's environment.
// The program runs in a process group of its own, and is stopped with the
// whole group when the wait ends, when `Stop` is set (from any thread) or
// when it prints more than Max_Output bytes; whatever it started is stopped
// with it, and nothing it printed is kept beyond that limit.
struct TProgramCall
{
    QString Program;
    QStringList Arguments;
    QString Folder;  // where it runs; empty: where this tool runs
    QProcessEnvironment Environment = QProcessEnvironment::systemEnvironment();
    int Wait_Ms = -1;  // -1: as long as it takes
    const std::atomic<bool>* Stop = nullptr;
    bool Merge_Errors = false;  // standard error is kept in Output too
    QByteArray Input;  // the whole of its standard input
    bool Without_Terminal = false;  // in a session of its own, with no terminal to ask on
    qint64 Max_Output = Default_Max_Output;

    static constexpr qint64 Default_Max_Output = 64 * 1024 * 1024;
    // How much of standard error is kept in Errors.
    static constexpr int Max_Errors = 64 * 1024;
};

TProgramRun Run_Program(const TProgramCall& call);

// The common case: standard output kept, for at most `wait_ms`.
TProgramRun Run_Program(const QString& program, const QStringList& arguments, int wait_ms,
                        const std::atomic<bool>* stop = nullptr);

// The outcome in plain words, such as "did not finish in time"; empty for
// Succeeded. `max_output` is the call's limit.
QString Run_Problem(TProgramRun::TOutcome outcome,
                    qint64 max_output = TProgramCall::Default_Max_Output);

#endif
