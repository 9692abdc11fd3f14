#include "programrun.h"

#include <QProcess>

TProgramRun Run_Program(const QString& program, const QStringList& arguments, int wait_ms)
{
    QProcess process;
    process.start(program, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(wait_ms))
    {
        if (process.error() == QProcess::FailedToStart)
            return {TProgramRun::Not_Started, QString()};
        process.kill();
        process.waitForFinished(-1);
        return {TProgramRun::Timed_Out, QString()};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return {TProgramRun::Failed, QString()};
    return {TProgramRun::Succeeded, QString::fromUtf8(process.readAllStandardOutput())};
}
