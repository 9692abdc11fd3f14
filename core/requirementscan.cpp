#include "requirementscan.h"

#include <QDir>

#include "dependencyoutput.h"
#include "requirelist.h"

TRequirementScan::TRequirementScan(int wait_ms) : d_wait_ms(wait_ms)
{
}

void TRequirementScan::Scan(const QString& shared_libs_path, const QStringList& targets)
{
    const QStringList folders =
        QDir(shared_libs_path).entryList(QDir::AllDirs | QDir::NoDotAndDotDot);
    for (const QString& name : folders)
    {
        if (targets.contains(name))
            Process_Directory(shared_libs_path + "/" + name);
    }
    for (const QString& target : targets)
    {
        if (!folders.contains(target))
            Note_Missing_Target(d_report, target);
    }
}

void TRequirementScan::Process_Directory(const QString& path)
{
    const QStringList files = QDir(path).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : files)
    {
        if (!Process_File(path + "/" + name))
            ++d_report.Files_Not_Examined;
    }
}

bool TRequirementScan::Process_File(const QString& path)
{
    const TProgramRun listing = Run("ldd", {path});
    if (listing.Outcome != TProgramRun::Succeeded)
        return false;
    for (const QString& library : Scanned_Libraries(Ldd_Libraries(listing.Output)))
    {
        if (Has_Library(d_entries, library))
            continue;
        const TProgramRun query = Run("rpm", {"-q", "--whatprovides", library});
        if (query.Outcome != TProgramRun::Succeeded)
            return false;
        const QString package = Providing_Package(query.Output);
        if (!package.isEmpty())
            Add_Library(d_entries, package, library);
    }
    return true;
}

TProgramRun TRequirementScan::Run(const QString& program, const QStringList& arguments)
{
    const TProgramRun run = Run_Program(program, arguments, d_wait_ms);
    if (run.Outcome == TProgramRun::Not_Started)
        Note_Not_Started(d_report, program);
    else if (run.Outcome == TProgramRun::Timed_Out)
        Note_Timed_Out(d_report, program);
    return run;
}
