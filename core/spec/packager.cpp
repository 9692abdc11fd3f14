#include "spec/packager.h"

#include <QSettings>

#include <pwd.h>
#include <unistd.h>

#include "process/programrun.h"

const char* const Packager_Settings_Key = "Packager";

namespace
{
const int Git_Wait_Ms = 3000;

// git's "user.name" and "user.email", from one run of git; the last value of
// each counts, as for "git config --get".
void Git_User(QString* name, QString* mail)
{
    const TProgramRun run =
        Run_Program("git", {"config", "--get-regexp", "^user\\.(name|email)$"}, Git_Wait_Ms);
    if (run.Outcome != TProgramRun::Succeeded)
        return;
    // Each line is "<key> <value>".
    for (const QString& line : run.Output.split('\n', Qt::SkipEmptyParts))
    {
        const QString key = line.section(' ', 0, 0);
        const QString value = line.section(' ', 1).simplified();
        if (key == "user.name")
            *name = value;
        else if (key == "user.email")
            *mail = value;
    }
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
    QString name;
    QString mail;
    Git_User(&name, &mail);
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
