#include "package/buildlock.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

TBuildLock::TBuildLock(const TPackagePlan& plan)
    : d_file(File(plan)), d_package(plan.Name), d_lock(d_file)
{
    // A build may take hours: only a lock whose process has ended is stale.
    d_lock.setStaleLockTime(0);
}

QString TBuildLock::File(const TPackagePlan& plan)
{
    return plan.Top + "/" + plan.Name + ".build.lock";
}

bool TBuildLock::Take(QString* refusal)
{
    if (!QDir().mkpath(QFileInfo(d_file).path()))
    {
        *refusal = QString("cannot make the folder \"%1\" for the build lock")
                       .arg(QFileInfo(d_file).path());
        return false;
    }
    if (d_lock.tryLock(0))
        return true;
    if (d_lock.error() == QLockFile::LockFailedError)
        *refusal = Holder_Text();
    else
        *refusal = QString("cannot make the build lock \"%1\"").arg(d_file);
    return false;
}

// The file's time is when the other run took the lock.
QString TBuildLock::Holder_Text() const
{
    qint64 pid = 0;
    QString host;
    QString program;
    if (!d_lock.getLockInfo(&pid, &host, &program))
        return QString("another build of \"%1\" holds the lock \"%2\"").arg(d_package, d_file);
    const QString started =
        QFileInfo(d_file).lastModified().toString("yyyy-MM-dd HH:mm:ss");
    return QString("another build of \"%1\" is running: %2 (process %3), started %4; wait for "
                   "it to end or stop it, then build again")
        .arg(d_package, program)
        .arg(pid)
        .arg(started);
}
