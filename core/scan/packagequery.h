#ifndef PACKAGEQUERY_H
#define PACKAGEQUERY_H

#include <QHash>
#include <QString>
#include <QStringList>

#include <atomic>
#include <vector>

#include "process/programrun.h"

// What the RPM database answered for one library.
struct TPackageAnswer
{
    enum TKind
    {
        Unknown,     // no answer: "rpm" could not run or its output could not be read
        Unprovided,  // no installed package provides it
        Provided
    };

    TKind Kind = Unknown;
    QString Package;  // for Provided; empty when the answer has another form
};

// The answers to one or more "rpm -q --whatprovides" runs.
struct TPackageAnswers
{
    QHash<QString, TPackageAnswer> By_Library;
    std::vector<TProgramRun::TOutcome> Failed_Runs;  // outcomes of runs that gave no answers
};

// The argument placed after each library: a capability no package provides,
// whose answer marks where the previous library's answer ends.
extern const char* const Answer_End;

// The arguments of one run asking about `libraries`.
QStringList Package_Query_Arguments(const QStringList& libraries);

// Splits the output of one run into the answers for `libraries`, in order;
// all Unknown when the output does not hold one answer per library.
std::vector<TPackageAnswer> Read_Package_Answers(const QString& output,
                                                 const QStringList& libraries);

// Asks "rpm" about every library, many per run, each run waited for up to
// `wait_ms` and stopped soon after `stop` is set.
TPackageAnswers Query_Packages(const QStringList& libraries, int wait_ms,
                               const std::atomic<bool>* stop);

#endif
