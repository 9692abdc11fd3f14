#ifndef REQUIREMENTSCAN_H
#define REQUIREMENTSCAN_H

#include <QString>
#include <QStringList>

#include "programrun.h"
#include "requireentry.h"
#include "scanreport.h"

// One requirements scan: every file in the target folders is listed with
// "ldd", and "rpm" is asked which package provides each library it loads.
class TRequirementScan
{
public:
    // How long each program may take unless told otherwise, in milliseconds.
    static const int Default_Wait_Ms = 30000;

    // `wait_ms`: how long each run of "ldd" or "rpm" may take.
    explicit TRequirementScan(int wait_ms);

    // Scans the subfolders of `shared_libs_path` named by `targets`.
    void Scan(const QString& shared_libs_path, const QStringList& targets);

    // The packages found, in the order of their discovery.
    const TRequireEntries& Entries() const { return d_entries; }
    const TScanReport& Report() const { return d_report; }

private:
    void Process_Directory(const QString& path);
    bool Process_File(const QString& path);
    TProgramRun Run(const QString& program, const QStringList& arguments);

    int d_wait_ms;
    TRequireEntries d_entries;
    TScanReport d_report;
};

#endif
