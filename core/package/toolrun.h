#ifndef TOOLRUN_H
#define TOOLRUN_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// How one run of a packaging tool (gpg, rpmsign, rpmkeys, createrepo_c)
// ended.
struct TToolRun
{
    bool Ok = false;   // exit status 0
    QString Output;    // standard output
    QString Errors;    // standard error, or why the tool did not run or end

    // The tool's own words for what went wrong: its error output, trimmed to
    // the lines that matter.
    QString Said() const;
};

// Runs `program` from PATH in a session of its own, without a terminal, so
// that nothing it starts can stop to ask for a passphrase; `input` is its
// whole standard input. It is stopped, with everything it started, after
// `wait_ms` or once it prints more than a tool's answer could be.
TToolRun Run_Tool(const QString& program, const QStringList& arguments, int wait_ms,
                  const QByteArray& input = QByteArray());

#endif
