#include "spec/packager.h"

#include <QSettings>

#include <pwd.h>
#include <unistd.h>

#include "process/programrun.h"

const char* const Packager_Settings_Key = "Packager";

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

QString Stored_Packager(const QSettings& settings)
{
    if (settings.contains(Packager_Settings_Key))
        return settings.value(Packager_Settings_Key).toString();
    return Default_Packager();
}
