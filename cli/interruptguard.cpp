#include "interruptguard.h"

#include "package/packagerun.h"

namespace
{
std::atomic<bool> Interrupt_Seen{false};
TPackageRun* Interrupted_Run = nullptr;

void On_Interrupt(int)
{
    Interrupt_Seen = true;
    if (Interrupted_Run != nullptr)
        Interrupted_Run->Cancel();
}
}

TInterruptGuard::TInterruptGuard(TPackageRun* run)
{
    Interrupted_Run = run;
    struct sigaction action = {};
    action.sa_handler = On_Interrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &d_old_int);
    sigaction(SIGTERM, &action, &d_old_term);
}

TInterruptGuard::~TInterruptGuard()
{
    sigaction(SIGINT, &d_old_int, nullptr);
    sigaction(SIGTERM, &d_old_term, nullptr);
    Interrupted_Run = nullptr;
}

const std::atomic<bool>& TInterruptGuard::Interrupted()
{
    return Interrupt_Seen;
}
