#ifndef BUILDLOCK_H
#define BUILDLOCK_H

#include <QLockFile>
#include <QString>

#include "package/packageplan.h"

// One build of a package at a time, whichever program runs it: a lock file
// in %{_topdir}, beside the build log, that tells which program holds it,
// its process id and since when. A lock left by a process that has ended is
// taken over.
class TBuildLock
{
public:
    explicit TBuildLock(const TPackagePlan& plan);

    // False when another run holds the lock or it cannot be made; `refusal`
    // then says why, naming the run that holds it.
    bool Take(QString* refusal);

    static QString File(const TPackagePlan& plan);

private:
    QString Holder_Text() const;

    const QString d_file;
    const QString d_package;
    QLockFile d_lock;
};

#endif
