// End to end with the real tools: the small Qt Widgets program of
// tests/data/qtdemo is built against Qt 5 with CMake and against Qt 6 with
// qmake, the command-line tool detects and collects its bundle and writes the
// spec for it, rpmbuild builds the package, and the package installs with a
// plain "rpm -i" into a root whose only other package is a base system made
// of the host's base-list libraries, and runs there on the xcb platform
// against Xvfb, where it shows its SVG icon and reads its JPEG and GIF
// images through the plug-ins detection found by itself. Everything happens
// below one temporary folder.

#include <QDirIterator>
#include <QLibraryInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLockFile>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "basesystem.h"
#include "buildpackagewindow.h"
#include "editordriver.h"
#include "craftedelf.h"
#include "package/packagechecks.h"
#include "elf/loaderhost.h"
#include "installroot.h"
#include "datafiles/optionsfile.h"
#include "testsupport.h"
#include "datafiles/variabledata.h"
#include "virtualdisplay.h"

Q_DECLARE_METATYPE(TTypes::TOptionMakeGenerator)

namespace
{
using Test::Run;
using Test::TRun;

TRun Cli(const QStringList& arguments,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    return Run(KV_CLI_PATH, arguments, environment);
}

// What a build log holds so far; empty before it exists.
QString Log_So_Far(const QString& path)
{
    QFile log(path);
    return log.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(log.readAll()) : QString();
}

// Entries of a tarball, as tar lists them.
QStringList Tarball_Entries(const QString& tarball)
{
    return Run("tar", {"-tzf", tarball}).Out.split('\n', Qt::SkipEmptyParts);
}

// What the sample program prints when every plug-in it needs was found: the
// icon drawn at the size asked for, which only the SVG icon engine does, and
// both images read.
const QString Sample_Output = "platform: xcb\nicon: 64x64\njpeg: 24x16\ngif: 12x10\n";

QStringList Sorted(QStringList lines)
{
    lines.sort();
    return lines;
}

// The "<target>/<file>" of every install line from the shared libraries of
// the spec `spec`, in its order.
QStringList Installed_Lines(const QString& spec)
{
    QStringList installed;
    static const QRegularExpression install("^install %\\{_topdir\\}/shared_libs/(\\S+) ");
    for (const QString& line : QString::fromUtf8(Test::Read_File(spec)).split('\n'))
    {
        const QRegularExpressionMatch match = install.match(line);
        if (match.hasMatch())
            installed.append(match.captured(1));
    }
    return installed;
}

// An ended process nobody has reaped yet.
bool Is_Zombie(pid_t pid)
{
    QFile stat(QString("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray fields = stat.readAll();
    return fields.mid(fields.lastIndexOf(')') + 2, 1) == "Z";
}

QString Described(const TRun& run)
{
    return QString("exit %1\n%2\n%3").arg(run.Exit).arg(run.Out.right(3000), run.Err.right(3000));
}

QStringList Files_Below(const QString& folder)
{
    QStringList files;
    QDirIterator entries(folder, QDir::Files, QDirIterator::Subdirectories);
    while (entries.hasNext())
        files.append(entries.next().mid(folder.size() + 1));
    files.sort();
    return files;
}

// The installed file a collected "<target>/<file>" was copied from: the Qt
// libraries and plug-ins from Qt's folders, the other libraries as the
// loader finds them by their soname.
QString Installed_File(const QString& line)
{
    if (line.startsWith("lib/libQt"))
        return QLibraryInfo::location(QLibraryInfo::LibrariesPath) + line.mid(3);
    if (line.startsWith("lib/"))
        return QFileInfo(QLibraryInfo::location(QLibraryInfo::LibrariesPath) + line.mid(3))
            .canonicalFilePath();
    return QLibraryInfo::location(QLibraryInfo::PluginsPath) + "/" + line;
}

// The sample programs are built once beside the test program, and again
// only when their sources change: each test function may run as a process
// of its own, several at a time, and they take turns building.
QString Sample_Build_Folder(const QString& name)
{
    return QCoreApplication::applicationDirPath() + "/" + name;
}

// The regular expression of the spec's "%global __requires_exclude".
QRegularExpression Requires_Exclude(const QString& spec)
{
    const QStringList lines =
        spec.split('\n').filter(QRegularExpression("^%global __requires_exclude "));
    return QRegularExpression(lines.value(0).section(' ', 2));
}

// The sample program's sources. The compiler may name this file relative to
// the folder it ran in, which is where the test program is built.
QString Qt_Demo_Source(const QString& file = QString())
{
    const QString tests =
        QDir(QCoreApplication::applicationDirPath()).filePath(QFileInfo(__FILE__).path());
    return QDir::cleanPath(tests + "/data/qtdemo/" + file);
}
}

class TDetectTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wrongUseAndUnfitProgramsCollectNothing();
    void detectedBundleIsCollectedAndClosed();
    void createdSpecInstallsExactlyTheBundle();
    void writtenSpecBuildsAgainstTheDetectedQt_data();
    void writtenSpecBuildsAgainstTheDetectedQt();
    void packageInstallsOnABaseSystemAndRuns_data();
    void packageInstallsOnABaseSystemAndRuns();
    void initThenPackageGivesACheckedPackageThatRuns();
    void packageListsEveryProblemBeforeBuilding();
    void failingOrInterruptedBuildKeepsItsLog();
    void interruptedDetectionStopsWhatItRuns();
    void editorBuildsTheSamePackageAndCancels();
    void checksNameWhatIsWrongInABuiltPackage();

private:
    QString Path(const QString& relative) const { return d_work.path() + "/" + relative; }
    QString Top() const { return Path("top"); }
    void Build_Qt6_Sample();
    void Make_Data_Folder(const QString& data, const QString& top,
                          TTypes::TOptionMakeGenerator generator);
    void Make_Sources(const QString& top);
    void Make_Source_Copy(const QString& source);
    void Build_In_Editor(TBuildPackageWindow* window, const QString& source, bool* lines_while_running);
    void Make_Package_Home(const QString& top, QProcessEnvironment* environment);
    QStringList Package_Arguments(const QString& data, const QString& top);
    QString Build_Package(const QString& top, const QString& spec);
    void Verify_Only_Base_Required(const QString& package, const Test::TBaseSystem& base);
    void Verify_Report(const QString& report);
    void Verify_Installed_Bundle(const QString& root, const QStringList& bundle);
    void Verify_Runs_On_Xcb(const QString& root);

    QTemporaryDir d_work;
    QString d_program;
    QString d_qt6_program;
    QStringList d_bundle;
    QString d_libdir;
    QString d_base_package;  // the base system the Qt 5 program runs on
};

void TDetectTest::initTestCase()
{
    for (const char* tool : {"cmake", "make", "g++", "ldd", "readelf", "rpmbuild", "rpm",
                             "patchelf", "busybox", "tar", "Xvfb", "qmake6"})
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                 qPrintable(QString("%1 is missing; ./build.sh installs it").arg(tool)));
    const QString source = Qt_Demo_Source();
    QVERIFY2(QFileInfo::exists(source + "/CMakeLists.txt"), qPrintable(source));
    const QString build = Sample_Build_Folder("qtdemo-build");
    QLockFile lock(build + ".lock");
    lock.setStaleLockTime(0);
    QVERIFY(lock.lock());
    const TRun configure = Run("cmake", {"-S", source, "-B", build});
    QVERIFY2(configure.Exit == 0, qPrintable(Described(configure)));
    const TRun made = Run("cmake", {"--build", build});
    QVERIFY2(made.Exit == 0, qPrintable(Described(made)));
    d_program = build + "/qtdemo";
    const TRun libdir = Run("rpm", {"--eval", "%{_libdir}"});
    d_libdir = libdir.Out.trimmed();
    QVERIFY(d_libdir.startsWith('/'));
}

void TDetectTest::wrongUseAndUnfitProgramsCollectNothing()
{
    const QString into = Path("refused/shared_libs");
    // A named pipe would keep any reader waiting for a writer.
    const QString fifo = Path("fifo");
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct
    {
        QStringList Arguments;
        int Exit;
        QString Error;
    } cases[] = {
        {{"detect"}, 2, "detect needs --program PATH"},
        {{"detect", "--program", d_program, "--output", Path("x.spec")}, 2,
         "detect takes no --shared-libs and no --output"},
        {{"detect", "--program", d_program, "--with-plugins", "sqldrivers,imageformats/libqnosuch.so",
          "--collect-into", into},
         2, "\"imageformats/libqnosuch.so\" names no plug-in family or file in \"" +
                QLibraryInfo::location(QLibraryInfo::PluginsPath) + "\""},
        {{"create", "--program", d_program, "--with-library", Path("gone.so"), "--output",
          Path("x.spec")},
         2, "--with-library: \"" + Path("gone.so") + "\" is not a file"},
        {{"create", "--with-plugins", "sqldrivers", "--output", Path("x.spec")}, 2,
         "--with-plugins, --without-plugins and --with-library need --program"},
        {{"detect", "--program", d_program, "--with-plugins", "tls, sqldrivers",
          "--without-plugins", "sqldrivers"},
         2, "\"sqldrivers\" is in both --with-plugins and --without-plugins"},
        {{"create", "--qml-sources", Qt_Demo_Source(), "--output", Path("x.spec")}, 2,
         "--qml-sources needs --program"},
        {{"detect", "--program", d_program, "--qml-sources", Path("none"), "--collect-into",
          into},
         1, "the QML sources folder \"" + Path("none") + "\" does not exist"},
        {{"create", "--output", Path("x.spec"), "--collect-into", into}, 2,
         "only detect takes --collect-into"},
        {{"detect", "--program", Qt_Demo_Source("main.cpp"), "--collect-into", into}, 1,
         "\"" + Qt_Demo_Source("main.cpp") + "\" is not an ELF file, so not a built program"},
        {{"detect", "--program", d_program, "--plugins-folder", Path("none"), "--collect-into",
          into},
         1, "the plug-in folder \"" + Path("none") + "\" does not exist"},
        {{"create", "--program", Path("gone"), "--output", Path("x.spec")}, 1,
         "\"" + Path("gone") + "\" does not exist"},
        {{"detect", "--program", fifo, "--collect-into", into}, 1,
         "\"" + fifo + "\" is not a regular file"},
        {{"create", "--program", fifo, "--output", Path("x.spec")}, 1,
         "\"" + fifo + "\" is not a regular file"},
        {{"detect", "--program", d_work.path(), "--collect-into", into}, 1,
         "\"" + d_work.path() + "\" is not a regular file"},
        {{"create", "--qt-version", "4", "--output", Path("x.spec")}, 2,
         "--qt-version must be 5 or 6, not \"4\""},
        {{"create", "--qt-prefix", "/opt/Qt 6", "--output", Path("x.spec")}, 2,
         "--qt-prefix must be an absolute path of letters, digits and \"/._+-\", not "
         "\"/opt/Qt 6\""},
        {{"detect", "--program", d_program, "--qt-version", "6"}, 2,
         "only init, create and package take --qt-version and --qt-prefix"},
    };
    for (const auto& refused : cases)
    {
        const TRun run = Cli(refused.Arguments);
        QVERIFY2(run.Exit == refused.Exit, qPrintable(Described(run)));
        QVERIFY2(run.Err.startsWith("kestrelvantory-cli: " + refused.Error + "\n"),
                 qPrintable(Described(run)));
        QCOMPARE(run.Out, QString());
    }
    QVERIFY(!QFileInfo::exists(Path("refused")));
    QVERIFY(!QFileInfo::exists(Path("x.spec")));

    // A program cut short after its dynamic section, and one that needs one
    // name 65,000 times, are not examined, and "ldd" is not asked.
    const QByteArray program = Test::Read_File(d_program);
    QList<quint32> one_name;
    for (int index = 0; index < 65000; ++index)
        one_name.append(1);
    const struct
    {
        QString Program;
        QByteArray Bytes;
        QString Reason;
    } hostile[] = {
        {Path("cut-short"), program.left(Test::Dynamic_Section_End(program)),
         "the file is cut short"},
        {Path("flood"),
         Test::Crafted_Elf(Loader_Host().Machine, one_name, '\0' + QByteArray(65000, 'a') + '\0'),
         "it needs 65000 libraries, more than 1024"},
    };
    for (const auto& refused : hostile)
    {
        Test::Write_File(refused.Program, refused.Bytes);
        const TRun run = Cli({"detect", "--program", refused.Program, "--collect-into", into});
        QCOMPARE(run.Exit, 1);
        QVERIFY2(run.Err.startsWith(QString("kestrelvantory-cli: cannot examine \"%1\": \"%1\" is "
                                            "not examined: %2")
                                        .arg(refused.Program, refused.Reason)),
                 qPrintable(Described(run)));
    }
    QVERIFY(!QFileInfo::exists(Path("refused")));

    // A copy that fails is told, after the list.
    Test::Write_File(Path("blocker"), "a file, not a folder");
    const TRun blocked = Cli({"detect", "--program", d_program, "--collect-into", Path("blocker")});
    QCOMPARE(blocked.Exit, 1);
    QVERIFY2(blocked.Err.endsWith(
                 QString("kestrelvantory-cli: cannot make the folder \"%1/iconengines\"\n")
                     .arg(Path("blocker"))),
             qPrintable(Described(blocked)));
    QVERIFY(blocked.Out.startsWith("iconengines/libqsvgicon.so\n"));
}

void TDetectTest::detectedBundleIsCollectedAndClosed()
{
    const QString collected = Top() + "/shared_libs";
    const TRun detect = Cli({"detect", "--program", d_program, "--collect-into", collected});
    QVERIFY2(detect.Exit == 0, qPrintable(Described(detect)));
    d_bundle = detect.Out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(detect.Err, QString("kestrelvantory-cli: into \"%1\": %2 copied, 0 already up to "
                                 "date.\n").arg(collected).arg(d_bundle.size()));
    for (const QString& needed :
         QStringList{"lib/libQt5Widgets.so.", "lib/libQt5XcbQpa.so.", "lib/libQt5DBus.so.",
                     "platforms/libqxcb.so", "xcbglintegrations/libqxcb-glx-integration.so",
                     "iconengines/libqsvgicon.so", "imageformats/libqjpeg.so",
                     "imageformats/libqgif.so", "lib/libQt5Svg.so."})
        QVERIFY2(!d_bundle.filter(QRegularExpression("^" + QRegularExpression::escape(needed)))
                      .isEmpty(),
                 qPrintable(needed));
    // What Qt itself needs beyond the base system, under the soname the
    // loader looks for; nothing of the base system.
    for (const QString& needed :
         QStringList{"lib/libicuuc.so.72", "lib/libpcre2-16.so.0", "lib/libxkbcommon-x11.so.0",
                     "lib/libdouble-conversion.so.3", "lib/libxcb-xkb.so.1"})
        QVERIFY2(d_bundle.contains(needed), qPrintable(needed));
    for (const QString& line : d_bundle)
        QVERIFY2(!Test::Is_Expected_Base_Library(line.section('/', 1)), qPrintable(line));
    // What only the base system's libraries need stays with them: libX11's
    // libXau and libfreetype's brotli.
    for (const char* left_out : {"lib/libXau.so.6", "lib/libbrotlidec.so.1"})
        QVERIFY2(!d_bundle.contains(left_out), left_out);
    for (const char* left_out :
         {"libqoffscreen.so", "libqminimal.so", "libqeglfs.so", "libqvnc.so"})
        QVERIFY2(d_bundle.filter(left_out).isEmpty(), left_out);

    QStringList sorted = d_bundle;
    sorted.sort();
    QCOMPARE(Files_Below(collected), sorted);
    for (const QString& line : d_bundle)
    {
        const QFileInfo copy(collected + "/" + line);
        QVERIFY2(!copy.isSymLink(), qPrintable(line));
        QVERIFY2(Test::Read_File(copy.filePath()) == Test::Read_File(Installed_File(line)),
                 qPrintable(line));
    }

    // Beside their soname links, as the package installs them, the collected
    // files load everything but the base system (its libraries and what they
    // load) from the bundle alone.
    const QString links = Path("sonames");
    QDir().mkpath(links);
    for (const QString& line : d_bundle.filter(QRegularExpression("^lib/libQt")))
    {
        const QString name = line.mid(4);
        QVERIFY(QFile::link(collected + "/" + line, links + "/" + name.section('.', 0, 2)));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LD_LIBRARY_PATH", links + ":" + collected + "/lib");
    QStringList shipped = {d_program};
    for (const QString& line : d_bundle)
        shipped.append(collected + "/" + line);
    QString error;
    const Test::TBaseSystem base = Test::Base_System_For(shipped, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    for (const QString& line : d_bundle)
        for (const QString& path : Test::Loaded_Paths(collected + "/" + line, environment))
            QVERIFY2(path.startsWith(links + "/") || path.startsWith(collected + "/lib/") ||
                         base.Files.contains(path),
                     qPrintable(line + " loads " + path));

    const TRun again = Cli({"detect", "--program", d_program, "--collect-into", collected});
    QCOMPARE(again.Out, detect.Out);
    QCOMPARE(again.Err, QString("kestrelvantory-cli: into \"%1\": 0 copied, %2 already up to "
                                "date.\n").arg(collected).arg(d_bundle.size()));
}

void TDetectTest::createdSpecInstallsExactlyTheBundle()
{
    // Run on its own, the bundle is detected here.
    if (d_bundle.isEmpty())
    {
        const TRun detect = Cli({"detect", "--program", d_program});
        QVERIFY2(detect.Exit == 0, qPrintable(Described(detect)));
        d_bundle = detect.Out.split('\n', Qt::SkipEmptyParts);
    }
    QVERIFY(!d_bundle.isEmpty());
    Make_Data_Folder(Path("data"), Top(), TTypes::Generator_QMake);
    const QString spec = Top() + "/SPECS/qtdemo.spec";
    QDir().mkpath(Top() + "/SPECS");
    const TRun create = Cli({"create", "--data-folder", Path("data"), "--program", d_program,
                             "--output", spec});
    QVERIFY2(create.Exit == 0, qPrintable(Described(create)));

    // Every install line from the shared libraries, in the order detect
    // printed them, and nothing else.
    QCOMPARE(Installed_Lines(spec), d_bundle);

    // The choices a project keeps, with those of the command line on top:
    // every SQL driver, Qt Sql with them, no icon engine, and the user's own
    // library kept as it is listed; a family this Qt does not have is told.
    const QString project = Path("choices.spec_data");
    Test::Write_File(project, "Kestrelvantory:Version=1:Type=Spec_Data\n\n"
                              "Detection_Choices_Begin:\n[With_Plugin]:sqldrivers\n"
                              "[With_Plugin]:iconengines\n[With_Plugin]:lib/libown.so.1\n"
                              "[With_Plugin]:webp\n"
                              "Detection_Choices_End:\n");
    const QString chosen = Path("chosen.spec");
    const TRun with_choices =
        Cli({"create", "--data-folder", Path("data"), "--project", project, "--program", d_program,
             "--without-plugins", "iconengines", "--output", chosen});
    QVERIFY2(with_choices.Exit == 0, qPrintable(Described(with_choices)));
    QVERIFY2(with_choices.Err.endsWith("kestrelvantory-cli: the stored choice \"webp\" names "
                                       "nothing in the Qt installation; it is left out\n"),
             qPrintable(with_choices.Err));
    const QStringList installed = Installed_Lines(chosen);
    const QString sql = QFileInfo(QLibraryInfo::location(QLibraryInfo::LibrariesPath) +
                                  "/libQt5Sql.so.5").canonicalFilePath();
    for (const QString& line : QStringList{"sqldrivers/libqsqlite.so", "lib/libown.so.1",
                                           "lib/" + sql.section('/', -1)} +
                                   d_bundle.filter(QRegularExpression("^(?!iconengines/)")))
        QVERIFY2(installed.contains(line), qPrintable(line));
    QVERIFY(installed.filter(QRegularExpression("^iconengines/")).isEmpty());

    // detect with the same project lists what the spec installs from Qt.
    const TRun listed = Cli({"detect", "--project", project, "--program", d_program,
                             "--without-plugins", "iconengines"});
    QVERIFY2(listed.Exit == 0, qPrintable(Described(listed)));
    QCOMPARE(Sorted(listed.Out.split('\n', Qt::SkipEmptyParts) + QStringList("lib/libown.so.1")),
             Sorted(installed));
}

// The two combinations not built end to end: the spec's build line runs the
// detected Qt's tools, or those of a prefix given, and its requirement filter
// leaves out exactly the bundled libraries.
void TDetectTest::writtenSpecBuildsAgainstTheDetectedQt_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<TTypes::TOptionMakeGenerator>("generator");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("build_line");
    const QString qmake_prefix = " PREFIX=%{_libdir}/%{name}";
    QTest::newRow("Qt 5, qmake") << 5 << TTypes::Generator_QMake << QStringList()
                                 << "qmake" + qmake_prefix;
    QTest::newRow("Qt 6, CMake")
        << 6 << TTypes::Generator_CMake << QStringList()
        << "cmake -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX:PATH=%{_libdir}/%{name} .";
    QTest::newRow("Qt 6 under a prefix, qmake")
        << 6 << TTypes::Generator_QMake << QStringList{"--qt-prefix", "/opt/Qt/6.5.0/gcc_64"}
        << "/opt/Qt/6.5.0/gcc_64/bin/qmake" + qmake_prefix;
    QTest::newRow("Qt 6 taken for Qt 5, qmake")
        << 6 << TTypes::Generator_QMake << QStringList{"--qt-version", "5"}
        << "qmake" + qmake_prefix;
}

void TDetectTest::writtenSpecBuildsAgainstTheDetectedQt()
{
    QFETCH(int, major);
    QFETCH(TTypes::TOptionMakeGenerator, generator);
    QFETCH(QStringList, options);
    QFETCH(QString, build_line);
    if (major == 6)
        CHECK(Build_Qt6_Sample());
    const QString program = major == 6 ? d_qt6_program : d_program;
    const QString folder = Path(QString("spec-only/%1-%2").arg(major).arg(generator));
    Make_Data_Folder(folder + "/data", folder + "/top", generator);
    const TRun detect = Cli({"detect", "--program", program});
    QVERIFY2(detect.Exit == 0, qPrintable(Described(detect)));
    const TRun create = Cli(QStringList{"create", "--data-folder", folder + "/data", "--program",
                                        program, "--output", folder + "/qtdemo.spec"} +
                            options);
    QVERIFY2(create.Exit == 0, qPrintable(Described(create)));
    const QString spec = QString::fromUtf8(Test::Read_File(folder + "/qtdemo.spec"));
    QVERIFY2(spec.contains("\n%build\n\n" + build_line + "\nmake "), qPrintable(spec));

    const QRegularExpression excluded = Requires_Exclude(spec);
    QVERIFY2(excluded.isValid(), qPrintable(excluded.pattern()));
    QStringList sonames;
    for (const QString& line : detect.Out.split('\n').filter(QRegularExpression("^lib/")))
        sonames << (line.startsWith("lib/libQt") ? line.mid(4).section('.', 0, 2) : line.mid(4));
    QVERIFY(sonames.contains(QString("libQt%1Core.so.%1").arg(major)));
    for (const QString& soname : sonames)
        for (const QString& requirement : {soname + "()(64bit)", soname + "(V_0.5.0)(64bit)"})
            QVERIFY2(excluded.match(requirement).hasMatch(), qPrintable(requirement));
    for (const char* requirement :
         {"libc.so.6(GLIBC_2.34)(64bit)", "libstdc++.so.6()(64bit)", "libX11.so.6()(64bit)",
          "libicuuc.so.720()(64bit)", "libzstd.so.10()(64bit)", "/bin/sh"})
        QVERIFY2(!excluded.match(requirement).hasMatch(), requirement);
}

void TDetectTest::packageInstallsOnABaseSystemAndRuns_data()
{
    QTest::addColumn<int>("major");
    QTest::addColumn<TTypes::TOptionMakeGenerator>("generator");
    QTest::newRow("Qt 5, CMake") << 5 << TTypes::Generator_CMake;
    QTest::newRow("Qt 6, qmake") << 6 << TTypes::Generator_QMake;
}

void TDetectTest::packageInstallsOnABaseSystemAndRuns()
{
    QFETCH(int, major);
    QFETCH(TTypes::TOptionMakeGenerator, generator);
    if (geteuid() != 0)
        QSKIP("running the package in its own root needs chroot, and so root");
    if (major == 6)
        CHECK(Build_Qt6_Sample());
    const QString program = major == 6 ? d_qt6_program : d_program;
    const QString folder = Path(QString("system-%1").arg(major));
    const QString top = folder + "/top";
    const TRun detect =
        Cli({"detect", "--program", program, "--collect-into", top + "/shared_libs"});
    QVERIFY2(detect.Exit == 0, qPrintable(Described(detect)));
    const QStringList bundle = detect.Out.split('\n', Qt::SkipEmptyParts);
    Make_Data_Folder(folder + "/data", top, generator);
    CHECK(Make_Sources(top));
    const TRun create = Cli({"create", "--data-folder", folder + "/data", "--program", program,
                             "--output", top + "/SPECS/qtdemo.spec"});
    QVERIFY2(create.Exit == 0, qPrintable(Described(create)));
    const QString package = Build_Package(top, top + "/SPECS/qtdemo.spec");
    QVERIFY(!package.isEmpty());

    QStringList shipped = {program};
    for (const QString& line : bundle)
        shipped.append(top + "/shared_libs/" + line);
    QString error;
    const Test::TBaseSystem base = Test::Base_System_For(shipped, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    CHECK(Verify_Only_Base_Required(package, base));
    const QString base_package = Test::Build_Base_System_Package(base, folder, &error);
    QVERIFY2(!base_package.isEmpty(), qPrintable(error));
    if (major == 5)
        d_base_package = base_package;

    const QString root = folder + "/root";
    const QString made = Test::Make_Install_Root(root);
    QVERIFY2(made.isEmpty(), qPrintable(made));
    for (const QString& rpm : {base_package, package})
    {
        const TRun install = Run("rpm", Test::Rpm_Root_Options(root) + QStringList{"-i", rpm});
        QVERIFY2(install.Exit == 0, qPrintable(Described(install)));
    }
    CHECK(Verify_Installed_Bundle(root, bundle));
    CHECK(Verify_Runs_On_Xcb(root));
}

// From a data folder made by init, with flags only: the package is built
// from the source folder, passes its checks, and runs on the base system.
void TDetectTest::initThenPackageGivesACheckedPackageThatRuns()
{
    const QString folder = Path("package");
    const QString data = folder + "/data";
    const TRun init = Cli({"init", "--data-folder", data});
    QVERIFY2(init.Exit == 0, qPrintable(Described(init)));
    const TRun again = Cli({"init", "--data-folder", data});
    QCOMPARE(again.Exit, 1);
    QVERIFY2(again.Err.contains("is a data folder already"), qPrintable(Described(again)));

    // The source folder holds a repository and a build folder, left out.
    const QString source = folder + "/qtdemo";
    for (const QString& made : {source + "/.git", source + "/build"})
        QVERIFY(QDir().mkpath(made));
    for (const QString& file : QDir(Qt_Demo_Source()).entryList(QDir::Files))
        QVERIFY(QFile::copy(Qt_Demo_Source(file), source + "/" + file));
    Test::Write_File(source + "/.git/HEAD", "ref: refs/heads/main\n");
    Test::Write_File(source + "/build/CMakeCache.txt", "# not a source\n");
    const QString top = folder + "/top";
    CHECK(Test::Make_Desktop_Files(top));
    Test::Write_File(folder + "/description", "A small demo.\n");
    Test::Write_File(folder + "/changes", "* Mon Dec 07 2026 Ana Lima <ana@example.org> - 1.0-1\n"
                                          "- First package\n");
    QProcessEnvironment environment;
    CHECK(Make_Package_Home(top, &environment));

    const TRun package =
        Cli(Package_Arguments(data, top) +
                QStringList{"--program", d_program, "--source", source, "--generator", "cmake",
                            "--description-file", folder + "/description", "--changelog-file",
                            folder + "/changes"},
            environment);
    QVERIFY2(package.Exit == 0, qPrintable(Described(package)));
    const QString rpm = package.Out.trimmed().section('\n', -1);
    QVERIFY2(package.Out.trimmed().endsWith("\n" + rpm) && rpm.endsWith(".rpm") &&
                 QFileInfo(rpm).isFile(),
             qPrintable(Described(package)));
    QVERIFY2(package.Err.contains("\n+ make install DESTDIR="), qPrintable(Described(package)));
    QVERIFY(Test::Read_File(top + "/qtdemo.build.log").contains("\n+ make install DESTDIR="));
    const QStringList entries = Tarball_Entries(top + "/SOURCES/qtdemo-1.0.tar.gz");
    QVERIFY2(entries.contains("qtdemo-1.0/CMakeLists.txt"), qPrintable(entries.join(' ')));
    for (const QString& entry : entries)
        QVERIFY2(entry.startsWith("qtdemo-1.0") && !entry.contains(".git") &&
                     !entry.contains("/build"),
                 qPrintable(entry));
    const TRun info = Run("rpm", {"-qp", "--qf", "%{DESCRIPTION}|%{CHANGELOGTEXT}", rpm});
    QCOMPARE(info.Out, QString("A small demo.|- First package"));
    CHECK(Verify_Report(package.Out));

    if (geteuid() != 0 || d_base_package.isEmpty())
        QSKIP("running the package in its own root needs chroot, and so root");
    const QString root = folder + "/root";
    const QString made = Test::Make_Install_Root(root);
    QVERIFY2(made.isEmpty(), qPrintable(made));
    for (const QString& file : {d_base_package, rpm})
    {
        const TRun install = Run("rpm", Test::Rpm_Root_Options(root) + QStringList{"-i", file});
        QVERIFY2(install.Exit == 0, qPrintable(Described(install)));
    }
    CHECK(Verify_Runs_On_Xcb(root));
}

// A fresh data folder checks libraries nobody collected, and no tarball
// is there: both are told, and nothing is written or run.
void TDetectTest::packageListsEveryProblemBeforeBuilding()
{
    const QString folder = Path("preflight");
    const QString data = folder + "/data";
    const QString top = folder + "/top";
    QVERIFY(Cli({"init", "--data-folder", data}).Exit == 0);
    CHECK(Test::Make_Desktop_Files(top));
    const TRun package = Cli(Package_Arguments(data, top) + QStringList{"--set", "%define version=1-2"});
    QCOMPARE(package.Exit, 1);
    for (const QString& problem :
         {QString("the source tarball \"%1/SOURCES/qtdemo-1-2.tar.gz\" does not exist and no "
                  "--source was given")
              .arg(top),
          QString("the checked library \"lib/libQt5Core.so.5.15.2\" is not in the "
                  "shared-libraries folder: \"%1/shared_libs/lib/libQt5Core.so.5.15.2\" does not "
                  "exist")
              .arg(top),
          QString("the version \"1-2\" makes no valid RPM version: it holds \"-\", which "
                  "rpmbuild refuses (it takes letters, digits and \"._+~^\")")})
        QVERIFY2(package.Err.contains("\n  " + problem + "\n"), qPrintable(Described(package)));
    QVERIFY2(Test::Without_Warnings(package.Err)
                 .startsWith("kestrelvantory-cli: nothing was built; the preflight found:\n"),
             qPrintable(Described(package)));
    QCOMPARE(package.Out, QString());
    QVERIFY(!QFileInfo::exists(top + "/SPECS"));
    QVERIFY(!QFileInfo::exists(top + "/qtdemo.build.log"));

    // A program that is a named pipe is refused at once, and so is a source
    // folder holding %{_topdir}, whose tarball would take in the build.
    const QString fifo = folder + "/fifo";
    QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const TRun refused =
        Cli(Package_Arguments(data, top) + QStringList{"--program", fifo, "--source", folder});
    QCOMPARE(refused.Exit, 1);
    for (const QString& problem :
         {QString("\"%1\" is not a regular file").arg(fifo),
          QString("%{_topdir} \"%1\" is inside the source folder \"%2\", whose tarball would "
                  "take in the build's own files")
              .arg(top, folder)})
        QVERIFY2(refused.Err.contains("\n  " + problem + "\n"), qPrintable(Described(refused)));
    QVERIFY(QDir(top + "/SOURCES").entryList(QDir::Files | QDir::Hidden).isEmpty());

    // A CMake source folder is not built with qmake, and a plug-in choice
    // that names nothing is listed with it.
    const QString cmake_only = folder + "/cmake-only";
    QVERIFY(QDir().mkpath(cmake_only));
    QVERIFY(QFile::copy(Qt_Demo_Source("CMakeLists.txt"), cmake_only + "/CMakeLists.txt"));
    const TRun mismatch =
        Cli(Package_Arguments(data, top) + QStringList{"--program", d_program, "--source",
                                                       cmake_only, "--with-plugins", "nosuch"});
    QCOMPARE(mismatch.Exit, 1);
    QVERIFY2(mismatch.Err.contains("\n  the source folder has a CMakeLists.txt and no .pro file, "
                                   "but the spec is \"Using QMake\"\n"),
             qPrintable(Described(mismatch)));
    QVERIFY2(mismatch.Err.contains("\n  \"nosuch\" names no plug-in family or file in \""),
             qPrintable(Described(mismatch)));
}

// A source that does not compile fails the run with rpmbuild's log kept; so
// does Ctrl+C, which stops rpmbuild and everything it started.
void TDetectTest::failingOrInterruptedBuildKeepsItsLog()
{
    const QString folder = Path("failing");
    const QString data = folder + "/data";
    const QString top = folder + "/top";
    const QString source = folder + "/qtdemo";
    QVERIFY(Cli({"init", "--data-folder", data}).Exit == 0);
    CHECK(Test::Make_Desktop_Files(top));
    CHECK(Make_Source_Copy(source));
    Test::Write_File(source + "/main.cpp", "int main() { return not_declared; }\n");
    QProcessEnvironment environment;
    CHECK(Make_Package_Home(top, &environment));
    const QStringList arguments = Package_Arguments(data, top) +
                                  QStringList{"--program", d_program, "--source", source,
                                              "--generator", "cmake"};
    const TRun failing = Cli(arguments, environment);
    QCOMPARE(failing.Exit, 1);
    QVERIFY2(failing.Out.contains("FAILED: rpmbuild failed"), qPrintable(Described(failing)));
    QVERIFY2(failing.Out.contains("Build log: " + top + "/qtdemo.build.log"),
             qPrintable(Described(failing)));
    QVERIFY(Test::Read_File(top + "/qtdemo.build.log").contains("not_declared"));

    // A build that would sleep for minutes is interrupted as soon as it runs.
    Test::Write_File(source + "/CMakeLists.txt",
                     "cmake_minimum_required(VERSION 3.16)\nproject(qtdemo)\n"
                     "execute_process(COMMAND sleep 300)\n");
    QVERIFY(QFile::remove(top + "/qtdemo.build.log"));
    const auto stage_scripts = [] {
        return QDir("/var/tmp").entryList({"rpm-tmp.*"}, QDir::Files);
    };
    const QStringList scripts_before = stage_scripts();
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start(KV_CLI_PATH, arguments);
    QVERIFY(run.waitForStarted());
    QElapsedTimer waited;
    waited.start();
    while (!Log_So_Far(top + "/qtdemo.build.log").contains("+ cmake ") &&
           waited.elapsed() < 120000)
        QTest::qWait(100);
    QVERIFY(Log_So_Far(top + "/qtdemo.build.log").contains("+ cmake "));
    ::kill(pid_t(run.processId()), SIGINT);
    QVERIFY(run.waitForFinished(30000));
    QCOMPARE(run.exitCode(), 1);
    QVERIFY(QString::fromLocal8Bit(run.readAllStandardOutput())
                .contains("FAILED: the build was cancelled"));
    const TRun sleeping = Run("pgrep", {"-f", "sleep 300"});
    QVERIFY2(sleeping.Out.isEmpty(), qPrintable(sleeping.Out));
    // No script of the stopped build stage is left behind; builds of other
    // tests may come and go meanwhile.
    QStringList scripts_left;
    for (const QString& script : stage_scripts())
        if (!scripts_before.contains(script) &&
            Test::Read_File("/var/tmp/" + script).contains(top.toUtf8()))
            scripts_left.append(script);
    QVERIFY2(scripts_left.isEmpty(), qPrintable(scripts_left.join(' ')));
}

// Ctrl+C or SIGTERM while "ldd" runs for a library the tool cannot resolve
// by itself (its RPATH names $PLATFORM) ends detect and package at once, and
// with them "ldd" and what it started.
void TDetectTest::interruptedDetectionStopsWhatItRuns()
{
    const QString folder = Path("interrupted");
    const QString bin = folder + "/bin";
    QVERIFY(QDir().mkpath(bin));
    const QString pid_file = folder + "/ldd.pid";
    Test::Write_File(bin + "/ldd", QString("#!/bin/sh\nsleep 3143 &\necho $! > '%1'\n"
                                           "exec sleep 3144\n")
                                       .arg(pid_file)
                                       .toUtf8());
    QFile::setPermissions(bin + "/ldd", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray strings = QByteArray(1, '\0') + "libkv-none.so" + '\0' + "$PLATFORM" + '\0';
    const QString library = folder + "/libkv-platform.so";
    Test::Write_File(library, Test::Crafted_Elf(Loader_Host().Machine, {1}, strings, 15));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("PATH", bin + ":" + environment.value("PATH"));
    const QString data = folder + "/data";
    QVERIFY(Cli({"init", "--data-folder", data}).Exit == 0);
    const struct
    {
        QStringList Arguments;
        int Signal;
    } runs[] = {
        {{"detect", "--program", d_program, "--with-library", library}, SIGINT},
        {Package_Arguments(data, folder + "/top") +
             QStringList{"--program", d_program, "--with-library", library},
         SIGTERM},
    };
    for (const auto& interrupted : runs)
    {
        QFile::remove(pid_file);
        QProcess run;
        run.setProcessEnvironment(environment);
        run.start(KV_CLI_PATH, interrupted.Arguments);
        QVERIFY(run.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(pid_file).size() > 0, 120000);
        const pid_t left = pid_t(Test::Read_File(pid_file).trimmed().toInt());
        ::kill(pid_t(run.processId()), interrupted.Signal);
        QVERIFY(run.waitForFinished(60000));
        QCOMPARE(run.exitCode(), 1);
        QTRY_VERIFY_WITH_TIMEOUT(::kill(left, 0) != 0 || Is_Zombie(left), 10000);
    }
    QVERIFY(QDir(folder + "/top/SOURCES").entryList(QDir::Files | QDir::Hidden).isEmpty());
}

// The editor's Build Package on the panels the tool packaged from gives the
// same package, shows rpmbuild's lines while it runs, and stops on Cancel.
void TDetectTest::editorBuildsTheSamePackageAndCancels()
{
    const QString folder = Path("editor");
    const QString data = folder + "/data";
    const QString top = folder + "/top";
    const QString source = folder + "/qtdemo";
    Make_Data_Folder(data, top, TTypes::Generator_CMake);
    CHECK(Test::Make_Desktop_Files(top));
    CHECK(Make_Source_Copy(source));
    QProcessEnvironment environment;
    CHECK(Make_Package_Home(top, &environment));
    qputenv("HOME", environment.value("HOME").toLocal8Bit());
    const TRun tool = Cli({"package", "--data-folder", data, "--program", d_program, "--source",
                           source},
                          environment);
    QVERIFY2(tool.Exit == 0, qPrintable(Described(tool)));
    const QString rpm = tool.Out.trimmed().section('\n', -1);
    const QByteArray tool_spec = Test::Read_File(top + "/SPECS/qtdemo.spec");
    const QString tool_files = Run("rpm", {"-qpl", rpm}).Out;
    QVERIFY(QFile::remove(rpm));

    Test::TEditor editor(data);
    editor.Trigger("Build Package");
    auto* window = editor.Window().findChild<TBuildPackageWindow*>();
    QVERIFY(window != nullptr);
    bool lines_while_running = false;
    CHECK(Build_In_Editor(window, source, &lines_while_running));
    QVERIFY(lines_while_running);
    QCOMPARE(window->Package_Path(), rpm);
    // The editor reports where the package installs and what rpmlint found,
    // as the tool does.
    const QString shown = window->findChild<QPlainTextEdit*>()->toPlainText();
    const QStringList reported = tool.Out.split('\n').filter(
        QRegularExpression("^(Installs on|Does not install on|rpmlint)"));
    QVERIFY2(reported.size() > 2, qPrintable(tool.Out));
    for (const QString& line : reported)
        QVERIFY2(shown.contains("\n" + line + "\n"), qPrintable(line));
    QCOMPARE(Test::Read_File(top + "/SPECS/qtdemo.spec"), tool_spec);
    QCOMPARE(Run("rpm", {"-qpl", rpm}).Out, tool_files);

    Test::Write_File(source + "/CMakeLists.txt",
                     "cmake_minimum_required(VERSION 3.16)\nproject(qtdemo)\n"
                     "execute_process(COMMAND sleep 301)\n");
    QSignalSpy finished(window, &TBuildPackageWindow::Finished);
    window->Build();
    auto* log = window->findChild<QPlainTextEdit*>();
    QElapsedTimer waited;
    waited.start();
    while (!log->toPlainText().contains("+ cmake ") && waited.elapsed() < 120000)
        QTest::qWait(100);
    QVERIFY(window->Is_Running());
    window->findChildren<QPushButton*>().at(1)->click();
    QVERIFY(finished.wait(30000));
    QVERIFY2(log->toPlainText().contains(
                 "Cancelled: the build was stopped and no package was made."),
             qPrintable(log->toPlainText().right(2000)));
    QVERIFY(!log->toPlainText().contains("FAILED"));
    QVERIFY(Run("pgrep", {"-f", "sleep 301"}).Out.isEmpty());
}

// A package that offers its bundled Qt Core, left it without the run path
// and without the libraries it needs fails each check by name.
void TDetectTest::checksNameWhatIsWrongInABuiltPackage()
{
    const QString top = Path("faulty");
    const QString core = QFileInfo(QLibraryInfo::location(QLibraryInfo::LibrariesPath) +
                                   "/libQt5Core.so.5")
                             .canonicalFilePath();
    const QString name = QFileInfo(core).fileName();
    QVERIFY(QDir().mkpath(top + "/SPECS"));
    Test::Write_File(top + "/SPECS/faulty.spec",
                     QString("Name: faulty\nVersion: 1\nRelease: 1\nSummary: s\nLicense: MIT\n"
                             "%define _topdir " + top + "\n%description\nd\n%install\n"
                             "mkdir -p %{buildroot}/opt/faulty/lib\n"
                             "cp " + core + " %{buildroot}/opt/faulty/lib/\n"
                             "%files\n/opt/faulty\n")
                         .toUtf8());
    QProcessEnvironment environment;
    CHECK(Make_Package_Home(top, &environment));
    const TRun build = Run("rpmbuild", {"-bb", top + "/SPECS/faulty.spec"}, environment);
    QVERIFY2(build.Exit == 0, qPrintable(Described(build)));
    QDirIterator built(top + "/RPMS", {"faulty-1-1.*.rpm"}, QDir::Files,
                       QDirIterator::Subdirectories);
    QVERIFY(built.hasNext());
    const QString rpm = built.next();

    QStringList notes;
    const QString failures =
        Package_Check_Failures(rpm, {"/opt/faulty", "/opt/faulty/lib", "faulty", {}}, &notes)
            .join('\n');
    for (const QString& expected :
         {QString("the package provides \"libQt5Core.so.5()(64bit)\", a library it bundles"),
          QString("\"/opt/faulty/lib/%1\" has the run path \"\", not \"/opt/faulty/lib\"").arg(name),
          QString("\"/opt/faulty/lib/%1\" needs \"libicui18n.so.72\", which is neither bundled "
                  "nor on the base list")
              .arg(name)})
        QVERIFY2(failures.contains(expected), qPrintable(failures));
    QVERIFY2(!failures.contains("libc.so.6\", which"), qPrintable(failures));
}

// Built when first asked for: only some test functions need it, and each
// may run on its own.
void TDetectTest::Build_Qt6_Sample()
{
    if (!d_qt6_program.isEmpty())
        return;
    const QString build = Sample_Build_Folder("qtdemo6-build");
    QLockFile lock(build + ".lock");
    lock.setStaleLockTime(0);
    QVERIFY(lock.lock());
    QVERIFY(QDir().mkpath(build));
    const TRun configure = Run("qmake6", {"-o", build + "/Makefile", Qt_Demo_Source("qtdemo.pro")});
    QVERIFY2(configure.Exit == 0, qPrintable(Described(configure)));
    const TRun make = Run("make", {"-C", build});
    QVERIFY2(make.Exit == 0, qPrintable(Described(make)));
    d_qt6_program = build + "/qtdemo";
}

// The editor's data: the variables of the qtdemo package built below `top`,
// no requirements.
void TDetectTest::Make_Data_Folder(const QString& data, const QString& top,
                                   TTypes::TOptionMakeGenerator generator)
{
    QDir().mkpath(data);
    TVariableData variables = TVariablesFile::Factory_Data();
    for (TSpecVariable& variable : variables.Variables)
    {
        if (variable.Name == "%define _topdir")
            variable.Value = top;
        else if (variable.Name == "%define name")
            variable.Value = "qtdemo";
    }
    TVariablesFile::Write(data, variables);
    TBuildOptions options;
    options.Generator = generator;
    options.Requires = TTypes::Requires_Ignored;
    TOptionsFile::Write(data, options);
}

// The source tarball, the desktop entry and the icon.
void TDetectTest::Make_Sources(const QString& top)
{
    const QString source = top + "/source/qtdemo-1.0";
    for (const QString& folder : {source, top + "/SOURCES", top + "/SPECS", top + "/desktop_menu",
                                  top + "/home", top + "/tmp"})
        QVERIFY(QDir().mkpath(folder));
    for (const QString& file : QDir(Qt_Demo_Source()).entryList(QDir::Files))
        QVERIFY(QFile::copy(Qt_Demo_Source(file), source + "/" + file));
    const TRun tar = Run("tar", {"-C", top + "/source", "-czf", top + "/SOURCES/qtdemo-1.0.tar.gz",
                                 "qtdemo-1.0"});
    QVERIFY2(tar.Exit == 0, qPrintable(Described(tar)));
    CHECK(Test::Make_Desktop_Files(top));
}


void TDetectTest::Make_Source_Copy(const QString& source)
{
    QVERIFY(QDir().mkpath(source));
    for (const QString& file : QDir(Qt_Demo_Source()).entryList(QDir::Files))
        QVERIFY(QFile::copy(Qt_Demo_Source(file), source + "/" + file));
}

// Fills in the program and the source folder, presses Build and waits for
// the end, noting whether rpmbuild's lines showed before it.
void TDetectTest::Build_In_Editor(TBuildPackageWindow* window, const QString& source,
                                  bool* lines_while_running)
{
    const QList<QLineEdit*> fields = window->findChildren<QLineEdit*>();
    QCOMPARE(fields.size(), 4);
    fields[0]->setText(d_program);
    fields[1]->setText(source);
    QSignalSpy finished(window, &TBuildPackageWindow::Finished);
    window->findChildren<QPushButton*>().at(0)->click();
    auto* log = window->findChild<QPlainTextEdit*>();
    QElapsedTimer waited;
    waited.start();
    auto* status = window->findChild<QLabel*>("status");
    bool compiling_told = false;
    while (finished.isEmpty() && waited.elapsed() < 300000)
    {
        QTest::qWait(50);
        if (window->Is_Running() && log->toPlainText().contains("+ make install"))
            *lines_while_running = true;
        // rpmbuild's own stages are told as they come.
        if (status->text().startsWith("Step 6 of 9: Compiling the program (%build) ("))
            compiling_told = true;
    }
    QVERIFY2(!finished.isEmpty(), "the build did not end");
    QVERIFY2(!window->Package_Path().isEmpty(), qPrintable(log->toPlainText().right(3000)));
    QVERIFY(compiling_told);
    QVERIFY2(status->text().startsWith("Built and checked in "), qPrintable(status->text()));
}

// A HOME for the tool and rpmbuild, with a light compression.
void TDetectTest::Make_Package_Home(const QString& top, QProcessEnvironment* environment)
{
    const QString home = top + "/../home";
    QVERIFY(QDir().mkpath(home));
    Test::Write_File(home + "/.rpmmacros", "%_binary_payload w1.gzdio\n");
    *environment = QProcessEnvironment::systemEnvironment();
    environment->insert("HOME", QDir::cleanPath(home));
}

// Everything set with flags: the package "qtdemo" built below `top`.
QStringList TDetectTest::Package_Arguments(const QString& data, const QString& top)
{
    return {"package", "--data-folder", data, "--set", "%define _topdir=" + top, "--set",
            "%define name=qtdemo", "--requirements", "ignore"};
}

// Builds `spec` lightly compressed; the package's path, or empty.
QString TDetectTest::Build_Package(const QString& top, const QString& spec)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", top + "/home");
    const TRun build = Run("rpmbuild", {"-bb", "--define", "_tmppath " + top + "/tmp", "--define",
                                        "_binary_payload w1.gzdio", spec},
                           environment);
    if (build.Exit != 0)
        qWarning("%s", qPrintable(Described(build)));
    QDirIterator packages(top + "/RPMS", {"qtdemo-1.0-1.*.rpm"}, QDir::Files,
                          QDirIterator::Subdirectories);
    return packages.hasNext() ? packages.next() : QString();
}

// Built on Debian 12, the bundled Qt Core needs glibc 2.35, which the
// enterprise releases before RHEL 10 lack; of rpmlint's errors only those
// every bundle gets are left, each explained.
void TDetectTest::Verify_Report(const QString& report)
{
    const QStringList lines = report.split('\n');
    const QStringList installs = lines.filter(QRegularExpression("^Installs on: "));
    QVERIFY2(installs.size() == 1 && installs[0].contains("Fedora 43") &&
                 installs[0].contains("openSUSE Tumbleweed") && !installs[0].contains("RHEL 8"),
             qPrintable(report));
    for (const QString& release : {QString("8: needs GLIBC_2.35; RHEL 8 has up to 2.28"),
                                   QString("9: needs GLIBC_2.35; RHEL 9 has up to 2.34")})
        QVERIFY2(lines.contains("Does not install on RHEL " +
                                release.section(':', 0, 0) + " and its rebuilds:" +
                                release.section(':', 1)),
                 qPrintable(report));
    QVERIFY2(!lines.filter(QRegularExpression("^rpmlint: [1-9][0-9]* errors, ")).isEmpty(),
             qPrintable(report));
    const QStringList errors = lines.filter(QRegularExpression("^rpmlint E: "));
    QVERIFY2(!errors.isEmpty(), qPrintable(report));
    for (const QString& error : errors)
        QVERIFY2(error.contains(QRegularExpression("^rpmlint E: \\S+ \\([0-9]+\\): ")),
                 qPrintable(error));
}

// The package asks the system only for what the base system offers, and
// for rpm's own features. The unversioned "glibc" offered satisfies any
// version asked for.
void TDetectTest::Verify_Only_Base_Required(const QString& package,
                                            const Test::TBaseSystem& base)
{
    const TRun requires = Run("rpm", {"-qp", "--requires", package});
    QVERIFY2(requires.Exit == 0, qPrintable(Described(requires)));
    QVERIFY2(requires.Out.contains("libc.so.6("), qPrintable(requires.Out));
    for (const QString& line : requires.Out.split('\n', Qt::SkipEmptyParts))
        QVERIFY2(line.startsWith("rpmlib(") || base.Provides.contains(line.section(' ', 0, 0)),
                 qPrintable(line + " is required, which the base system lacks"));
}

// The target folders hold the bundle's files, and links to them; the root
// has no Qt library anywhere else.
void TDetectTest::Verify_Installed_Bundle(const QString& root, const QStringList& bundle)
{
    const QString program_folder = root + d_libdir + "/qtdemo";
    QStringList installed;
    QDirIterator files(root, QDir::Files | QDir::NoSymLinks, QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString file = files.next();
        const QString in_folder = file.mid(program_folder.size() + 1);
        if (!file.startsWith(program_folder + "/"))
            QVERIFY2(!QFileInfo(file).fileName().startsWith("libQt"), qPrintable(file));
        else if (bundle.contains(in_folder.section('/', 0, 0) + "/" + QFileInfo(file).fileName()))
            installed.append(in_folder);
    }
    installed.sort();
    QStringList sorted = bundle;
    sorted.sort();
    QCOMPARE(installed, sorted);
}

void TDetectTest::Verify_Runs_On_Xcb(const QString& root)
{
    const Test::TVirtualDisplay display;
    QVERIFY2(!display.Display().isEmpty(), "Xvfb did not start");
    QProcessEnvironment bare;
    bare.insert("DISPLAY", display.Display());
    bare.insert("QT_QPA_PLATFORM", "xcb");
    bare.insert("HOME", "/");
    const QString chroot = QStandardPaths::findExecutable("chroot", {"/usr/sbin", "/sbin"});
    const TRun run = Run(chroot, {root, "/usr/bin/qtdemo"}, bare);
    QVERIFY2(run.Exit == 0 && run.Out == Sample_Output, qPrintable(Described(run)));
}

QTEST_MAIN(TDetectTest)
#include "tst_detect.moc"
