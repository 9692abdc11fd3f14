#include "package/loggedbuild.h"

#include <QFile>

#include "process/groupprocess.h"

namespace
{
const int Poll_Ms = 100;
const int Grace_Ms = 5000;
// A longer line is passed on in pieces of this size.
const int Max_Line = 64 * 1024;
}

TLoggedBuild::TLoggedBuild(const QStringList& arguments, const QString& log, TLineSink line_sink,
                           const QProcessEnvironment& environment)
    : d_arguments(arguments), d_log(log), d_line_sink(std::move(line_sink)),
      d_environment(environment)
{
}

void TLoggedBuild::Pass_On(const QByteArray& bytes)
{
    d_partial_line += bytes;
    int end = d_partial_line.indexOf('\n');
    while (end >= 0 || d_partial_line.size() > Max_Line)
    {
        if (end < 0 || end > Max_Line)
        {
            d_line_sink(QString::fromLocal8Bit(d_partial_line.left(Max_Line)));
            d_partial_line.remove(0, Max_Line);
            end = d_partial_line.indexOf('\n');
            continue;
        }
        const QString line = QString::fromLocal8Bit(d_partial_line.left(end));
        d_partial_line.remove(0, end + 1);
        if (line.startsWith("Wrote: "))
            d_written.append(line.mid(7).trimmed());
        d_line_sink(line);
        end = d_partial_line.indexOf('\n');
    }
}

TBuildOutcome TLoggedBuild::Run(const std::atomic_bool& cancel)
{
    TBuildOutcome outcome;
    QFile log(d_log);
    if (!log.open(QIODevice::WriteOnly | QIODevice::Truncate))
    {
        outcome.Error = QString("cannot write the build log \"%1\": %2").arg(d_log, log.errorString());
        return outcome;
    }
    TGroupProcess build;
    build.setProcessChannelMode(QProcess::MergedChannels);
    build.setProcessEnvironment(d_environment);
    build.start("rpmbuild", d_arguments);
    if (!build.waitForStarted(-1))
    {
        outcome.Error = "rpmbuild could not be started: " + build.errorString();
        return outcome;
    }
    bool cancelled = false;
    while (build.state() != QProcess::NotRunning)
    {
        if (cancel && !cancelled)
        {
            cancelled = true;
            build.Stop_Group(Grace_Ms);
        }
        build.waitForReadyRead(Poll_Ms);
        const QByteArray bytes = build.readAll();
        log.write(bytes);
        log.flush();
        Pass_On(bytes);
    }
    const QByteArray rest = build.readAll() + (d_partial_line.isEmpty() ? "" : "\n");
    log.write(rest);
    Pass_On(rest);
    outcome.Written = d_written;
    if (cancelled)
        outcome.End = TBuildOutcome::Cancelled;
    else if (build.exitStatus() == QProcess::NormalExit && build.exitCode() == 0)
        outcome.End = TBuildOutcome::Built;
    else
    {
        outcome.End = TBuildOutcome::Failed;
        outcome.Error = QString("rpmbuild failed (exit status %1)").arg(build.exitCode());
    }
    return outcome;
}
