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
    QStringList Refused_Files;  // why each file cut short or beyond the limits was not examined
    bool No_Shared_Libs_Path = false;  // there was no folder to scan at all
    int Libraries_Answered = 0;  // distinct libraries the RPM database answered for
    QStringList Unprovided_Libraries;  // those of them that no installed package provides
};

// Notes that `program` could not be started or did not finish in time, or
// that `target` has no folder; each is named once however often it happened.
void Note_Not_Started(TScanReport& report, const QString& program);
void Note_Timed_Out(TScanReport& report, const QString& program);
void Note_Missing_Target(TScanReport& report, const QString& target);

// True when the RPM database answered for libraries but provides none of
// them: not an RPM-based host, or an empty database.
bool Database_Knows_None(const TScanReport& report);

// Why the scan was incomplete, in a few words; empty when it was complete.
// A database that knows none of the libraries makes the scan incomplete.
QString Scan_Problems(const TScanReport& report);

// The libraries that no installed package provides, counted and named; empty
// when there are none, or when the database knows none of the libraries.
QString Scan_Notes(const TScanReport& report);

// "Scanning requirements: 37 of 90 files", while a scan runs.
QString Scan_Progress_Text(int done, int total);

// One status line: how many packages were found, when the scan was
// incomplete why, and its notes.
QString Scan_Summary(const TScanReport& report, int packages);

#endif
