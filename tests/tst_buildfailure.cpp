// What a failed rpmbuild's log tells: the step it stopped in, its first
// error lines, and what to change for the causes a packager meets most.

#include <QtTest>

#include "package/buildfailure.h"

class TBuildFailureTest : public QObject
{
    Q_OBJECT

private slots:
    void knownCausesAreExplained_data();
    void knownCausesAreExplained();
    void unknownCauseIsQuotedWithoutAFix();
};

namespace
{
const char* const Prep = "Executing(%prep): /bin/sh -e /var/tmp/rpm-tmp.1\n"
                         "+ cd /top/BUILD\n+ tar -xof -\n";
const char* const Build = "Executing(%build): /bin/sh -e /var/tmp/rpm-tmp.2\n"
                          "+ make -j2\n";
const char* const Install = "Executing(%install): /bin/sh -e /var/tmp/rpm-tmp.3\n"
                            "+ make install INSTALL_ROOT=/top/BUILDROOT/x\n";
}

void TBuildFailureTest::knownCausesAreExplained_data()
{
    QTest::addColumn<QString>("log");
    QTest::addColumn<QString>("step");
    QTest::addColumn<QString>("quoted");
    QTest::addColumn<QString>("fix");

    QTest::newRow("program not where the spec expects it")
        << QString(Prep) + Build + Install +
               "+ patchelf --set-rpath '/usr/lib64/app/lib' /top/BUILDROOT/x/usr/lib64/app/app\n"
               "patchelf: getting info about '/top/BUILDROOT/x/usr/lib64/app/app': No such "
               "file or directory\n"
               "error: Bad exit status from /var/tmp/rpm-tmp.3 (%install)\n\n"
               "RPM build errors:\n    Bad exit status from /var/tmp/rpm-tmp.3 (%install)\n"
        << "%install"
        << "patchelf: getting info about '/top/BUILDROOT/x/usr/lib64/app/app': No such file "
           "or directory"
        << "--expression \"QMake_Bin_Path=%{buildroot}%{_libdir}/%{name}/bin\"";
    QTest::newRow("files installed outside the program folder")
        << QString(Prep) + Build + Install +
               "Processing files: app-1.0-1.x86_64\n"
               "Checking for unpackaged file(s): /usr/lib/rpm/check-files /top/BUILDROOT/x\n"
               "error: Installed (but unpackaged) file(s) found:\n   /opt/app/bin/app\n"
               "   /opt/app/share/app.png\n\nRPM build errors:\n"
               "    Installed (but unpackaged) file(s) found:\n   /opt/app/bin/app\n"
        << "the checks after %install"
        << "error: Installed (but unpackaged) file(s) found:"
        << "outside the program folder (/opt/app/bin/app, /opt/app/share/app.png)";
    QTest::newRow("build tool missing")
        << QString(Prep) + Build +
               "/var/tmp/rpm-tmp.2: line 42: qmake6: command not found\n"
               "error: Bad exit status from /var/tmp/rpm-tmp.2 (%build)\n"
        << "%build" << "/var/tmp/rpm-tmp.2: line 42: qmake6: command not found"
        << "the build tool \"qmake6\" is not installed";
    QTest::newRow("CMake package missing")
        << QString(Prep) + Build +
               "CMake Error at CMakeLists.txt:4 (find_package):\n"
               "  By not providing \"FindQt6Svg.cmake\" in CMAKE_MODULE_PATH this project has\n"
               "  Could not find a package configuration file provided by \"Qt6Svg\" with any\n"
               "-- Configuring incomplete, errors occurred!\n"
        << "%build" << "CMake Error at CMakeLists.txt:4 (find_package):"
        << "CMake found no \"Qt6Svg\": install its development package";
    QTest::newRow("qmake module missing")
        << QString(Prep) + Build +
               "Project ERROR: Unknown module(s) in QT: svg multimedia\n"
        << "%build" << "Project ERROR: Unknown module(s) in QT: svg multimedia"
        << "qmake does not know the Qt module(s) \"svg multimedia\"";
    QTest::newRow("header missing")
        << QString(Prep) + Build +
               "main.cpp:3:10: fatal error: zstd.h: No such file or directory\n"
               "    3 | #include <zstd.h>\ncompilation terminated.\n"
               "make: *** [Makefile:380: main.o] Error 1\n"
        << "%build" << "main.cpp:3:10: fatal error: zstd.h: No such file or directory"
        << "the header \"zstd.h\" is missing";
    QTest::newRow("library missing")
        << QString(Prep) + Build +
               "/usr/bin/ld: cannot find -lzstd: No such file or directory\n"
        << "%build" << "/usr/bin/ld: cannot find -lzstd: No such file or directory"
        << "the linker finds no library \"zstd\"";
    QTest::newRow("file list names a file not installed")
        << QString(Prep) + Build + Install + "Processing files: app-1.0-1.x86_64\n"
               "error: File not found: /top/BUILDROOT/x/usr/share/applications/app.desktop\n"
        << "the file list (%files)"
        << "error: File not found: /top/BUILDROOT/x/usr/share/applications/app.desktop"
        << "the file list names \"/top/BUILDROOT/x/usr/share/applications/app.desktop\"";
}

void TBuildFailureTest::knownCausesAreExplained()
{
    QFETCH(QString, log);
    QFETCH(QString, step);
    QFETCH(QString, quoted);
    QFETCH(QString, fix);
    const TBuildFailure failure = Explain_Build_Failure(log);
    QCOMPARE(failure.Step, step);
    QCOMPARE(failure.Quoted.value(0), quoted);
    QCOMPARE(failure.Fixes.size(), 1);
    QVERIFY2(failure.Fixes[0].contains(fix), qPrintable(failure.Fixes[0]));
    // The shell's trace of a command is never taken for its error.
    for (const QString& line : failure.Quoted)
        QVERIFY2(!line.startsWith("+ "), qPrintable(line));
    const QStringList lines = Build_Failure_Lines(failure);
    QCOMPARE(lines.value(0), QString("The log says:"));
    QCOMPARE(lines.value(1), "  " + quoted);
    QCOMPARE(lines.last(), "What to change: " + failure.Fixes[0]);
}

// An error of its own kind is still quoted, the step told, and no fix is
// made up; when only rpmbuild's summary is there, that is quoted.
void TBuildFailureTest::unknownCauseIsQuotedWithoutAFix()
{
    const TBuildFailure failure = Explain_Build_Failure(
        QString(Prep) + Build + "main.cpp:9:5: error: 'frobnicate' was not declared in this scope\n"
        "make: *** [Makefile:380: main.o] Error 1\n"
        "error: Bad exit status from /var/tmp/rpm-tmp.2 (%build)\n");
    QCOMPARE(failure.Step, QString("%build"));
    QCOMPARE(failure.Quoted,
             QStringList({"main.cpp:9:5: error: 'frobnicate' was not declared in this scope",
                          "make: *** [Makefile:380: main.o] Error 1"}));
    QVERIFY(failure.Fixes.isEmpty());

    const TBuildFailure bare = Explain_Build_Failure(
        QString(Prep) + "error: Bad exit status from /var/tmp/rpm-tmp.1 (%prep)\n");
    QCOMPARE(bare.Step, QString("%prep"));
    QCOMPARE(bare.Quoted, QStringList{"error: Bad exit status from /var/tmp/rpm-tmp.1 (%prep)"});
    QVERIFY(Explain_Build_Failure(QString()).Step.isEmpty());
}

QTEST_MAIN(TBuildFailureTest)
#include "tst_buildfailure.moc"
