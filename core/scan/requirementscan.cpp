#include "scan/requirementscan.h"

#include <QSet>
#include <QtConcurrent>

#include "scan/packageoutput.h"
#include "elf/librarylisting.h"
#include "scan/requirelist.h"
#include "scan/packagequery.h"
#include "scan/scanfiles.h"

namespace
{
struct TFileWork
{
    QString Path;
    TLibraryListing Listing;
};

void Note_Program(TScanReport* report, const QString& program, TProgramRun::TOutcome outcome)
{
    if (outcome == TProgramRun::Not_Started)
        Note_Not_Started(*report, program);
    else if (outcome == TProgramRun::Timed_Out)
        Note_Timed_Out(*report, program);
}
}

TRequirementScan::TRequirementScan(int wait_ms) : d_wait_ms(wait_ms)
{
}

void TRequirementScan::Set_Progress(const TProgress& progress)
{
    d_progress = progress;
}

void TRequirementScan::Stop()
{
    d_stop = true;
}

bool TRequirementScan::Was_Stopped() const
{
    return d_stop;
}

void TRequirementScan::Scan(const QString& shared_libs_path, const QStringList& targets)
{
    const std::vector<TFileLibraries> files =
        Examine_Files(Scan_Files(shared_libs_path, targets, &d_report));
    if (!d_stop)
        Add_Packages(files);
}

// Files are read on the worker threads; what went wrong is noted afterwards,
// in file order, so the report does not depend on which thread ran first.
std::vector<TRequirementScan::TFileLibraries> TRequirementScan::Examine_Files(
    const QStringList& files)
{
    const TLibraryResolver resolver;
    std::vector<TFileWork> work;
    for (const QString& file : files)
        work.push_back({file, TLibraryListing()});
    std::atomic<int> done{0};
    const int total = files.size();
    QtConcurrent::blockingMap(work, [&](TFileWork& item) {
        if (!d_stop)
            item.Listing = List_Libraries(resolver, item.Path, d_wait_ms, &d_stop);
        const int count = ++done;
        if (d_progress)
            d_progress(count, total);
    });

    std::vector<TFileLibraries> examined;
    for (const TFileWork& item : work)
    {
        if (item.Listing.Ldd_Asked)
            Note_Program(&d_report, "ldd", item.Listing.Ldd_Outcome);
        if (item.Listing.Refused)
            d_report.Refused_Files.append(item.Listing.Libraries.Error);
        examined.push_back({item.Path, item.Listing.Libraries.Ok,
                            Scanned_Libraries(item.Listing.Libraries.Libraries)});
    }
    return examined;
}

// Each library is asked about once, whatever its answer. A library that no
// package provides is named in the report and the file's other libraries
// still count; a library without any answer ends its file, as nothing can
// be said about the file's remaining libraries either.
void TRequirementScan::Add_Packages(const std::vector<TFileLibraries>& files)
{
    QStringList asked;
    QSet<QString> seen;
    for (const TFileLibraries& file : files)
    {
        for (const QString& library : file.Libraries)
        {
            if (!seen.contains(library))
                asked.append(library);
            seen.insert(library);
        }
    }
    const TPackageAnswers answers = Query_Packages(asked, d_wait_ms, &d_stop);
    for (const TProgramRun::TOutcome outcome : answers.Failed_Runs)
        Note_Program(&d_report, "rpm", outcome);
    for (const QString& library : asked)
    {
        const TPackageAnswer::TKind kind = answers.By_Library.value(library).Kind;
        if (kind != TPackageAnswer::Unknown)
            ++d_report.Libraries_Answered;
        if (kind == TPackageAnswer::Unprovided)
            d_report.Unprovided_Libraries.append(library);
    }

    for (const TFileLibraries& file : files)
    {
        if (!file.Examined)
            ++d_report.Files_Not_Examined;
        for (const QString& library : file.Libraries)
        {
            const TPackageAnswer answer = answers.By_Library.value(library);
            if (answer.Kind == TPackageAnswer::Unknown)
            {
                ++d_report.Files_Not_Examined;
                break;
            }
            if (!answer.Package.isEmpty())
                Add_Library(d_entries, answer.Package, library);
        }
    }
}
