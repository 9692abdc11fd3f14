#include "packagemanagers.h"

#include <QDir>
#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "testsupport.h"

namespace Test
{
namespace
{
const int Wait_Ms = 300000;

// The package managers' records in a root, which installing and erasing
// leave behind by design.
const QRegularExpression State(
    "^/(var|var/lib|var/cache|etc|run|tmp)$|^/var/(lib/(rpm|dnf|zypp)|cache|log)(/|$)|"
    "^/etc/(dnf|zypp)(/|$)|^/run/");

// A HOME whose macros point rpm at the database "rpm --root" keeps: on
// Debian rpm's own default is below the user's home.
class TManagerHome
{
public:
    TManagerHome()
    {
        Write_File(d_home.path() + "/.rpmmacros", "%_dbpath /var/lib/rpm\n");
    }
    QProcessEnvironment Environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", d_home.path());
        environment.remove("GNUPGHOME");
        return environment;
    }
    QString Path() const { return d_home.path(); }

private:
    QTemporaryDir d_home;
};

TManagerRun Run_Manager(const QString& program, const QStringList& arguments,
                const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.closeWriteChannel();
    const bool finished = process.waitForFinished(Wait_Ms);
    if (!finished)
        process.kill();
    const QString output = QString::fromLocal8Bit(process.readAll());
    return {finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
            program + " " + arguments.join(' ') + "\n" + output};
}
}

TManagerRun Dnf(const QString& root, const QString& repos_folder, const QString& repository,
                const QStringList& arguments)
{
    const TManagerHome home;
    const QString config = home.Path() + "/dnf.conf";
    Write_File(config, "[main]\ngpgcheck=1\nlocalpkg_gpgcheck=1\ninstall_weak_deps=0\n"
                       "cachedir=/var/cache/dnf\nkeepcache=0\nplugins=0\n");
    const QStringList options = {"-y",
                                 "--installroot", root,
                                 "--config", config,
                                 "--releasever", "1",
                                 "--setopt=reposdir=" + repos_folder,
                                 "--disablerepo=*",
                                 "--enablerepo=" + repository};
    return Run_Manager("dnf", options + arguments, home.Environment());
}

TManagerRun Zypper(const QString& root, const QStringList& arguments)
{
    const TManagerHome home;
    return Run_Manager("zypper",
               QStringList{"--non-interactive", "--gpg-auto-import-keys", "--root", root} +
                   arguments,
               home.Environment());
}

QStringList Root_Tree(const QString& root)
{
    QStringList paths;
    QDirIterator entries(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden |
                                   QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
    {
        const QString path = entries.next().mid(root.size());
        if (!State.match(path).hasMatch())
            paths.append(path);
    }
    paths.sort();
    return paths;
}

void Stop_Gpg_Agents(const QString& folder)
{
    QDirIterator keyrings(folder, {"pubring.kbx"}, QDir::Files | QDir::Hidden,
                          QDirIterator::Subdirectories);
    QStringList homes;
    while (keyrings.hasNext())
        homes.append(QFileInfo(keyrings.next()).path());
    for (const QString& home : homes)
        QProcess::execute("gpgconf", {"--homedir", home, "--kill", "gpg-agent"});
}
}
