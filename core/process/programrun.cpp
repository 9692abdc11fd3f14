#include "process/programrun.h"

#include <QElapsedTimer>

#include "process/groupprocess.h"

namespace
{
// How often a waiting run looks whether it should stop.
const int Poll_Ms = 20;

// Reads what the program printed so far, within the call's limits.
class TRunReader
{
public:
    TRunReader(TGroupProcess* process, const TProgramCall& call)
        : d_process(process), d_call(call)
    {
    }

    // False once the output passed its limit.
    bool Read()
    {
        d_output += d_process->readAllStandardOutput();
        const QByteArray errors = d_process->readAllStandardError();
        d_errors += errors.left(TProgramCall::Max_Errors - d_errors.size());
        return d_output.size() <= d_call.Max_Output;
    }

    // Zero bytes too: some programs end their entries with them.
    QString Output() const { return QString::fromUtf8(d_output.constData(), d_output.size()); }
    QString Errors() const { return QString::fromLocal8Bit(d_errors); }

private:
    TGroupProcess* const d_process;
    const TProgramCall& d_call;
    QByteArray d_output;
    QByteArray d_errors;
};

TProgramRun Ended(TGroupProcess* process, TProgramRun::TOutcome outcome)
{
    process->Stop_Group();
    return {outcome, QString(), -1, QString()};
}

int Next_Wait(const TProgramCall& call, const QElapsedTimer& waited)
{
    if (call.Wait_Ms < 0)
        return Poll_Ms;
    return static_cast<int>(qBound<qint64>(1, call.Wait_Ms - waited.elapsed(), Poll_Ms));
}
}

TProgramRun Run_Program(const TProgramCall& call)
{
    TGroupProcess process(call.Without_Terminal);
    if (call.Merge_Errors)
        process.setProcessChannelMode(QProcess::MergedChannels);
    if (!call.Folder.isEmpty())
        process.setWorkingDirectory(call.Folder);
    process.setProcessEnvironment(call.Environment);
    process.start(call.Program, call.Arguments);
    if (!process.waitForStarted(-1))
        return {TProgramRun::Not_Started, QString(), -1, QString()};
    process.write(call.Input);
    process.closeWriteChannel();
    TRunReader reader(&process, call);
    QElapsedTimer waited;
    waited.start();
    while (process.state() != QProcess::NotRunning)
    {
        // Once the program closed its output, waiting for more returns at once.
        if (!process.waitForReadyRead(Next_Wait(call, waited)) &&
            process.state() != QProcess::NotRunning)
            process.waitForFinished(Next_Wait(call, waited));
        if (!reader.Read())
            return Ended(&process, TProgramRun::Too_Much_Output);
        if (call.Stop != nullptr && *call.Stop)
            return Ended(&process, TProgramRun::Stopped);
        if (call.Wait_Ms >= 0 && waited.elapsed() >= call.Wait_Ms)
            return Ended(&process, TProgramRun::Timed_Out);
    }
    if (!reader.Read())
        return Ended(&process, TProgramRun::Too_Much_Output);
    process.Stop_Group();
    if (process.exitStatus() != QProcess::NormalExit)
        return {TProgramRun::Failed, QString(), -1, reader.Errors()};
    const TProgramRun::TOutcome outcome =
        process.exitCode() == 0 ? TProgramRun::Succeeded : TProgramRun::Failed;
    return {outcome, reader.Output(), process.exitCode(), reader.Errors()};
}

TProgramRun Run_Program(const QString& program, const QStringList& arguments, int wait_ms,
                        const std::atomic<bool>* stop)
{
    TProgramCall call;
    call.Program = program;
    call.Arguments = arguments;
    call.Wait_Ms = wait_ms;
    call.Stop = stop;
    return Run_Program(call);
}

QString Run_Problem(TProgramRun::TOutcome outcome, qint64 max_output)
{
    switch (outcome)
    {
    case TProgramRun::Not_Started:
        return "could not be started";
    case TProgramRun::Timed_Out:
        return "did not finish in time";
    case TProgramRun::Stopped:
        return "was stopped";
    case TProgramRun::Too_Much_Output:
        return QString("printed more than %1 bytes, and was stopped").arg(max_output);
    case TProgramRun::Failed:
        return "failed";
    case TProgramRun::Succeeded:
        break;
    }
    return QString();
}
