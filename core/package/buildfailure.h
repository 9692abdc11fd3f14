#ifndef BUILDFAILURE_H
#define BUILDFAILURE_H

#include <QString>
#include <QStringList>

// Why rpmbuild failed, as its log tells it.
struct TBuildFailure
{
    QString Step;          // "%prep", "%build", "%install", "the file list (%files)",
                           // "the checks after %install"; empty when unknown
    QStringList Quoted;    // the first error lines of the log
    QStringList Fixes;     // what to change, for the causes known
};

// Reads the log of a failed rpmbuild run.
TBuildFailure Explain_Build_Failure(const QString& log);

// The failure as report lines for a person.
QStringList Build_Failure_Lines(const TBuildFailure& failure);

#endif
