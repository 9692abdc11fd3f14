// End to end with the real tools: small Qt programs whose own install rules
// lay them out in different ways (tests/data/layouts) are built as their
// users build them, each packaged by one "package" run of the command-line
// tool with nothing but flags, installed with a plain "rpm -i" into a root
// whose only other package is a base system, and started there on the xcb
// platform against Xvfb through the command their menu entry names, whose
// icon the package installs. A program installed to a fixed path nothing
// can move is stopped before anything is compiled. Every test function runs
// as a ctest entry of its own.

#include <QDirIterator>
#include <QProcess>
#include <QtTest>

#include <unistd.h>

#include "basesystem.h"
#include "installroot.h"
#include "testsupport.h"
#include "virtualdisplay.h"

namespace
{
using Test::Run;
using Test::TRun;

QString Described(const TRun& run)
{
    return QString("exit %1\n%2\n%3").arg(run.Exit).arg(run.Out.right(4000), run.Err.right(3000));
}

const QString Samples = KV_TEST_DATA "/layouts";

enum class TBuild
{
    CMake,      // in a build folder beside the sources
    Shadow,     // qmake in a build folder beside the sources
    In_Source,  // qmake in the source folder itself
};

// One program below a temporary folder: its sources, its build, the
// tool's data folder, rpmbuild's top folder and the install root.
class TProgram
{
public:
    TProgram(const QString& sample, const QString& name) : d_sample(sample), d_name(name) {}

    QString Path(const QString& relative) const { return d_folder.path() + "/" + relative; }
    QString Source() const { return Path("source"); }
    QString Top() const { return Path("top"); }
    QString Root() const { return Path("root"); }
    const QString& Name() const { return d_name; }
    QString Built() const { return d_built; }

    void Copy_Sample();
    void Build(TBuild build);
    void Make_Desktop_Menu_Files();
    TRun Package() const;

private:
    QProcessEnvironment Environment() const;

    QTemporaryDir d_folder;
    QString d_sample;
    QString d_name;
    QString d_built;  // the program the build made
};

void TProgram::Copy_Sample()
{
    const QString from = Samples + "/" + d_sample;
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString file = files.next();
        const QString to = Source() + file.mid(from.size());
        QVERIFY(QDir().mkpath(QFileInfo(to).path()));
        QVERIFY2(QFile::copy(file, to), qPrintable(file));
    }
    QVERIFY(QFile::copy(Samples + "/main.cpp", Source() + "/main.cpp"));
}

QString Project_In(const QString& folder)
{
    return folder + "/" + QDir(folder).entryList({"*.pro"}, QDir::Files).value(0);
}

void TProgram::Build(TBuild build)
{
    const QString folder = build == TBuild::In_Source ? Source() : Path("build");
    QVERIFY(QDir().mkpath(folder));
    const TRun configure = build == TBuild::CMake
                               ? Run("cmake", {"-S", Source(), "-B", folder})
                               : Run("qmake", {Project_In(Source())},
                                     QProcessEnvironment::systemEnvironment(), folder);
    QVERIFY2(configure.Exit == 0, qPrintable(Described(configure)));
    const TRun make = Run("make", {"-C", folder});
    QVERIFY2(make.Exit == 0, qPrintable(Described(make)));
    QDirIterator found(folder, {d_name}, QDir::Files | QDir::Executable,
                       QDirIterator::Subdirectories);
    QVERIFY2(found.hasNext(), qPrintable(d_name + " was not built in " + folder));
    d_built = found.next();
}

// The entry and icon a program without a menu entry of its own is given.
void TProgram::Make_Desktop_Menu_Files()
{
    QVERIFY(QDir().mkpath(Top() + "/desktop_menu"));
    Test::Write_File(Top() + "/desktop_menu/" + d_name + ".desktop",
                     QString("[Desktop Entry]\nType=Application\nName=%1\nExec=%1\nIcon=%1\n"
                             "Categories=Utility;\n")
                         .arg(d_name)
                         .toUtf8());
    QVERIFY(QFile::copy(Samples + "/cmake/icons/layoutcmake.png",
                        Top() + "/desktop_menu/" + d_name + ".png"));
}

// A HOME for the tool and rpmbuild, with a light compression.
QProcessEnvironment TProgram::Environment() const
{
    const QString home = Path("home");
    QDir().mkpath(home);
    Test::Write_File(home + "/.rpmmacros", "%_binary_payload w1.gzdio\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home);
    return environment;
}

// A fresh data folder, and one package run with flags only.
TRun TProgram::Package() const
{
    const QString data = Path("data");
    const TRun init = Run(KV_CLI_PATH, {"init", "--data-folder", data}, Environment());
    if (init.Exit != 0)
        return init;
    const bool cmake = QFileInfo::exists(Source() + "/CMakeLists.txt");
    return Run(KV_CLI_PATH,
               {"package", "--data-folder", data, "--set", "%define _topdir=" + Top(), "--set",
                "%define name=" + d_name, "--requirements", "ignore", "--generator",
                cmake ? "cmake" : "qmake", "--program", d_built, "--source", Source()},
               Environment());
}

QStringList Files_Below(const QString& folder)
{
    QStringList files;
    QDirIterator found(folder, QDir::Files, QDirIterator::Subdirectories);
    while (found.hasNext())
        files.append(found.next());
    return files;
}

QString Chroot()
{
    return QStandardPaths::findExecutable("chroot", {"/usr/sbin", "/sbin"});
}

// Runs `command` in the root through its shell, with only `variables` and
// the system's PATH.
TRun Run_In_Root(const QString& root, const QString& command, const QStringList& variables = {})
{
    QProcessEnvironment bare;
    bare.insert("PATH", "/usr/bin:/bin");
    bare.insert("HOME", "/");
    for (const QString& variable : variables)
        bare.insert(variable.section('=', 0, 0), variable.section('=', 1));
    return Run(Chroot(), {root, "/bin/sh", "-c", command}, bare);
}
}

class TLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cmakeProgramBringsItsOwnMenuEntry();
    void qmakeSubdirsProgramInstallsIntoPrefixBin();
    void qtCreatorTemplateIsMovedIntoTheProgramFolder();
    void inSourceBuildInstallsIntoThePrefixItself();
    void fixedPathStopsThePackageBeforeCompiling();

private:
    void Package_Successfully(TProgram* program, TBuild build, QString* report, QString* rpm);
    void Install_On_Base_System(const TProgram& program, const QString& rpm);
    void Verify_Menu_Starts_The_Program(const TProgram& program, int entries);
    void Verify_Runs(const TProgram& program, const QString& command);

    QString d_libdir;
};

void TLayoutTest::initTestCase()
{
    for (const char* tool : {"cmake", "qmake", "make", "g++", "rpmbuild", "rpm", "patchelf",
                             "busybox", "Xvfb", "desktop-file-validate", "appstreamcli"})
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                 qPrintable(QString("%1 is missing; ./build.sh installs it").arg(tool)));
    d_libdir = Run("rpm", {"--eval", "%{_libdir}"}).Out.trimmed();
    QVERIFY(d_libdir.startsWith('/'));
}

// Copies and builds the sample, packages it with one run, and gives the
// report and the package.
void TLayoutTest::Package_Successfully(TProgram* program, TBuild build, QString* report,
                                       QString* rpm)
{
    CHECK(program->Copy_Sample());
    CHECK(program->Build(build));
    const TRun package = program->Package();
    QVERIFY2(package.Exit == 0, qPrintable(Described(package)));
    QVERIFY2(package.Out.contains("The package was built and passed every check."),
             qPrintable(Described(package)));
    *report = package.Out;
    *rpm = package.Out.trimmed().section('\n', -1);
    QVERIFY2(rpm->endsWith(".rpm") && QFileInfo(*rpm).isFile(), qPrintable(Described(package)));
}

// A base system of what the program and its bundle load besides, then the
// package, each with a plain "rpm -i".
void TLayoutTest::Install_On_Base_System(const TProgram& program, const QString& rpm)
{
    if (geteuid() != 0)
        QSKIP("running the package in its own root needs chroot, and so root");
    const QStringList shipped =
        QStringList{program.Built()} + Files_Below(program.Top() + "/shared_libs");
    QString error;
    const Test::TBaseSystem base = Test::Base_System_For(shipped, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QString base_package =
        Test::Build_Base_System_Package(base, program.Path("base"), &error);
    QVERIFY2(!base_package.isEmpty(), qPrintable(error));
    const QString made = Test::Make_Install_Root(program.Root());
    QVERIFY2(made.isEmpty(), qPrintable(made));
    for (const QString& file : {base_package, rpm})
    {
        const TRun install =
            Run("rpm", Test::Rpm_Root_Options(program.Root()) + QStringList{"-i", file});
        QVERIFY2(install.Exit == 0, qPrintable(Described(install)));
    }
}

// Each entry in the system menu starts a command on PATH and names an
// installed icon; the command shows the program's window.
void TLayoutTest::Verify_Menu_Starts_The_Program(const TProgram& program, int entries)
{
    const QString menu = program.Root() + "/usr/share/applications";
    const QStringList found = QDir(menu).entryList({"*.desktop"}, QDir::Files);
    QCOMPARE(found.size(), entries);
    for (const QString& entry : found)
    {
        const QString text = QString::fromUtf8(Test::Read_File(menu + "/" + entry));
        const QString exec = text.section("\nExec=", 1).section('\n', 0, 0);
        const QString icon = text.section("\nIcon=", 1).section('\n', 0, 0);
        const QString command = exec.section(' ', 0, 0);
        const TRun on_path = Run_In_Root(program.Root(), "command -v " + command);
        QVERIFY2(on_path.Exit == 0 && on_path.Out.trimmed() == "/usr/bin/" + command,
                 qPrintable(entry + ": " + Described(on_path)));
        QStringList icons;
        for (const QString& file : Files_Below(program.Root() + "/usr/share"))
            if (QFileInfo(file).completeBaseName() == icon &&
                (file.contains("/usr/share/icons/hicolor/") ||
                 file.contains("/usr/share/pixmaps/")))
                icons.append(file);
        QVERIFY2(!icons.isEmpty(), qPrintable(entry + " names the icon " + icon));
        CHECK(Verify_Runs(program, command));
    }
}

void TLayoutTest::Verify_Runs(const TProgram& program, const QString& command)
{
    const Test::TVirtualDisplay display;
    QVERIFY2(!display.Display().isEmpty(), "Xvfb did not start");
    const TRun run = Run_In_Root(program.Root(), command,
                                 {"DISPLAY=" + display.Display(), "QT_QPA_PLATFORM=xcb"});
    QVERIFY2(run.Exit == 0 && run.Out == "window shown: xcb\n", qPrintable(Described(run)));
}

// GNUInstallDirs' bin, a desktop entry naming a fixed Exec path and an
// unregistered category, a PNG and a scalable icon, metainfo and a data
// file: the menu files go to the system's folders, the entry starts the
// command on PATH, and the refused category is told but builds all the same.
void TLayoutTest::cmakeProgramBringsItsOwnMenuEntry()
{
    TProgram program("cmake", "layoutcmake");
    QString report;
    QString rpm;
    CHECK(Package_Successfully(&program, TBuild::CMake, &report, &rpm));
    QVERIFY2(report.contains("own install rules put it into <prefix>/bin (learned from a trial "
                             "install of the build folder"),
             qPrintable(report));
    QVERIFY2(report.contains("refused by desktop-file-validate") &&
                 report.contains("unregistered value \"Utilities\"") &&
                 report.contains("\"X-Utilities\""),
             qPrintable(report));
    QVERIFY(!QFileInfo::exists(program.Path("build/install_manifest.txt")));
    const QStringList files = Run("rpm", {"-qpl", rpm}).Out.split('\n');
    for (const QString& file :
         QStringList{"/usr/share/applications/org.example.layoutcmake.desktop",
                     "/usr/share/icons/hicolor/48x48/apps/layoutcmake.png",
                     "/usr/share/icons/hicolor/scalable/apps/layoutcmake.svg",
                     "/usr/share/metainfo/org.example.layoutcmake.metainfo.xml",
                     d_libdir + "/layoutcmake/share/layoutcmake/greeting.txt",
                     d_libdir + "/layoutcmake/bin/layoutcmake"})
        QVERIFY2(files.contains(file), qPrintable(file));
    QVERIFY(files.filter(d_libdir + "/layoutcmake/share/applications").isEmpty());
    QVERIFY(files.filter("pixmaps").isEmpty());

    CHECK(Install_On_Base_System(program, rpm));
    CHECK(Verify_Menu_Starts_The_Program(program, 1));
}

// qmake's subdirs project, built in a folder of its own, with the program's
// own entry and scalable icon; no desktop_menu files are needed.
void TLayoutTest::qmakeSubdirsProgramInstallsIntoPrefixBin()
{
    TProgram program("subdirs", "layoutsubdirs");
    QString report;
    QString rpm;
    CHECK(Package_Successfully(&program, TBuild::Shadow, &report, &rpm));
    QVERIFY2(report.contains("own install rules put it into <prefix>/bin"), qPrintable(report));
    QVERIFY(!QFileInfo::exists(program.Top() + "/desktop_menu"));
    CHECK(Install_On_Base_System(program, rpm));
    QVERIFY(QFileInfo(program.Root() + d_libdir + "/layoutsubdirs/bin/layoutsubdirs").isFile());
    CHECK(Verify_Menu_Starts_The_Program(program, 1));
}

// The template's /opt/<target>/bin is set only when target.path is empty,
// so qmake is given a target.path in the program folder.
void TLayoutTest::qtCreatorTemplateIsMovedIntoTheProgramFolder()
{
    TProgram program("creator", "layoutcreator");
    CHECK(program.Make_Desktop_Menu_Files());
    QString report;
    QString rpm;
    CHECK(Package_Successfully(&program, TBuild::Shadow, &report, &rpm));
    QVERIFY2(report.contains("qmake is given target.path=bin"), qPrintable(report));
    QVERIFY(Test::Read_File(program.Top() + "/SPECS/layoutcreator.spec")
                .contains(" PREFIX=%{_libdir}/%{name} target.path=%{_libdir}/%{name}/bin\n"));
    QVERIFY(
        Run("rpm", {"-qpl", rpm}).Out.contains(d_libdir + "/layoutcreator/bin/layoutcreator\n"));
    CHECK(Install_On_Base_System(program, rpm));
    QVERIFY(!QFileInfo::exists(program.Root() + "/opt"));
    CHECK(Verify_Menu_Starts_The_Program(program, 1));
}

void TLayoutTest::inSourceBuildInstallsIntoThePrefixItself()
{
    TProgram program("insource", "layoutinsource");
    CHECK(program.Make_Desktop_Menu_Files());
    QString report;
    QString rpm;
    CHECK(Package_Successfully(&program, TBuild::In_Source, &report, &rpm));
    QVERIFY2(report.contains("own install rules put it into the install prefix itself"),
             qPrintable(report));
    CHECK(Install_On_Base_System(program, rpm));
    QVERIFY(QFileInfo(program.Root() + d_libdir + "/layoutinsource/layoutinsource").isFile());
    CHECK(Verify_Menu_Starts_The_Program(program, 1));
}

// Nothing is written or compiled; the problem names the rule, the path and
// what to change.
void TLayoutTest::fixedPathStopsThePackageBeforeCompiling()
{
    TProgram program("fixed", "layoutfixed");
    CHECK(program.Make_Desktop_Menu_Files());
    CHECK(program.Copy_Sample());
    CHECK(program.Build(TBuild::Shadow));
    const TRun package = program.Package();
    QCOMPARE(package.Exit, 1);
    QVERIFY2(package.Err.contains("the preflight found:\n  the program's install rule \"target\" "
                                  "puts \"layoutfixed\" into the fixed path "
                                  "\"/opt/layoutfixed/bin\"") &&
                 package.Err.contains("(\"target.path = $$PREFIX/bin\")"),
             qPrintable(Described(package)));
    QVERIFY(!QFileInfo::exists(program.Top() + "/SPECS"));
    QVERIFY(!QFileInfo::exists(program.Top() + "/layoutfixed.build.log"));
}

QTEST_MAIN(TLayoutTest)
#include "tst_layout.moc"
