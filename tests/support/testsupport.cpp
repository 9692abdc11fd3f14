#include "testsupport.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <ctime>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

namespace
{
// The processor time this process has used, all its threads together: other
// programs busy on the machine take none of it.
qint64 Process_Time_Ns()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

qint64 Run_Ns(const std::function<void()>& work)
{
    const qint64 start = Process_Time_Ns();
    work();
    return Process_Time_Ns() - start;
}
}

namespace Test
{
TRun Run(const QString& program, const QStringList& arguments,
         const QProcessEnvironment& environment, const QString& folder)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    process.closeWriteChannel();
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, QString(), program + " did not finish"};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

QString Without_Warnings(const QString& errors)
{
    QStringList lines = errors.split('\n');
    while (!lines.isEmpty() && lines.first().startsWith("kestrelvantory-cli: warning: "))
        lines.removeFirst();
    return lines.join('\n');
}

double Time_Ratio(const std::function<void()>& smaller, const std::function<void()>& larger)
{
    qint64 small = std::numeric_limits<qint64>::max();
    qint64 large = std::numeric_limits<qint64>::max();
    for (int run = 0; run < 5; ++run)
    {
        small = qMin(small, Run_Ns(smaller));
        large = qMin(large, Run_Ns(larger));
    }
    return static_cast<double>(large) / static_cast<double>(qMax<qint64>(small, 1));
}

QByteArray Read_File(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    return file.readAll();
}

void Write_File(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void Make_Desktop_Files(const QString& top)
{
    QVERIFY(QDir().mkpath(top + "/desktop_menu"));
    Write_File(top + "/desktop_menu/qtdemo.desktop",
               "[Desktop Entry]\nType=Application\nName=Qt demo\nExec=qtdemo\n");
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkCyan);
    QVERIFY(icon.save(top + "/desktop_menu/qtdemo.png"));
}

TFreshHome::TFreshHome()
    : d_old_home(qgetenv("HOME")), d_old_config(qgetenv("XDG_CONFIG_HOME"))
{
    qputenv("HOME", d_folder.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (d_folder.path() + "/.config").toLocal8Bit());
}

TFreshHome::~TFreshHome()
{
    qputenv("HOME", d_old_home);
    qputenv("XDG_CONFIG_HOME", d_old_config);
}

QString TFreshHome::Path() const
{
    return d_folder.path();
}

QString TFreshHome::Data_Folder() const
{
    return d_folder.path() + "/.kestrelvantory";
}

namespace
{
const uid_t Nobody = 65534;
}

TUnprivileged::TUnprivileged()
{
    if (geteuid() != 0)
        return;
    // The saved IDs stay 0 so that the destructor can return to root.
    if (setresgid(Nobody, Nobody, 0) != 0 || setresuid(Nobody, Nobody, 0) != 0)
        qFatal("cannot drop privileges");
    d_dropped = true;
}

TUnprivileged::~TUnprivileged()
{
    if (d_dropped && (setresuid(0, 0, 0) != 0 || setresgid(0, 0, 0) != 0))
        qFatal("cannot return to root");
}

TFileSizeLimit::TFileSizeLimit(long bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    d_old_soft = static_cast<long>(limit.rlim_cur);
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

TFileSizeLimit::~TFileSizeLimit()
{
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = static_cast<rlim_t>(d_old_soft);
    setrlimit(RLIMIT_FSIZE, &limit);
}

TDialogAnswers::TDialogAnswers(const QStringList& answers) : d_answers(answers)
{
    TFileDialog::Set_Answerer([this](const TFileDialogRequest& request) {
        Requests.append(request);
        return d_answers.isEmpty() ? QString() : d_answers.takeFirst();
    });
}

TDialogAnswers::~TDialogAnswers()
{
    TFileDialog::Set_Answerer(TFileDialog::TAnswerer());
}
}
