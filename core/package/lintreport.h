#ifndef LINTREPORT_H
#define LINTREPORT_H

#include <QString>
#include <QStringList>

#include <atomic>
#include <map>

// What rpmlint found in a package, counted by check name.
struct TLintFindings
{
    std::map<QString, int> Errors;
    std::map<QString, int> Warnings;
};

// The findings in rpmlint's output: its "<package>: E: <check> ..." and
// "<package>: W: <check> ..." lines.
TLintFindings Read_Lint_Output(const QString& output);

// The findings as lines for a person: the totals, then each kind with its
// count, errors first. A kind that no spec of a bundled program can avoid
// says why.
QStringList Lint_Report_Lines(const TLintFindings& findings);

// Runs rpmlint on `rpm` and reports its findings; it is stopped once `stop`
// is set. Without rpmlint, or when it cannot tell, `notes` says so and the
// report is empty.
QStringList Lint_Package(const QString& rpm, QStringList* notes,
                         const std::atomic<bool>* stop = nullptr);

#endif
