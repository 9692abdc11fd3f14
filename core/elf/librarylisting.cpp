#include "librarylisting.h"

#include "elf/lddoutput.h"

namespace
{
QString Ldd_Problem(TProgramRun::TOutcome outcome)
{
    switch (outcome)
    {
    case TProgramRun::Not_Started:
        return "\"ldd\" could not be started";
    case TProgramRun::Timed_Out:
        return "\"ldd\" did not finish in time";
    case TProgramRun::Stopped:
        return "the listing was stopped";
    case TProgramRun::Too_Much_Output:
        return "\"ldd\" " + Run_Problem(outcome);
    case TProgramRun::Failed:
    case TProgramRun::Succeeded:
        break;
    }
    return "\"ldd\" could not list its libraries";
}
}

TLibraryListing List_Libraries(const TLibraryResolver& resolver, const QString& file, int wait_ms,
                               const std::atomic<bool>* stop)
{
    TLibraryListing listing;
    const TResolution resolution = resolver.Resolve(file);
    if (resolution.Outcome == TResolution::Resolved)
    {
        listing.Libraries = {true, QString(), resolution.Libraries};
        return listing;
    }
    if (resolution.Outcome == TResolution::Unreadable || resolution.Outcome == TResolution::Refused)
    {
        listing.Refused = resolution.Outcome == TResolution::Refused;
        listing.Libraries.Error = resolution.Reason;
        return listing;
    }
    listing.Ldd_Asked = true;
    const TProgramRun run = Run_Program("ldd", {file}, wait_ms, stop);
    listing.Ldd_Outcome = run.Outcome;
    if (run.Outcome == TProgramRun::Succeeded)
        listing.Libraries = {true, QString(), Ldd_Libraries(run.Output)};
    else if (run.Outcome == TProgramRun::Failed)
        listing.Libraries.Error =
            QString("\"%1\" cannot be examined: %2").arg(file, resolution.Reason);
    else
        listing.Libraries.Error =
            QString("\"%1\" cannot be examined: %2").arg(file, Ldd_Problem(run.Outcome));
    return listing;
}
