// End to end with the real tools: the small Qt Widgets program of
// tests/data/qtdemo, built with qmake in its own source folder, is set up
// once with init and packaged by "package" with no other flag. The tarball
// leaves the build output out, so that rpmbuild's own qmake run applies the
// prefix; a run with nothing changed finds the package current; an edited
// source rebuilds it; a build that fails says in which step, quotes the log and
// says what to change. Everything happens below one temporary folder, with
// HOME pointed there.

#include <QDirIterator>
#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include "testsupport.h"

namespace
{
struct TRun
{
    int Exit = -1;
    QString Out;
    QString Err;
    qint64 Ms = 0;
};

TRun Run(const QString& program, const QStringList& arguments,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
         const QString& folder = QString())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, QString(), program + " did not finish"};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError()), timer.elapsed()};
}

QString Described(const TRun& run)
{
    return QString("exit %1\n%2\n%3").arg(run.Exit).arg(run.Out.right(4000), run.Err.right(3000));
}

QString Qt_Demo_Source(const QString& file = QString())
{
    const QString tests =
        QDir(QCoreApplication::applicationDirPath()).filePath(QFileInfo(__FILE__).path());
    return QDir::cleanPath(tests + "/data/qtdemo/" + file);
}

QStringList Tarball_Entries(const QString& tarball)
{
    return Run("tar", {"-tzf", tarball}).Out.split('\n', Qt::SkipEmptyParts);
}

// The package's path: the report's last line.
QString Package_Of(const TRun& run)
{
    return run.Out.trimmed().section('\n', -1);
}
}

class TPackageRepeatTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void initOnceThenPackageRepeatsUntilSomethingChanges();
    void failedBuildNamesTheStepAndTheFix();

private:
    void Make_In_Source_Build(const QString& source);
    void Copy_Build(const QString& source);
    void Make_Setup(const QString& folder, const QStringList& flags);
    TRun Package(const QString& folder, const QStringList& flags = QStringList());
    QString Path(const QString& relative) const { return d_work.path() + "/" + relative; }

    QTemporaryDir d_work;
    QProcessEnvironment d_environment;
};

void TPackageRepeatTest::initTestCase()
{
    for (const char* tool : {"qmake", "make", "g++", "rpmbuild", "rpm", "patchelf", "tar"})
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                 qPrintable(QString("%1 is missing; ./build.sh installs it").arg(tool)));
    const QString home = Path("home");
    QVERIFY(QDir().mkpath(home));
    Test::Write_File(home + "/.rpmmacros", "%_binary_payload w1.gzdio\n");
    d_environment = QProcessEnvironment::systemEnvironment();
    d_environment.insert("HOME", home);
    d_environment.remove("XDG_CACHE_HOME");
    CHECK(Make_In_Source_Build(Path("built")));
}

// A copy of the built sample, times and all.
void TPackageRepeatTest::Copy_Build(const QString& source)
{
    QVERIFY(QDir().mkpath(QFileInfo(source).path()));
    const TRun copy = Run("cp", {"-a", Path("built"), source});
    QVERIFY2(copy.Exit == 0, qPrintable(Described(copy)));
}

// The sample built with qmake inside its source folder, as many do.
void TPackageRepeatTest::Make_In_Source_Build(const QString& source)
{
    QVERIFY(QDir().mkpath(source));
    for (const QString& file : QDir(Qt_Demo_Source()).entryList(QDir::Files))
        QVERIFY(QFile::copy(Qt_Demo_Source(file), source + "/" + file));
    const TRun qmake = Run("qmake", {"PREFIX=/usr/local"}, d_environment, source);
    QVERIFY2(qmake.Exit == 0, qPrintable(Described(qmake)));
    const TRun make = Run("make", {}, d_environment, source);
    QVERIFY2(make.Exit == 0, qPrintable(Described(make)));
    QVERIFY(QFileInfo(source + "/qtdemo").isExecutable());
}

// A data folder set up once by init, with a desktop entry and icon.
void TPackageRepeatTest::Make_Setup(const QString& folder, const QStringList& flags)
{
    const QString top = folder + "/top";
    CHECK(Test::Make_Desktop_Files(top));
    const TRun init =
        Run(KV_CLI_PATH,
            QStringList{"init", "--data-folder", folder + "/data", "--set",
                        "%define _topdir=" + top, "--set", "%define name=qtdemo",
                        "--requirements", "ignore", "--generator", "qmake"} + flags,
            d_environment);
    QVERIFY2(init.Exit == 0, qPrintable(Described(init)));
}

TRun TPackageRepeatTest::Package(const QString& folder, const QStringList& flags)
{
    return Run(KV_CLI_PATH, QStringList{"package", "--data-folder", folder + "/data"} + flags,
               d_environment);
}

// init takes the setup once, a relative --source among it; every package run
// after it repeats it with no flag.
void TPackageRepeatTest::initOnceThenPackageRepeatsUntilSomethingChanges()
{
    const QString folder = Path("repeat");
    const QString source = folder + "/qtdemo";
    CHECK(Copy_Build(source));
    const QString relative_source = QDir::current().relativeFilePath(source);
    QVERIFY(QDir::isRelativePath(relative_source));
    CHECK(Make_Setup(folder, {"--program", source + "/qtdemo", "--source", relative_source}));

    const TRun first = Package(folder);
    QVERIFY2(first.Exit == 0, qPrintable(Described(first)));
    const QString rpm = Package_Of(first);
    QVERIFY2(rpm.endsWith(".rpm") && QFileInfo(rpm).isFile(), qPrintable(Described(first)));
    // The build output stayed out; rpmbuild's qmake run applied its prefix.
    const QStringList entries = Tarball_Entries(folder + "/top/SOURCES/qtdemo-1.0.tar.gz");
    QStringList names;
    for (const QString& entry : entries)
        names.append(entry.section('/', 1));
    names.sort();
    QCOMPARE(names, QStringList({"CMakeLists.txt", "README", "icon.svg", "main.cpp", "picture.gif",
                                 "picture.jpg", "qtdemo.pro", "qtdemo.qrc"}));
    // Makefile, .qmake.stash, two object files, the generated resource
    // source and the program.
    QVERIFY2(first.Out.contains("Note: the source tarball holds 8 files; 6 left out (build "
                                "output)\n"),
             qPrintable(Described(first)));
    const TRun files = Run("rpm", {"-qpl", rpm});
    QVERIFY2(files.Out.contains("/qtdemo/qtdemo\n") && !files.Out.contains("/usr/local"),
             qPrintable(files.Out));

    const TRun unchanged = Package(folder);
    QVERIFY2(unchanged.Exit == 0, qPrintable(Described(unchanged)));
    QCOMPARE(Package_Of(unchanged), rpm);
    QVERIFY2(unchanged.Out.contains("Note: the package is current") &&
                 unchanged.Out.contains("Note: the source tarball is current"),
             qPrintable(Described(unchanged)));
    QVERIFY2(!unchanged.Err.contains("Executing("), qPrintable(Described(unchanged)));

    // An edited source remakes the tarball and the package, which runs the
    // edited program.
    QByteArray main = Test::Read_File(source + "/main.cpp");
    Test::Write_File(source + "/main.cpp", main + "\n// edited\n");
    const TRun edited = Package(folder);
    QVERIFY2(edited.Exit == 0 && !edited.Out.contains("is current"), qPrintable(Described(edited)));
    QVERIFY(Run("tar", {"-xzOf", folder + "/top/SOURCES/qtdemo-1.0.tar.gz",
                        "qtdemo-1.0/main.cpp"})
                .Out.endsWith("// edited\n"));
}

// Each failure names the step and quotes the log's error; the known causes
// come with what to change.
void TPackageRepeatTest::failedBuildNamesTheStepAndTheFix()
{
    const QString folder = Path("failing");
    const QString source = folder + "/qtdemo";
    CHECK(Copy_Build(source));
    CHECK(Make_Setup(folder, {"--program", source + "/qtdemo", "--source", source}));

    // The program goes into <prefix>, not where the expression says.
    const TRun misplaced =
        Package(folder, {"--expression", "QMake_Bin_Path=%{buildroot}%{_libdir}/%{name}/bin"});
    QCOMPARE(misplaced.Exit, 1);
    QVERIFY2(misplaced.Out.contains("FAILED: rpmbuild failed in %install (exit status 1)\n"
                                    "The log says:\n  patchelf: getting info about '"),
             qPrintable(Described(misplaced)));
    QVERIFY2(misplaced.Out.contains("What to change: the program is not where the spec "
                                    "expects it") &&
                 misplaced.Out.contains("--expression \"QMake_Bin_Path="),
             qPrintable(Described(misplaced)));

    // A header the sources need and no package provides.
    Test::Write_File(source + "/main.cpp", "#include <nosuchlibrary/widget.h>\n" +
                                               Test::Read_File(source + "/main.cpp"));
    const TRun header = Package(folder);
    QCOMPARE(header.Exit, 1);
    QVERIFY2(header.Out.contains("FAILED: rpmbuild failed in %build") &&
                 header.Out.contains("fatal error: nosuchlibrary/widget.h: No such file or "
                                     "directory") &&
                 header.Out.contains("What to change: the header \"nosuchlibrary/widget.h\" "
                                     "is missing"),
             qPrintable(Described(header)));
    QVERIFY2(header.Out.contains("Build log: " + folder + "/top/qtdemo.build.log"),
             qPrintable(Described(header)));
}

QTEST_MAIN(TPackageRepeatTest)
#include "tst_packagerepeat.moc"
