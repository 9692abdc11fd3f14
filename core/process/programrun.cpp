#include "process/programrun.h"

#include <QElapsedTimer>
#include <QProcess>

namespace
{
// How often a waiting run looks whether it should stop.
const int Poll_Ms = 50;

TProgramRun Ended(QProcess* process, TProgramRun::TOutcome outcome)
{
    process->kill();
    process->waitForFinished(-1);
    return {outcome, QString()};
}
}

TProgramRun Run_Program(const QString& program, const QStringList& arguments, int wait_ms,
                        const std::atomic<bool>* stop)
{
    QProcess process;
    process.start(program, arguments);
    process.closeWriteChannel();
    QElapsedTimer waited;
    waited.start();
    while (!process.waitForFinished(
        static_cast<int>(qBound<qint64>(1, wait_ms - waited.elapsed(), Poll_Ms))))
    {
        if (process.error() == QProcess::FailedToStart)
            return {TProgramRun::Not_Started, QString()};
        if (stop != nullptr && *stop)
            return Ended(&process, TProgramRun::Stopped);
        if (waited.elapsed() >= wait_ms)
            return Ended(&process, TProgramRun::Timed_Out);
    }
    if (process.exitStatus() != QProcess::NormalExit)
        return {TProgramRun::Failed, QString()};
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    const TProgramRun::TOutcome outcome =
        process.exitCode() == 0 ? TProgramRun::Succeeded : TProgramRun::Failed;
    return {outcome, output, process.exitCode()};
}
