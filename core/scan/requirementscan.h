#ifndef REQUIREMENTSCAN_H
#define REQUIREMENTSCAN_H

#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <vector>

#include "scan/requireentry.h"
#include "scan/scanreport.h"

// One requirements scan: the libraries every file in the target folders
// loads, found as the loader finds them (by reading the files, with "ldd"
// for what reading cannot settle), several files at a time, and then the
// packages that provide them, asked of "rpm" many libraries per run and each
// library once. The list is built in the order of discovery: files in
// folder order, libraries in load order.
class TRequirementScan
{
public:
    // How long each program may take unless told otherwise, in milliseconds.
    static const int Default_Wait_Ms = 30000;

    // Told after each file examined: how many are done of how many. Called
    // from the scan's worker threads.
    using TProgress = std::function<void(int done, int total)>;

    // `wait_ms`: how long each run of "ldd" or "rpm" may take.
    explicit TRequirementScan(int wait_ms);

    void Set_Progress(const TProgress& progress);

    // Scans the subfolders of `shared_libs_path` named by `targets`.
    void Scan(const QString& shared_libs_path, const QStringList& targets);

    // Asks a running Scan, from any thread, to end soon; its results are then
    // incomplete and Was_Stopped() is true.
    void Stop();
    bool Was_Stopped() const;

    // The packages found, in the order of their discovery.
    const TRequireEntries& Entries() const { return d_entries; }
    const TScanReport& Report() const { return d_report; }

private:
    struct TFileLibraries
    {
        QString Path;
        bool Examined = false;
        QStringList Libraries;
    };

    std::vector<TFileLibraries> Examine_Files(const QStringList& files);
    void Add_Packages(const std::vector<TFileLibraries>& files);

    int d_wait_ms;
    TProgress d_progress;
    std::atomic<bool> d_stop{false};
    TRequireEntries d_entries;
    TScanReport d_report;
};

#endif
