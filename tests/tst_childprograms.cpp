// The programs the tool runs (ldd, the QML import scanner, tar, rpm) run in
// process groups of their own, and whatever stops them stops everything they
// started: stand-ins that leave a "sleep" of their own behind, hang, or print
// without end.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#include <atomic>
#include <memory>
#include <thread>

#include <signal.h>
#include <sys/stat.h>

#include "bundle/qmlimports.h"
#include "package/lintreport.h"
#include "package/sourcetarball.h"
#include "package/toolrun.h"
#include "process/programrun.h"

#include "testsupport.h"

namespace
{
// Whether the process `pid` still runs; an ended one nobody has reaped yet
// does not.
bool Runs(const QString& pid)
{
    QFile stat("/proc/" + pid + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) != "Z";
}

// The process id the stand-in wrote into `file`, once it is there.
QString Written_Pid(const QString& file)
{
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 30000)
    {
        QFile written(file);
        if (written.open(QIODevice::ReadOnly))
        {
            const QString pid = QString::fromUtf8(written.readAll()).trimmed();
            if (!pid.isEmpty())
                return pid;
        }
        QTest::qWait(20);
    }
    return QString();
}

// Every process id in `pids` is gone within a few seconds.
void Verify_Gone(const QStringList& pids)
{
    for (const QString& pid : pids)
    {
        QVERIFY(!pid.isEmpty());
        QTRY_VERIFY2_WITH_TIMEOUT(!Runs(pid), qPrintable("process " + pid + " still runs"),
                                  10000);
    }
}

// Sets `flag` after `delay_ms`, from another thread, as a Cancel button or a
// signal handler would.
class TLaterStop
{
public:
    TLaterStop(std::atomic<bool>* flag, int delay_ms)
        : d_thread([flag, delay_ms] {
              std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
              *flag = true;
          })
    {
    }
    ~TLaterStop() { d_thread.join(); }

private:
    std::thread d_thread;
};
}

class TChildProgramsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runsEndWithTheirWholeGroup_data();
    void runsEndWithTheirWholeGroup();
    void finishedRunsTellWhatTheyPrinted();
    void scannerThatNeverEndsIsStoppedAndTold();
    void cancelledTarballLeavesNoneBehind();
    void packagingToolsAreBoundedAndHaveNoTerminal();

private:
    // A shell script `name` in the test's folder, with the process id of a
    // "sleep" it leaves running written to "<name>.pid" first.
    QString Stand_In(const QString& name, const QString& rest);
    QString Pid_File(const QString& name) const { return d_folder.filePath(name + ".pid"); }

    QTemporaryDir d_folder;
};

void TChildProgramsTest::initTestCase()
{
    QVERIFY(d_folder.isValid());
}

QString TChildProgramsTest::Stand_In(const QString& name, const QString& rest)
{
    const QString path = d_folder.filePath(name);
    Test::Write_File(path, QString("#!/bin/sh\nsleep 3141 &\necho $! > '%1'\n%2\n")
                               .arg(Pid_File(name), rest)
                               .toUtf8());
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

void TChildProgramsTest::runsEndWithTheirWholeGroup_data()
{
    QTest::addColumn<QString>("rest");
    QTest::addColumn<int>("wait_ms");
    QTest::addColumn<bool>("stopped");
    QTest::addColumn<int>("outcome");
    QTest::newRow("hangs past its time") << "exec sleep 3142" << 500 << false
                                         << int(TProgramRun::Timed_Out);
    QTest::newRow("hangs until stopped") << "exec sleep 3142" << -1 << true
                                         << int(TProgramRun::Stopped);
    QTest::newRow("prints without end") << "exec yes" << -1 << false
                                        << int(TProgramRun::Too_Much_Output);
    QTest::newRow("its child prints without end") << "yes &\nexec sleep 3142" << -1 << false
                                                  << int(TProgramRun::Too_Much_Output);
    QTest::newRow("ends first, its children stay") << "exit 0" << 60000 << false
                                                   << int(TProgramRun::Succeeded);
}

void TChildProgramsTest::runsEndWithTheirWholeGroup()
{
    QFETCH(QString, rest);
    QFETCH(int, wait_ms);
    QFETCH(bool, stopped);
    QFETCH(int, outcome);
    std::atomic<bool> stop{false};
    TProgramCall call;
    call.Program = Stand_In("stand-in", rest);
    call.Wait_Ms = wait_ms;
    call.Stop = &stop;
    call.Max_Output = 1024 * 1024;
    TProgramRun run;
    {
        const std::unique_ptr<TLaterStop> later(stopped ? new TLaterStop(&stop, 500) : nullptr);
        run = Run_Program(call);
    }
    QCOMPARE(int(run.Outcome), outcome);
    CHECK(Verify_Gone({Written_Pid(Pid_File("stand-in"))}));
    QVERIFY(run.Output.size() <= call.Max_Output);
}

void TChildProgramsTest::finishedRunsTellWhatTheyPrinted()
{
    const TProgramRun failed =
        Run_Program("sh", {"-c", "echo out; echo err >&2; exit 3"}, 60000);
    QCOMPARE(int(failed.Outcome), int(TProgramRun::Failed));
    QCOMPARE(failed.Exit_Code, 3);
    QCOMPARE(failed.Output, QString("out\n"));
    QCOMPARE(failed.Errors, QString("err\n"));

    // Standard error is kept only as far as its beginning.
    TProgramCall call;
    call.Program = "sh";
    call.Arguments = QStringList{"-c", "head -c 1000000 /dev/zero | tr '\\0' e >&2; echo done"};
    const TProgramRun chatty = Run_Program(call);
    QCOMPARE(int(chatty.Outcome), int(TProgramRun::Succeeded));
    QCOMPARE(chatty.Output, QString("done\n"));
    QCOMPARE(chatty.Errors, QString(TProgramCall::Max_Errors, 'e'));

    QCOMPARE(int(Run_Program(d_folder.filePath("none"), {}, 60000).Outcome),
             int(TProgramRun::Not_Started));
}

// The scanner's output is not kept beyond a bound, nor waited for once the
// detection is stopped.
void TChildProgramsTest::scannerThatNeverEndsIsStoppedAndTold()
{
    const QString sources = d_folder.filePath("qml");
    QVERIFY(QDir().mkpath(sources));
    const QString endless = Stand_In("endless-scanner", "exec yes '[]'");
    const TQmlImports flooded = Scan_Qml_Imports(endless, sources, sources);
    QVERIFY(!flooded.Ok);
    QCOMPARE(flooded.Error, QString("the QML import scanner \"%1\" printed more than 16777216 "
                                    "bytes, and was stopped")
                                .arg(endless));
    CHECK(Verify_Gone({Written_Pid(Pid_File("endless-scanner"))}));

    const QString hanging = Stand_In("hanging-scanner", "exec sleep 3142");
    std::atomic<bool> stop{false};
    TQmlImports stopped;
    {
        const TLaterStop later(&stop, 500);
        stopped = Scan_Qml_Imports(hanging, sources, sources, &stop);
    }
    QVERIFY(!stopped.Ok);
    QCOMPARE(stopped.Error, QString("the QML import scanner \"%1\" was stopped").arg(hanging));
    CHECK(Verify_Gone({Written_Pid(Pid_File("hanging-scanner"))}));
}

// tar is stopped on cancel, and neither a partial tarball nor its own
// children are left; a tarball made before stays as it was.
void TChildProgramsTest::cancelledTarballLeavesNoneBehind()
{
    const QString bin = d_folder.filePath("bin");
    QVERIFY(QDir().mkpath(bin));
    const QString tar = Stand_In("bin/tar", "exec sleep 3142");
    QVERIFY(!tar.isEmpty());
    const QByteArray old_path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit() + ":" + old_path);
    const QString sources = d_folder.filePath("sources");
    QVERIFY(QDir().mkpath(sources));
    const QString tarball = d_folder.filePath("SOURCES/demo-1.0.tar.gz");
    QVERIFY(QDir().mkpath(d_folder.filePath("SOURCES")));
    Test::Write_File(tarball, "made before");
    std::atomic<bool> cancel{false};
    QString error;
    bool made = true;
    {
        const TLaterStop later(&cancel, 500);
        made = Make_Source_Tarball(sources, {"."}, tarball, "demo-1.0", cancel, &error);
    }
    qputenv("PATH", old_path);
    QVERIFY(!made);
    QCOMPARE(error, QString("tar could not make \"%1\": tar was stopped").arg(tarball));
    CHECK(Verify_Gone({Written_Pid(Pid_File("bin/tar"))}));
    QCOMPARE(Test::Read_File(tarball), QByteArray("made before"));
    QCOMPARE(QDir(d_folder.filePath("SOURCES")).entryList(QDir::Files | QDir::Hidden),
             QStringList({"demo-1.0.tar.gz"}));

    // The real tar makes the tarball in place of the old one.
    Test::Write_File(sources + "/main.cpp", "int main() {}\n");
    cancel = false;
    error.clear();
    QVERIFY2(Make_Source_Tarball(sources, {"main.cpp"}, tarball, "demo-1.0", cancel, &error),
             qPrintable(error));
    QCOMPARE(QDir(d_folder.filePath("SOURCES")).entryList(QDir::Files | QDir::Hidden),
             QStringList({"demo-1.0.tar.gz"}));
    QVERIFY(Test::Read_File(tarball).startsWith("\x1f\x8b"));
}

// gpg, rpmsign and createrepo_c get their input, lead a session of their own
// and are ended with what they started when they hang or print without end;
// rpmlint is ended on cancel.
void TChildProgramsTest::packagingToolsAreBoundedAndHaveNoTerminal()
{
    const QString bin = d_folder.filePath("tools");
    QVERIFY(QDir().mkpath(bin));
    Stand_In("tools/answering", "cat\ncut -d' ' -f6 /proc/$$/stat\necho $$");
    Stand_In("tools/flooding", "exec yes");
    Stand_In("tools/hanging", "exec sleep 3142");
    const QByteArray old_path = qgetenv("PATH");
    qputenv("PATH", bin.toLocal8Bit() + ":" + old_path);
    const TToolRun answered = Run_Tool("answering", {}, 60000, "passphrase\n");
    const TToolRun flooded = Run_Tool("flooding", {}, 60000);
    const TToolRun hung = Run_Tool("hanging", {}, 1000);
    Stand_In("tools/rpmlint", "exec sleep 3142");
    std::atomic<bool> cancel{false};
    QStringList notes;
    QStringList lint = {"not run"};
    {
        const TLaterStop later(&cancel, 500);
        lint = Lint_Package("demo.rpm", &notes, &cancel);
    }
    qputenv("PATH", old_path);

    QVERIFY2(answered.Ok, qPrintable(answered.Errors));
    const QStringList lines = answered.Output.split('\n');
    QCOMPARE(lines.size(), 4);
    QCOMPARE(lines.at(0), QString("passphrase"));
    QCOMPARE(lines.at(1), lines.at(2));  // its session is its own
    QVERIFY(!flooded.Ok);
    QCOMPARE(flooded.Errors, QString("flooding printed more than 16777216 bytes, and was stopped"));
    QVERIFY(flooded.Output.isEmpty());
    QVERIFY(!hung.Ok);
    QCOMPARE(hung.Errors, QString("hanging did not finish within 1 s and was stopped"));
    // rpmlint, the slowest check, ends with a cancelled build.
    QVERIFY(lint.isEmpty());
    QCOMPARE(notes, QStringList{"rpmlint was stopped: the package was not linted"});
    CHECK(Verify_Gone({Written_Pid(Pid_File("tools/answering")),
                       Written_Pid(Pid_File("tools/flooding")),
                       Written_Pid(Pid_File("tools/hanging")),
                       Written_Pid(Pid_File("tools/rpmlint"))}));
}

QTEST_GUILESS_MAIN(TChildProgramsTest)
#include "tst_childprograms.moc"
