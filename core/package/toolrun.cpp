#include "package/toolrun.h"

#include <QStandardPaths>

#include "process/programrun.h"

namespace
{
const int Said_Lines = 6;

// What the tool tells: a signature, a key, a repository's few lines.
const qint64 Max_Tool_Output = 16 * 1024 * 1024;

QString Problem(const QString& program, const TProgramRun& run, int wait_ms)
{
    switch (run.Outcome)
    {
    case TProgramRun::Not_Started:
        return QString("\"%1\" could not be started").arg(program);
    case TProgramRun::Timed_Out:
        return QString("%1 did not finish within %2 s and was stopped")
            .arg(program)
            .arg(wait_ms / 1000);
    case TProgramRun::Too_Much_Output:
        return QString("%1 %2").arg(program, Run_Problem(run.Outcome, Max_Tool_Output));
    default:
        return run.Errors;
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
    TToolRun tool;
    const QString found = QStandardPaths::findExecutable(program);
    if (found.isEmpty())
    {
        tool.Errors = QString("\"%1\" is not on PATH").arg(program);
        return tool;
    }
    TProgramCall call;
    call.Program = found;
    call.Arguments = arguments;
    call.Wait_Ms = wait_ms;
    call.Input = input;
    call.Without_Terminal = true;
    call.Max_Output = Max_Tool_Output;
    const TProgramRun run = Run_Program(call);
    tool.Ok = run.Outcome == TProgramRun::Succeeded;
    tool.Output = run.Output;
    tool.Errors = Problem(program, run, wait_ms);
    return tool;
}
