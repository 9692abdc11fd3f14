#ifndef SCANREPORT_H
#define SCANREPORT_H

#include <QString>
#include <QStringList>

// What went wrong during one requirements scan, for telling the user.
struct TScanReport
{
    QStringList Not_Started;  // programs that could not be started
    QStringList Timed_Out;    // programs that did not finish in time
    QStringList Missing_Targets;  // targets without a folder to scan
    int Files_Not_Examined = 0;
    bool No_Shared_Libs_Path = false;  // there was no folder to scan at all
};

// Notes that `program` could not be started or did not finish in time, or
// that `target` has no folder; each is named once however often it happened.
void Note_Not_Started(TScanReport& report, const QString& program);
void Note_Timed_Out(TScanReport& report, const QString& program);
void Note_Missing_Target(TScanReport& report, const QString& target);

// Why the scan was incomplete, in a few words; empty when it was complete.
QString Scan_Problems(const TScanReport& report);

// One status line: how many packages were found and, when the scan was
// incomplete, why.
QString Scan_Summary(const TScanReport& report, int packages);

#endif
