#include "packagecommand.h"

#include "interruptguard.h"

bool Run_Package_Command(TPackageRun* run, QTextStream& out, QTextStream& err,
                         const std::function<void()>& preflight_passed)
{
    const TInterruptGuard guard(run);
    const QStringList problems = run->Preflight();
    for (const QString& warning : run->Warnings())
        err << "kestrelvantory-cli: warning: " << warning << "\n";
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
