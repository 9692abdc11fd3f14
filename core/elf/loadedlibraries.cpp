#include "elf/loadedlibraries.h"

#include <QFileInfo>
#include <QRegularExpression>

#include "programrun.h"

namespace
{
const int Wait_Ms = 30000;

// "name => path (address)" or "name => not found"; the vdso and the
// interpreter have no arrow.
TLoadedLibraries Read_Listing(const QString& listing)
{
    static const QRegularExpression line(
        "^\\s*(\\S+) => (?:not found|(.+) \\(0x[0-9a-fA-F]+\\))\\s*$");
    TLoadedLibraries loaded;
    loaded.Ok = true;
    for (const QString& text : listing.split('\n'))
    {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch())
            loaded.Libraries.push_back({match.captured(1), match.captured(2)});
    }
    return loaded;
}

QString Failure(const QString& file, TProgramRun::TOutcome outcome)
{
    switch (outcome)
    {
    case TProgramRun::Not_Started:
        return "the dependency lister \"ldd\" could not be started";
    case TProgramRun::Timed_Out:
        return QString("\"ldd\" did not finish listing the libraries of \"%1\"").arg(file);
    default:
        return QString("\"ldd\" could not list the libraries of \"%1\" (it is not a dynamically "
                       "linked ELF file)")
            .arg(file);
    }
}
}

TLoadedLibraries Loaded_Libraries(const QString& file)
{
    TLoadedLibraries loaded;
    if (!QFileInfo(file).isFile())
    {
        loaded.Error = QString("\"%1\" is not a file").arg(file);
        return loaded;
    }
    const TProgramRun run = Run_Program("ldd", {QFileInfo(file).absoluteFilePath()}, Wait_Ms);
    if (run.Outcome != TProgramRun::Succeeded)
    {
        loaded.Error = Failure(file, run.Outcome);
        return loaded;
    }
    return Read_Listing(run.Output);
}
