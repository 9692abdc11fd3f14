#ifndef INTERRUPTGUARD_H
#define INTERRUPTGUARD_H

#include <signal.h>

#include <atomic>

class TPackageRun;

// While a guard lives, Ctrl+C (and SIGTERM) do not end the tool: they set
// Interrupted() and cancel `run` when one is given, so that the programs the
// tool runs, each in a process group of its own, are stopped with all they
// started, and the failure is told.
class TInterruptGuard
{
public:
    explicit TInterruptGuard(TPackageRun* run = nullptr);
    ~TInterruptGuard();
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

    static const std::atomic<bool>& Interrupted();

private:
    struct sigaction d_old_int = {};
    struct sigaction d_old_term = {};
};

#endif
