// End to end with the real tools: the small Qt Widgets program of
// tests/data/qtdemo is built, the command-line tool detects and collects its
// Qt bundle and writes the spec for it, rpmbuild builds the package, and the
// package runs on the xcb platform against Xvfb in a root without any
// system Qt. Everything happens below one temporary folder.

#include <QDirIterator>
#include <QImage>
#include <QLibraryInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include <unistd.h>

#include "craftedelf.h"
#include "elf/loaderhost.h"
#include "installroot.h"
#include "datafiles/optionsfile.h"
#include "testsupport.h"
#include "datafiles/variabledata.h"
#include "virtualdisplay.h"

namespace
{
struct TRun
{
    int Exit = -1;
    QString Out;
    QString Err;
};

TRun Run(const QString& program, const QStringList& arguments,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit)
        return {-1, QString(), program + " did not finish"};
    return {process.exitCode(), QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

TRun Cli(const QStringList& arguments)
{
    return Run(KV_CLI_PATH, arguments);
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

// The installed file a collected "<target>/<file>" was copied from.
QString Installed_File(const QString& line)
{
    if (line.startsWith("lib/"))
        return QLibraryInfo::location(QLibraryInfo::LibrariesPath) + line.mid(3);
    return QLibraryInfo::location(QLibraryInfo::PluginsPath) + "/" + line;
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
    void packageRunsWithoutASystemQt();

private:
    QString Path(const QString& relative) const { return d_work.path() + "/" + relative; }
    QString Top() const { return Path("top"); }
    void Make_Data_Folder();
    void Make_Sources();

    QTemporaryDir d_work;
    QString d_program;
    QStringList d_bundle;
    QString d_libdir;
};

void TDetectTest::initTestCase()
{
    for (const char* tool : {"cmake", "make", "g++", "ldd", "readelf", "rpmbuild", "rpm",
                             "patchelf", "busybox", "tar", "Xvfb"})
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                 qPrintable(QString("%1 is missing; ./build.sh installs it").arg(tool)));
    const QString source = Qt_Demo_Source();
    QVERIFY2(QFileInfo::exists(source + "/CMakeLists.txt"), qPrintable(source));
    const TRun configure = Run("cmake", {"-S", source, "-B", Path("qtdemo-build")});
    QVERIFY2(configure.Exit == 0, qPrintable(Described(configure)));
    const TRun build = Run("cmake", {"--build", Path("qtdemo-build")});
    QVERIFY2(build.Exit == 0, qPrintable(Described(build)));
    d_program = Path("qtdemo-build/qtdemo");
    const TRun libdir = Run("rpm", {"--eval", "%{_libdir}"});
    d_libdir = libdir.Out.trimmed();
    QVERIFY(d_libdir.startsWith('/'));
}

void TDetectTest::wrongUseAndUnfitProgramsCollectNothing()
{
    const QString into = Path("refused/shared_libs");
    const struct
    {
        QStringList Arguments;
        int Exit;
        QString Error;
    } cases[] = {
        {{"detect"}, 2, "detect needs --program PATH"},
        {{"detect", "--program", d_program, "--output", Path("x.spec")}, 2,
         "detect takes only --program, --plugins-folder, --qml-sources and --collect-into"},
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
    QVERIFY2(blocked.Err.endsWith(QString("kestrelvantory-cli: cannot make the folder \"%1/lib\"\n")
                                      .arg(Path("blocker"))),
             qPrintable(Described(blocked)));
    QVERIFY(blocked.Out.startsWith("lib/libQt5Core.so."));
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
                     "platforms/libqxcb.so", "xcbglintegrations/libqxcb-glx-integration.so"})
        QVERIFY2(!d_bundle.filter(QRegularExpression("^" + QRegularExpression::escape(needed)))
                      .isEmpty(),
                 qPrintable(needed));
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
    // files load their Qt libraries from the bundle alone.
    const QString links = Path("sonames");
    QDir().mkpath(links);
    for (const QString& line : d_bundle.filter(QRegularExpression("^lib/")))
    {
        const QString name = line.mid(4);
        QVERIFY(QFile::link(collected + "/" + line, links + "/" + name.section('.', 0, 2)));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LD_LIBRARY_PATH", links);
    for (const QString& line : d_bundle)
        for (const QString& path : Test::Loaded_Paths(collected + "/" + line, environment))
            QVERIFY2(!Test::Is_Qt_Library(path) || path.startsWith(links + "/"),
                     qPrintable(line + " loads " + path));

    const TRun again = Cli({"detect", "--program", d_program, "--collect-into", collected});
    QCOMPARE(again.Out, detect.Out);
    QCOMPARE(again.Err, QString("kestrelvantory-cli: into \"%1\": 0 copied, %2 already up to "
                                "date.\n").arg(collected).arg(d_bundle.size()));
}

void TDetectTest::createdSpecInstallsExactlyTheBundle()
{
    QVERIFY(!d_bundle.isEmpty());
    Make_Data_Folder();
    const QString spec = Top() + "/SPECS/qtdemo.spec";
    QDir().mkpath(Top() + "/SPECS");
    const TRun create = Cli({"create", "--data-folder", Path("data"), "--program", d_program,
                             "--output", spec});
    QVERIFY2(create.Exit == 0, qPrintable(Described(create)));

    // Every install line from the shared libraries, in the order detect
    // printed them, and nothing else.
    QStringList installed;
    static const QRegularExpression install("^install %\\{_topdir\\}/shared_libs/(\\S+) ");
    for (const QString& line : QString::fromUtf8(Test::Read_File(spec)).split('\n'))
    {
        const QRegularExpressionMatch match = install.match(line);
        if (match.hasMatch())
            installed.append(match.captured(1));
    }
    QCOMPARE(installed, d_bundle);
}

void TDetectTest::packageRunsWithoutASystemQt()
{
    if (geteuid() != 0)
        QSKIP("running the package in its own root needs chroot, and so root");
    QVERIFY(!d_bundle.isEmpty());
    Make_Sources();
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", Path("home"));
    const TRun build = Run("rpmbuild", {"-bb", "--define", "_tmppath " + Path("tmp"),
                                        Top() + "/SPECS/qtdemo.spec"},
                           environment);
    QVERIFY2(build.Exit == 0, qPrintable(Described(build)));
    QDirIterator packages(Top() + "/RPMS", {"qtdemo-1.0-1.*.rpm"}, QDir::Files,
                          QDirIterator::Subdirectories);
    QVERIFY(packages.hasNext());
    const QString root = Path("root");
    const QString made = Test::Make_Install_Root(root);
    QVERIFY2(made.isEmpty(), qPrintable(made));
    const TRun install =
        Run("rpm", Test::Rpm_Root_Options(root) + QStringList{"-i", "--nodeps", packages.next()});
    QVERIFY2(install.Exit == 0, qPrintable(Described(install)));

    // The target folders hold the bundle's files, and links to them.
    const QString program_folder = root + d_libdir + "/qtdemo";
    QStringList targets;
    for (const QString& line : d_bundle)
        targets.append(line.section('/', 0, 0) + "/");
    QStringList installed;
    QDirIterator files(program_folder, QDir::Files | QDir::NoSymLinks,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString file = files.next().mid(program_folder.size() + 1);
        if (targets.contains(file.section('/', 0, 0) + "/"))
            installed.append(file);
    }
    installed.sort();
    QStringList bundle = d_bundle;
    bundle.sort();
    QCOMPARE(installed, bundle);

    // glibc and the other libraries the program and its bundle load.
    QStringList loading = {d_program};
    for (const QString& line : d_bundle)
        loading.append(Top() + "/shared_libs/" + line);
    const QString copied = Test::Copy_System_Libraries(root, loading);
    QVERIFY2(copied.isEmpty(), qPrintable(copied));
    const Test::TVirtualDisplay display;
    QVERIFY2(!display.Display().isEmpty(), "Xvfb did not start");
    QProcessEnvironment bare;
    bare.insert("DISPLAY", display.Display());
    bare.insert("QT_QPA_PLATFORM", "xcb");
    bare.insert("HOME", "/");
    const QString chroot = QStandardPaths::findExecutable("chroot", {"/usr/sbin", "/sbin"});
    const TRun program = Run(chroot, {root, d_libdir + "/qtdemo/qtdemo"}, bare);
    QVERIFY2(program.Exit == 0 && program.Out == "platform: xcb\n", qPrintable(Described(program)));
}

// The editor's data: the variables of the qtdemo package, no requirements.
void TDetectTest::Make_Data_Folder()
{
    QDir().mkpath(Path("data"));
    TVariableData data = TVariablesFile::Factory_Data();
    for (TSpecVariable& variable : data.Variables)
    {
        if (variable.Name == "%define _topdir")
            variable.Value = Top();
        else if (variable.Name == "%define name")
            variable.Value = "qtdemo";
    }
    TVariablesFile::Write(Path("data"), data);
    TOptionsFile::Write(Path("data"), {TTypes::Generator_QMake, TTypes::Requires_Ignored});
}

// The source tarball, the desktop entry and the icon.
void TDetectTest::Make_Sources()
{
    const QString source = Path("source/qtdemo-1.0");
    for (const QString& folder : {source, Top() + "/SOURCES", Top() + "/desktop_menu", Path("home"),
                                  Path("tmp")})
        QDir().mkpath(folder);
    for (const QString& file : QStringList{"main.cpp", "qtdemo.pro", "CMakeLists.txt", "README"})
        QVERIFY(QFile::copy(Qt_Demo_Source(file), source + "/" + file));
    const TRun tar = Run("tar", {"-C", Path("source"), "-czf", Top() + "/SOURCES/qtdemo-1.0.tar.gz",
                                 "qtdemo-1.0"});
    QVERIFY2(tar.Exit == 0, qPrintable(Described(tar)));
    Test::Write_File(Top() + "/desktop_menu/qtdemo.desktop",
                     "[Desktop Entry]\nType=Application\nName=Qt demo\nExec=qtdemo\n");
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkCyan);
    QVERIFY(icon.save(Top() + "/desktop_menu/qtdemo.png"));
}

QTEST_GUILESS_MAIN(TDetectTest)
#include "tst_detect.moc"
