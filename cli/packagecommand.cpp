#include "packagecommand.h"

#include <signal.h>

namespace
{
TPackageRun* Interrupted_Run = nullptr;

void On_Interrupt(int)
{
    if (Interrupted_Run != nullptr)
        Interrupted_Run->Cancel();
}

// While it lives, Ctrl+C (and SIGTERM) cancel `run` instead of ending the
// tool, so that the build's process group is stopped and the report told.
class TInterruptGuard
{
public:
    explicit TInterruptGuard(TPackageRun* run)
    {
        Interrupted_Run = run;
        struct sigaction action = {};
        action.sa_handler = On_Interrupt;
        sigemptyset(&action.sa_mask);
        sigaction(SIGINT, &action, &d_old_int);
        sigaction(SIGTERM, &action, &d_old_term);
    }
    ~TInterruptGuard()
    {
        sigaction(SIGINT, &d_old_int, nullptr);
        sigaction(SIGTERM, &d_old_term, nullptr);
        Interrupted_Run = nullptr;
    }
    TInterruptGuard(const TInterruptGuard&) = delete;
    TInterruptGuard& operator=(const TInterruptGuard&) = delete;

private:
    struct sigaction d_old_int = {};
    struct sigaction d_old_term = {};
};
}

bool Run_Package_Command(TPackageRun* run, QTextStream& out, QTextStream& err,
                         const std::function<void()>& preflight_passed)
{
    const TInterruptGuard guard(run);
    const QStringList problems = run->Preflight();
    if (!problems.isEmpty())
    {
        err << "kestrelvantory-cli: nothing was built; the preflight found:\n";
        for (const QString& problem : problems)
            err << "  " << problem << "\n";
        return false;
    }
    preflight_passed();
    run->Set_Line_Sink([&err](const QString& line) { err << line << "\n" << Qt::flush; });
    run->Set_Step_Sink([&err](int step, int steps, const QString& what) {
        err << "kestrelvantory-cli: [" << step << "/" << steps << "] " << what << "\n"
            << Qt::flush;
    });
    const TPackageReport report = run->Run();
    for (const QString& line : Package_Report_Lines(report))
        out << line << "\n";
    return report.Ok;
}
