#include "package/toolrun.h"

#include <QProcess>
#include <QStandardPaths>

#include <signal.h>

namespace
{
const int Grace_Ms = 2000;
const int Said_Lines = 6;

void Stop_Group(QProcess* process)
{
    const pid_t group = pid_t(process->processId());
    ::kill(-group, SIGTERM);
    if (!process->waitForFinished(Grace_Ms))
    {
        ::kill(-group, SIGKILL);
        process->waitForFinished(-1);
    }
}
}

QString TToolRun::Said() const
{
    QStringList lines = Errors.split('\n', Qt::SkipEmptyParts);
    for (QString& line : lines)
        line = line.trimmed();
    lines.removeAll(QString());
    return lines.mid(qMax(0, lines.size() - Said_Lines)).join("; ");
}

TToolRun Run_Tool(const QString& program, const QStringList& arguments, int wait_ms,
                  const QByteArray& input)
{
    TToolRun run;
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
    {
        run.Errors = QString("\"%1\" is not on PATH").arg(program);
        return run;
    }
    QProcess process;
    // setsid: a new session has no controlling terminal to prompt on, and
    // its process group can be stopped as a whole.
    process.start("setsid", QStringList{found} + arguments);
    if (!process.waitForStarted(-1))
    {
        run.Errors = QString("\"%1\" could not be started: %2").arg(program, process.errorString());
        return run;
    }
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(wait_ms))
    {
        Stop_Group(&process);
        run.Errors = QString("%1 did not finish within %2 s and was stopped")
                         .arg(program)
                         .arg(wait_ms / 1000);
        return run;
    }
    run.Output = QString::fromLocal8Bit(process.readAllStandardOutput());
    run.Errors = QString::fromLocal8Bit(process.readAllStandardError());
    run.Ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return run;
}
