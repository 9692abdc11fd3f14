#include "spec/packager.h"

#include <pwd.h>
#include <unistd.h>

#include "scan/programrun.h"

namespace
{
const int Git_Wait_Ms = 3000;

QString Git_Setting(const QString& key)
{
    const TProgramRun run = Run_Program("git", {"config", "--get", key}, Git_Wait_Ms);
    return run.Outcome == TProgramRun::Succeeded ? run.Output.simplified() : QString();
}

QString Login_Name()
{
    if (const passwd* entry = ::getpwuid(::geteuid()))
        return QString::fromLocal8Bit(entry->pw_name);
    return qEnvironmentVariable("USER");
}
}

QString Default_Packager()
{
    const QString name = Git_Setting("user.name");
    const QString mail = Git_Setting("user.email");
    if (name.isEmpty() && mail.isEmpty())
        return Login_Name();
    if (mail.isEmpty())
        return name;
    return (name + " <" + mail + ">").trimmed();
}
