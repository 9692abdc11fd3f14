// End to end with the real tools: a spec composed for a tiny qmake project
// and a tiny CMake project is built with rpmbuild, installed into an
// "rpm --root" tree whose scriptlets run under busybox, upgraded, downgraded
// and erased. A real Qt Widgets program, packaged with its Qt libraries and
// platform plug-ins, is then run inside such a tree that holds no Qt of its
// own, beside a second program bundling the same Qt, and so is a Qt Quick
// program, built against Qt 5 and Qt 6, packaged with the QML modules that
// detection finds for it.
// Everything happens below one temporary folder, with HOME pointed there.

#include <QDirIterator>
#include <QImage>
#include <QLibraryInfo>
#include <QProcess>
#include <QtTest>

#include "basesystem.h"
#include "installroot.h"
#include "datafiles/savefile.h"
#include "spec/spectext.h"
#include "testsupport.h"
#include "virtualdisplay.h"

#include <unistd.h>

Q_DECLARE_METATYPE(TTypes::TOptionMakeGenerator)

namespace
{
// The small program prints the data file it finds beside itself, the usual
// relocatable layout, and the one in the data folder compiled in from its
// install prefix; "make install" also puts a script beside it in "bin".
const char* const Main_Source = R"(#include <QCoreApplication>
#include <QFile>
#include <cstdio>

static int Print(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
    {
        std::printf("missing: %s\n", qPrintable(path));
        return 1;
    }
    std::printf("%s", file.readAll().constData());
    return 0;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int relative = Print(app.applicationDirPath() + "/../share/demo/relative.txt");
    return relative + Print(DEMO_DATADIR "/demo/prefix.txt");
}
)";

const char* const QMake_Project = R"(QT = core
CONFIG += console
TARGET = demo
SOURCES = main.cpp
DEFINES += DEMO_DATADIR=\\\"$$PREFIX/share\\\"
target.path = $$PREFIX/bin
helper.files = demo-helper
helper.path = $$PREFIX/bin
helper.CONFIG += executable
data.files = relative.txt prefix.txt
data.path = $$PREFIX/share/demo
INSTALLS += target helper data
)";

const char* const CMake_Project = R"(cmake_minimum_required(VERSION 3.16)
project(demo LANGUAGES CXX)
include(GNUInstallDirs)
find_package(Qt5 REQUIRED COMPONENTS Core)
add_executable(demo main.cpp)
target_link_libraries(demo PRIVATE Qt5::Core)
target_compile_definitions(demo PRIVATE DEMO_DATADIR="${CMAKE_INSTALL_FULL_DATADIR}")
install(TARGETS demo RUNTIME DESTINATION bin)
install(PROGRAMS demo-helper DESTINATION bin)
install(FILES relative.txt prefix.txt DESTINATION share/demo)
)";

const char* const Helper_Script = "#!/bin/sh\necho helper runs\n";

// What the installed program of `version` prints when it finds both of its
// data files.
QString Found_Both(const QString& version)
{
    return QString("found beside the program %1\nfound through the prefix %1\n").arg(version);
}

const char* const Plugin = "libqoffscreen.so";

// The Qt libraries and platform plug-ins the Qt Widgets program ships.
const QStringList Qt_Libraries = {"Widgets", "Gui", "Core", "DBus", "XcbQpa"};
const QStringList Platform_Plugins = {"libqxcb.so", "libqoffscreen.so"};

struct TRun
{
    bool Ok;
    QString Output;
};

// The system's own versioned Qt core library, such as "libQt5Core.so.5.15.8".
QString Qt_Core_File_Name()
{
    const QStringList names = QDir(QLibraryInfo::location(QLibraryInfo::LibrariesPath))
                                  .entryList({"libQt5Core.so.5.*.*"}, QDir::Files);
    return names.isEmpty() ? QString() : names.first();
}

QString Qt_Version()
{
    return Qt_Core_File_Name().section(".so.", 1);
}

TSpecInput Package_Input(TTypes::TOptionMakeGenerator generator, const QString& version = "1.0.0")
{
    TSpecInput input;
    input.Variables = {{"%define name", "demo"},     {"Name:", "%{name}"},
                       {"Version:", version},        {"Release:", "1"},
                       {"Summary:", "Demo program"}, {"License:", "MIT"},
                       {"Source0:", "%{name}-%{version}.tar.gz"}};
    input.Description = "A demo program that ships its own Qt.";
    input.Generator = generator;
    input.Requires_Mode = TTypes::Requires_Ignored;
    input.Paths.Build_Path = "%{buildroot}%{_libdir}/%{name}";
    input.Paths.CMake_Bin_Path = "%{buildroot}%{_libdir}/%{name}/bin";
    input.Paths.QMake_Bin_Path = "%{buildroot}%{_libdir}/%{name}/bin";
    input.Paths.Library_Path = "%{_topdir}/shared_libs";
    input.Paths.Desktop_Menu_Path = "%{_topdir}/desktop_menu";
    input.Paths.Target_Install_Path = "%{_libdir}";
    input.Paths.Target_Desktop_Menu_Path = "%{_datadir}";
    input.Targets = {{"lib", {Qt_Core_File_Name()}}, {"platforms", {Plugin}}};
    input.Changes = "* Mon Jan 6 2025 Tester <tester@example.org>\n- First build";
    return input;
}

// The Qt Widgets program "qtdemo" with its Qt. Built with qmake it is
// installed into the program folder itself.
TSpecInput Qt_Program_Input(TTypes::TOptionMakeGenerator generator)
{
    TSpecInput input = Package_Input(generator);
    input.Variables[0].Value = "qtdemo";
    input.Paths.QMake_Bin_Path = input.Paths.Build_Path;
    QStringList libraries;
    for (const QString& library : Qt_Libraries)
        libraries << "libQt5" + library + ".so." + Qt_Version();
    input.Targets = {{"lib", libraries}, {"platforms", Platform_Plugins}};
    return input;
}

// A private rpmbuild top folder, HOME, temporary folder and install root.
class TWorkspace
{
public:
    TRun Run(const QString& program, const QStringList& arguments) const;
    TRun Run(const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment, int wait_ms = 180000) const;
    // Runs `command` chrooted into Root() with only PATH and `variables` set.
    TRun Run_In_Root(const QStringList& command, const QStringList& variables = {}) const;
    QString Path(const QString& relative) const { return d_folder.path() + "/" + relative; }
    QString Top() const { return Path("top"); }
    QString Root() const { return Path("root"); }
    QStringList Rpm_Options() const { return Test::Rpm_Root_Options(Root()); }

private:
    QTemporaryDir d_folder;
};

TRun TWorkspace::Run(const QString& program, const QStringList& arguments) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", Path("home"));
    environment.insert("TMPDIR", Path("tmp"));
    return Run(program, arguments, environment);
}

TRun TWorkspace::Run_In_Root(const QStringList& command, const QStringList& variables) const
{
    QProcessEnvironment environment;
    environment.insert("PATH", "/usr/bin:/bin");
    for (const QString& variable : variables)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    return Run(QStandardPaths::findExecutable("chroot"), QStringList{Root()} + command,
               environment, 30000);
}

TRun TWorkspace::Run(const QString& program, const QStringList& arguments,
                     const QProcessEnvironment& environment, int wait_ms) const
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(wait_ms);
    const QString output = QString::fromLocal8Bit(process.readAll());
    const bool ok = finished && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0;
    return {ok, program + " " + arguments.join(' ') + "\n" + output};
}

void Make_Folders(const TWorkspace& work, const QStringList& folders)
{
    for (const QString& folder : folders)
        QVERIFY2(QDir().mkpath(work.Path(folder)), qPrintable(folder));
}

void Copy(const QString& from, const QString& to)
{
    QVERIFY2(QFile::copy(from, to), qPrintable(from));
}

// The small program's sources of `version`, whose data files name it.
void Make_Source_Tarball(const TWorkspace& work, TTypes::TOptionMakeGenerator generator,
                         const QString& version = "1.0.0")
{
    const QString folder = "demo-" + version;
    const QString source = work.Path("source/" + folder);
    Make_Folders(work, {"source/" + folder, "top/SOURCES", "top/SPECS", "home", "tmp"});
    Test::Write_File(source + "/main.cpp", Main_Source);
    Test::Write_File(source + "/relative.txt", Found_Both(version).section('\n', 0, 0).toUtf8() + "\n");
    Test::Write_File(source + "/prefix.txt", Found_Both(version).section('\n', 1, 1).toUtf8() + "\n");
    Test::Write_File(source + "/demo-helper", Helper_Script);
    QVERIFY(QFile::setPermissions(source + "/demo-helper",
                                  QFile::permissions(source + "/demo-helper") | QFile::ExeOwner |
                                      QFile::ExeGroup | QFile::ExeOther));
    if (generator == TTypes::Generator_QMake)
        Test::Write_File(source + "/demo.pro", QMake_Project);
    else
        Test::Write_File(source + "/CMakeLists.txt", CMake_Project);
    const TRun tar = work.Run("tar", {"-C", work.Path("source"), "-czf",
                                      work.Top() + "/SOURCES/" + folder + ".tar.gz", folder});
    QVERIFY2(tar.Ok, qPrintable(tar.Output));
}

// The sample Qt Widgets program, with its README, as "<name>-1.0.0.tar.gz";
// under another name than "qtdemo" its CMake project makes a program of
// that name.
void Make_Qt_Program_Tarball(const TWorkspace& work, const QString& name = "qtdemo")
{
    const QString sample = KV_TEST_DATA "/qtdemo";
    const QString folder = name + "-1.0.0";
    Make_Folders(work, {"source/" + folder, "top/SOURCES", "top/SPECS", "home", "tmp"});
    for (const QString& file : QDir(sample).entryList(QDir::Files))
        CHECK(Copy(sample + "/" + file, work.Path("source/" + folder + "/") + file));
    const QString project = work.Path("source/" + folder + "/CMakeLists.txt");
    Test::Write_File(project, Test::Read_File(sample + "/CMakeLists.txt")
                                  .replace("qtdemo ", name.toUtf8() + " "));
    const TRun tar = work.Run("tar", {"-C", work.Path("source"), "-czf",
                                      work.Top() + "/SOURCES/" + folder + ".tar.gz", folder});
    QVERIFY2(tar.Ok, qPrintable(tar.Output));
}

void Make_Desktop_Files(const TWorkspace& work, const QString& name)
{
    Make_Folders(work, {"top/desktop_menu"});
    Test::Write_File(work.Top() + "/desktop_menu/" + name + ".desktop",
                     ("[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + name +
                      "\nIcon=" + name + "\n").toUtf8());
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkCyan);
    QVERIFY(icon.save(work.Top() + "/desktop_menu/" + name + ".png"));
}

// The files the spec installs from outside the tarball: the system's Qt
// libraries and plug-ins that `input` names, the desktop entry and the icon.
void Make_Deployed_Files(const TWorkspace& work, const TSpecInput& input)
{
    QVERIFY(!Qt_Core_File_Name().isEmpty());
    CHECK(Make_Desktop_Files(work, input.Variables[0].Value));
    for (const TSpecTarget& target : input.Targets)
    {
        CHECK(Make_Folders(work, {"top/shared_libs/" + target.Name}));
        const QString from = target.Name == "lib"
                                 ? QLibraryInfo::location(QLibraryInfo::LibrariesPath)
                                 : QLibraryInfo::location(QLibraryInfo::PluginsPath) + "/" +
                                       target.Name;
        for (const QString& library : target.Libraries)
            CHECK(Copy(from + "/" + library,
                       work.Top() + "/shared_libs/" + target.Name + "/" + library));
    }
}

// Composes the spec, builds it and returns the package's path. The payload
// is compressed lightly, which spares time and changes nothing else.
QString Build_Package(const TWorkspace& work, const TSpecInput& input)
{
    const QString name = input.Variables[0].Value;
    const QString version = input.Variables[2].Value;
    const TSpecText spec = Compose_Spec_Text(input);
    const QString spec_file = work.Top() + "/SPECS/" + name + ".spec";
    QString error;
    if (!spec.Is_Complete() || !Save_Text_File(spec_file, spec.Text, &error))
        return QString();
    const TRun build = work.Run("rpmbuild", {"-bb", "--define", "_topdir " + work.Top(),
                                             "--define", "_tmppath " + work.Path("tmp"),
                                             "--define", "_binary_payload w1.gzdio", spec_file});
    if (!build.Ok)
    {
        qWarning("%s", qPrintable(build.Output.right(6000)));
        return QString();
    }
    QDirIterator packages(work.Top() + "/RPMS", {name + "-" + version + "-1.*.rpm"},
                          QDir::Files, QDirIterator::Subdirectories);
    return packages.hasNext() ? packages.next() : QString();
}

QString Run_Path(const TWorkspace& work, const QString& file)
{
    const TRun readelf = work.Run("readelf", {"-d", file});
    const QStringList lines = readelf.Output.split('\n').filter("(RUNPATH)");
    return lines.size() == 1 ? lines.first().section("Library runpath: ", 1) : readelf.Output;
}

// The link leads to `target` inside the root: it is relative.
void Verify_Link(const TWorkspace& work, const QString& link, const QString& target)
{
    const QFileInfo info(work.Root() + link);
    QVERIFY2(info.isSymLink(), qPrintable(link));
    QCOMPARE(info.symLinkTarget(), work.Root() + target);
}

// The program stays in "bin", where "make install" put it, beside the
// script installed with it.
void Verify_Installed(const TWorkspace& work, const QString& libdir)
{
    const QString program = libdir + "/demo";
    const QString executable = program + "/bin/demo";
    const QString helper = program + "/bin/demo-helper";
    const QString qt_core = program + "/lib/" + Qt_Core_File_Name();
    for (const QString& file : {executable, helper, program + "/share/demo/relative.txt",
                                program + "/share/demo/prefix.txt", qt_core,
                                program + "/platforms/" + Plugin,
                                QString("/usr/share/applications/demo.desktop"),
                                QString("/usr/share/pixmaps/demo.png")})
        QVERIFY2(QFileInfo(work.Root() + file).isFile(), qPrintable(file));
    QVERIFY(QFileInfo(work.Root() + executable).isExecutable());
    QVERIFY(QFileInfo(work.Root() + helper).isExecutable());

    const QString run_path = "[" + program + "/lib]";
    for (const QString& file : {executable, qt_core, program + "/platforms/" + Plugin})
        QCOMPARE(Run_Path(work, work.Root() + file), run_path);
    QCOMPARE(Test::Read_File(work.Root() + program + "/bin/qt.conf"),
             QByteArray("[Paths]\nPrefix = ..\nPlugins = .\n"));

    const QString base = qt_core.section(".so.", 0, 0);
    const QStringList version = qt_core.section(".so.", 1).split('.');
    for (const QString& link : {base + ".so." + version[0] + "." + version[1],
                                base + ".so." + version[0], base + ".so"})
        Verify_Link(work, link, qt_core);
    Verify_Link(work, "/usr/bin/demo", executable);
}

// Inside the root, which holds no Qt, the program of `version` finds both of
// its data files, and the script installed beside it runs. Running it needs
// chroot, and so root.
void Verify_Demo_Runs(const TWorkspace& work, const QString& libdir, const QString& version)
{
    if (geteuid() != 0)
        return;
    const QString program = libdir + "/demo";
    const TRun run = work.Run_In_Root({"/usr/bin/demo"});
    QVERIFY2(run.Ok && run.Output.endsWith("\n" + Found_Both(version)), qPrintable(run.Output));
    const TRun helper = work.Run_In_Root({program + "/bin/demo-helper"});
    QVERIFY2(helper.Ok && helper.Output.endsWith("\nhelper runs\n"), qPrintable(helper.Output));
}

// The errors rpmlint finds in the spec composed for `input`, one
// "<file>:<line>: E: <class> ..." line each. None is left out: on Debian
// rpmlint finds nothing about the distribution in a spec file.
QStringList Lint_Errors(const TWorkspace& work, const TSpecInput& input)
{
    const QString spec_file = work.Path("lint.spec");
    QString error;
    if (!Save_Text_File(spec_file, Compose_Spec_Text(input).Text, &error))
        return {error};
    const TRun lint = work.Run("rpmlint", {spec_file});
    QStringList errors;
    for (const QString& line : lint.Output.split('\n'))
        if (line.contains(": E: "))
            errors << line;
    return errors;
}

// The spec leaves the build root out of %build. A Build_Path laid out by hand
// stays in the configure line, and rpmlint says so.
void Verify_Lint_Clean(const TWorkspace& work, TTypes::TOptionMakeGenerator generator)
{
    TSpecInput input = Package_Input(generator);
    const QStringList errors = Lint_Errors(work, input);
    QVERIFY2(errors.isEmpty(), qPrintable(errors.join('\n')));
    input.Paths.Build_Path = "$RPM_BUILD_ROOT%{_libdir}/%{name}";
    const QStringList by_hand = Lint_Errors(work, input);
    QVERIFY2(by_hand.size() == 1 && by_hand[0].contains(": E: rpm-buildroot-usage %build "),
             qPrintable(by_hand.join('\n')));
}

// Erasing runs the removal script, which must pass without a complaint.
void Erase(const TWorkspace& work, const QString& name)
{
    const TRun erase = work.Run("rpm", work.Rpm_Options() << "-e" << name);
    QVERIFY2(erase.Ok && !erase.Output.contains("scriptlet failed") &&
                 !erase.Output.contains("remove"),
             qPrintable(erase.Output));
}

// Every entry below `root`, links with their targets, but for the rpm
// database, which records what was installed.
QStringList Tree(const QString& root)
{
    QStringList entries;
    QDirIterator found(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (found.hasNext())
    {
        const QString path = found.next();
        const QString entry = path.mid(root.size());
        if (entry.startsWith("/var/lib/rpm/"))
            continue;
        const QFileInfo info(path);
        if (info.isSymLink())
            entries.append(entry + " -> " + info.symLinkTarget());
        else
            entries.append(entry + (info.isDir() ? "/" : ""));
    }
    entries.sort();
    return entries;
}

// The tree below the root is `before` again: what differs is named.
void Verify_Tree(const TWorkspace& work, const QStringList& before)
{
    const QStringList after = Tree(work.Root());
    QStringList differences;
    for (const QString& entry : after)
        if (!before.contains(entry))
            differences << "left: " + entry;
    for (const QString& entry : before)
        if (!after.contains(entry))
            differences << "gone: " + entry;
    QVERIFY2(differences.isEmpty(), qPrintable(differences.join('\n')));
}

// An install root with the folders a distribution's own packages hold and
// every package installs into.
void Make_Root(const TWorkspace& work, const QString& libdir)
{
    const QString made = Test::Make_Install_Root(work.Root());
    QVERIFY2(made.isEmpty(), qPrintable(made));
    Make_Folders(work, {"root" + libdir, "root/usr/share/applications", "root/usr/share/pixmaps"});
}

// An install root as a distribution has it before the package comes: the
// folders the package installs into exist, and so do the system libraries
// the bundled Qt needs.
void Make_System_Root(const TWorkspace& work, const QString& libdir)
{
    CHECK(Make_Root(work, libdir));
    const QString copied = Test::Copy_System_Libraries(
        work.Root(), {QLibraryInfo::location(QLibraryInfo::LibrariesPath) + "/" +
                      Qt_Core_File_Name()});
    QVERIFY2(copied.isEmpty(), qPrintable(copied));
}

// Runs rpm with `arguments` on the root, after which `name-version-1` is the
// installed package, and the bundled Qt library is its file.
void Install_Version(const TWorkspace& work, const QStringList& arguments, const QString& libdir,
                     const QString& version)
{
    const TRun run = work.Run("rpm", work.Rpm_Options() + arguments);
    QVERIFY2(run.Ok && !run.Output.contains("scriptlet failed"), qPrintable(run.Output));
    const QString qt_core = libdir + "/demo/lib/" + Qt_Core_File_Name();
    for (const QStringList& query : {QStringList{"-q", "demo"}, QStringList{"-qf", qt_core}})
    {
        const TRun owner = work.Run("rpm", work.Rpm_Options() + query);
        QVERIFY2(owner.Ok && owner.Output.section('\n', 1).startsWith("demo-" + version + "-1."),
                 qPrintable(owner.Output));
    }
}

// Every file the package bundles: the executable (in its bin path below the
// program folder), the libraries, the plug-ins.
QStringList Bundled_Files(const TSpecInput& input, const QString& libdir)
{
    const QString folder = libdir + "/" + input.Variables[0].Value;
    const QString& bin_path = input.Generator == TTypes::Generator_QMake
                                  ? input.Paths.QMake_Bin_Path
                                  : input.Paths.CMake_Bin_Path;
    const QString bin_folder = folder + bin_path.mid(input.Paths.Build_Path.size());
    QStringList files = {bin_folder + "/" + input.Variables[0].Value};
    for (const TSpecTarget& target : input.Targets)
        for (const QString& library : target.Libraries)
            files << folder + "/" + target.Name + "/" + library;
    return files;
}

// The package offers none of its files to the system and asks the system for
// none of them, but still for what they need of the system.
void Verify_Nothing_Offered(const TWorkspace& work, const QString& package,
                            const TSpecInput& input)
{
    const TRun provides = work.Run("rpm", {"-qp", "--provides", package});
    const TRun requires = work.Run("rpm", {"-qp", "--requires", package});
    const QString package_name = "\n" + input.Variables[0].Value + " = 1.0.0-1";
    QVERIFY2(provides.Ok && provides.Output.contains(package_name), qPrintable(provides.Output));
    QVERIFY2(requires.Ok && requires.Output.contains("\nlibc.so.6("), qPrintable(requires.Output));
    for (const TSpecTarget& target : input.Targets)
        for (const QString& library : target.Libraries)
        {
            const QString named = "\n" + library.section(".so", 0, 0) + ".so";
            QVERIFY2(!provides.Output.contains(named), qPrintable(provides.Output));
            QVERIFY2(!requires.Output.contains(named), qPrintable(requires.Output));
        }
}

// A system plug-in folder where the bundled Qt would look by itself, holding
// platform plug-ins of the same names.
QString Make_Decoy_Plugins(const TWorkspace& work)
{
    const QString folder = QLibraryInfo::location(QLibraryInfo::PluginsPath) + "/platforms";
    if (!QDir().mkpath(work.Root() + folder))
        return QString();
    for (const QString& plugin : Platform_Plugins)
        if (!QFile::copy(folder + "/" + plugin, work.Root() + folder + "/" + plugin))
            return QString();
    return folder;
}

// Inside the root, the loader finds every Qt library of every bundled file in
// the bundle, and nothing is missing.
void Verify_Bundle_Resolves(const TWorkspace& work, const QStringList& files, const QString& libdir)
{
    const QString bundle_lib = "=> " + libdir + "/qtdemo/lib/libQt5";
    for (const QString& file : files)
    {
        const TRun list = work.Run_In_Root({"/lib64/ld-linux-x86-64.so.2", "--list", file});
        QVERIFY2(list.Ok && !list.Output.contains("not found"), qPrintable(list.Output));
        for (const QString& line : list.Output.split('\n').mid(1).filter("libQt5"))
            QVERIFY2(line.contains(bundle_lib), qPrintable(list.Output));
        if (file == files.first())
            QVERIFY2(list.Output.contains(bundle_lib + "Widgets.so.5 "), qPrintable(list.Output));
    }
}

// Runs the program `name` as a user would, through its link in /usr/bin; it
// loads its platform plug-in from its own bundle, never from `decoy`.
void Verify_Runs(const TWorkspace& work, const QString& name, const QString& platform,
                 const QString& libdir, const QString& decoy, const QStringList& variables = {})
{
    const TRun run = work.Run_In_Root(
        {"/usr/bin/" + name},
        QStringList{"QT_QPA_PLATFORM=" + platform, "QT_DEBUG_PLUGINS=1"} + variables);
    QVERIFY2(run.Ok && run.Output.contains("platform: " + platform), qPrintable(run.Output));
    const QString plugin = platform == "xcb" ? "libqxcb.so" : "libqoffscreen.so";
    const QString bundled = libdir + "/" + name + "/platforms/" + plugin;
    QVERIFY2(run.Output.contains("loaded library \"" + bundled + "\""), qPrintable(run.Output));
    QVERIFY2(decoy.isEmpty() || !run.Output.contains("loaded library \"" + decoy),
             qPrintable(run.Output));
}

// The Qt Quick sample "qtquickdemo", set to build against Qt `qt_major`, as
// "qtquickdemo-1.0.0.tar.gz"; its sources stay in "source/qtquickdemo-1.0.0".
void Make_Qt_Quick_Tarball(const TWorkspace& work, int qt_major)
{
    const QString sample = KV_TEST_DATA "/qtquickdemo";
    const QString source = work.Path("source/qtquickdemo-1.0.0");
    Make_Folders(work, {"source/qtquickdemo-1.0.0/qml", "top/SOURCES", "top/SPECS", "home", "tmp"});
    for (const char* file : {"main.cpp", "qml/main.qml", "qml/qml.qrc"})
        CHECK(Copy(sample + "/" + file, source + "/" + file));
    const QByteArray project = Test::Read_File(sample + "/CMakeLists.txt");
    Test::Write_File(source + "/CMakeLists.txt",
                     QByteArray(project).replace("set(QT_MAJOR 5)",
                                                 "set(QT_MAJOR " + QByteArray::number(qt_major) + ")"));
    const TRun tar = work.Run("tar", {"-C", work.Path("source"), "-czf",
                                      work.Top() + "/SOURCES/qtquickdemo-1.0.0.tar.gz",
                                      "qtquickdemo-1.0.0"});
    QVERIFY2(tar.Ok, qPrintable(tar.Output));
}

// Builds the sample `name`, whose sources are in "source/<name>-1.0.0", on
// this machine as "hostbuild/<name>" and has the command-line tool detect its
// bundle, with `options` such as its QML sources, and collect it into the
// shared libraries; gives the targets as detection lists them.
std::vector<TSpecTarget> Detect_Bundle(const TWorkspace& work, const QString& name,
                                       const QStringList& options = {})
{
    const QString build = work.Path("hostbuild");
    QDir().mkpath(build);
    const TRun configure =
        work.Run("cmake", {"-S", work.Path("source/" + name + "-1.0.0"), "-B", build});
    const TRun make = work.Run("make", {"-C", build});
    if (!configure.Ok || !make.Ok)
        return {{"not built", {configure.Output.right(3000), make.Output.right(3000)}}};
    const TRun detect =
        work.Run(KV_CLI_PATH, QStringList{"detect", "--program", build + "/" + name} + options +
                                  QStringList{"--collect-into", work.Top() + "/shared_libs"});
    if (!detect.Ok)
        return {{"not detected", {detect.Output}}};
    std::vector<TSpecTarget> targets;
    for (const QString& line : detect.Output.split('\n').mid(1, detect.Output.count('\n') - 2))
    {
        const QString target = line.section('/', 0, 0);
        if (targets.empty() || targets.back().Name != target)
            targets.push_back({target, {}, target == "qml" ? TTypes::Target_Qml_Modules
                                                           : TTypes::Target_Files});
        targets.back().Libraries << line.section('/', 1);
    }
    return targets;
}

// Every ELF file below `folder`.
QStringList Elf_Files(const QString& folder)
{
    QStringList files;
    QDirIterator found(folder, QDir::Files, QDirIterator::Subdirectories);
    while (found.hasNext())
    {
        const QString file = found.next();
        if (Test::Read_File(file).startsWith("\x7f" "ELF"))
            files << file;
    }
    return files;
}

// Run in the root on xcb with the software renderer, the program loads its
// window; the QML modules Qt opens are those of the bundle, and the QML
// folder of the Qt it was built with is nowhere in the root.
void Verify_Qt_Quick_Runs(const TWorkspace& work, const QString& libdir, const QString& display,
                          const QString& system_qml)
{
    QVERIFY(!QFileInfo::exists(work.Root() + system_qml));
    const TRun run = work.Run_In_Root({"/usr/bin/qtquickdemo"},
                                      {"QT_QPA_PLATFORM=xcb", "DISPLAY=" + display,
                                       "QT_QUICK_BACKEND=software", "QML_IMPORT_TRACE=1"});
    QVERIFY2(run.Ok && run.Output.contains("window loaded: xcb"), qPrintable(run.Output));
    QVERIFY2(!run.Output.contains("is not installed"), qPrintable(run.Output));
    // The trace names each qmldir it reads; those outside the resources
    // must all be the bundle's.
    const QString bundled = libdir + "/qtquickdemo/qml/";
    const QStringList loaded = run.Output.split('\n').filter("loaded \"/");
    QVERIFY2(!loaded.filter(bundled + "QtQuick/Controls").isEmpty(), qPrintable(run.Output));
    for (const QString& line : loaded)
        QVERIFY2(line.contains("loaded \"" + bundled), qPrintable(line));
}
}

class TRpmPackageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void packageInstallsUpgradesAndErases_data();
    void packageInstallsUpgradesAndErases();
    void packagesBundlingTheSameQtInstallTogether();
    void qtProgramRunsWithoutSystemQt_data();
    void qtProgramRunsWithoutSystemQt();
    void qtQuickProgramRunsWithoutSystemQt_data();
    void qtQuickProgramRunsWithoutSystemQt();

private:
    QString d_libdir;
};

void TRpmPackageTest::initTestCase()
{
    for (const char* tool : {"rpmbuild", "rpm", "patchelf", "busybox", "readelf", "tar", "qmake",
                             "cmake", "make", "g++", "ldd", "chroot", "rpmlint"})
        QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                 qPrintable(QString("%1 is missing; ./build.sh installs it").arg(tool)));
    TWorkspace work;
    const TRun libdir = work.Run("rpm", {"--eval", "%{_libdir}"});
    QVERIFY2(libdir.Ok, qPrintable(libdir.Output));
    d_libdir = libdir.Output.section('\n', 1, 1).trimmed();
    QVERIFY(d_libdir.startsWith('/'));
}

void TRpmPackageTest::packageInstallsUpgradesAndErases_data()
{
    QTest::addColumn<TTypes::TOptionMakeGenerator>("generator");
    QTest::newRow("qmake") << TTypes::Generator_QMake;
    QTest::newRow("cmake") << TTypes::Generator_CMake;
}

// 1.0 is upgraded to 1.1 and downgraded back; each time the program runs
// from the bundle just installed, and erasing leaves the root as it was.
void TRpmPackageTest::packageInstallsUpgradesAndErases()
{
    QFETCH(TTypes::TOptionMakeGenerator, generator);
    TWorkspace work;
    CHECK(Make_Source_Tarball(work, generator, "1.0"));
    CHECK(Make_Source_Tarball(work, generator, "1.1"));
    CHECK(Make_Deployed_Files(work, Package_Input(generator)));
    CHECK(Verify_Lint_Clean(work, generator));
    const QString old_version = Build_Package(work, Package_Input(generator, "1.0"));
    QVERIFY2(!old_version.isEmpty(), "1.0 was not built");
    const QString new_version = Build_Package(work, Package_Input(generator, "1.1"));
    QVERIFY2(!new_version.isEmpty(), "1.1 was not built");
    CHECK(Make_System_Root(work, d_libdir));
    const QStringList before = Tree(work.Root());

    // The root's database is empty, so the package's requirements are not met.
    CHECK(Install_Version(work, {"-i", "--nodeps", old_version}, d_libdir, "1.0"));
    CHECK(Verify_Installed(work, d_libdir));
    CHECK(Verify_Demo_Runs(work, d_libdir, "1.0"));
    CHECK(Install_Version(work, {"-U", "--nodeps", new_version}, d_libdir, "1.1"));
    CHECK(Verify_Installed(work, d_libdir));
    CHECK(Verify_Demo_Runs(work, d_libdir, "1.1"));
    CHECK(Install_Version(work, {"-U", "--oldpackage", "--nodeps", old_version}, d_libdir, "1.0"));
    CHECK(Verify_Installed(work, d_libdir));
    CHECK(Verify_Demo_Runs(work, d_libdir, "1.0"));
    if (geteuid() != 0)
        qInfo("Running the program in the install root needs chroot, which needs root.");

    CHECK(Erase(work, "demo"));
    CHECK(Verify_Tree(work, before));
}

// Two programs bundling the same Qt install side by side on a base system
// with a plain "rpm -i": they share no file, each runs from its own bundle,
// and erasing one leaves the other whole.
void TRpmPackageTest::packagesBundlingTheSameQtInstallTogether()
{
    TWorkspace work;
    const QStringList names = {"qtdemo", "twindemo"};
    for (const QString& name : names)
        CHECK(Make_Qt_Program_Tarball(work, name));
    TSpecInput input = Qt_Program_Input(TTypes::Generator_CMake);
    input.Targets = Detect_Bundle(work, "qtdemo");
    QVERIFY2(input.Targets.size() > 1, qPrintable(input.Targets.front().Libraries.join('\n')));
    QStringList packages;
    QStringList files;
    for (const QString& name : names)
    {
        input.Variables[0].Value = name;
        CHECK(Make_Desktop_Files(work, name));
        packages << Build_Package(work, input);
        QVERIFY2(!packages.last().isEmpty(), qPrintable(name + " was not built"));
        const TRun listed = work.Run("rpm", {"-qpl", packages.last()});
        QVERIFY2(listed.Ok, qPrintable(listed.Output));
        files << listed.Output.split('\n', Qt::SkipEmptyParts).mid(1);
    }
    QVERIFY2(files.filter("/.build-id").isEmpty(), qPrintable(files.join('\n')));
    QCOMPARE(QSet<QString>(files.begin(), files.end()).size(), files.size());

    QStringList shipped = {work.Path("hostbuild/qtdemo")};
    for (const TSpecTarget& target : input.Targets)
        for (const QString& library : target.Libraries)
            shipped << work.Top() + "/shared_libs/" + target.Name + "/" + library;
    QString error;
    const Test::TBaseSystem base_system = Test::Base_System_For(shipped, &error);
    QVERIFY2(error.isEmpty(), qPrintable(error));
    const QString base = Test::Build_Base_System_Package(base_system, work.Path("base"), &error);
    QVERIFY2(!base.isEmpty(), qPrintable(error));
    CHECK(Make_Root(work, d_libdir));
    // Qt makes a runtime folder where none is given; the root's own is there
    // before the packages come.
    CHECK(Make_Folders(work, {"root/run/user/0"}));
    QVERIFY(QFile::setPermissions(work.Path("root/run/user/0"), QFile::ReadOwner |
                                                                   QFile::WriteOwner |
                                                                   QFile::ExeOwner));
    const TRun system = work.Run("rpm", work.Rpm_Options() << "-i" << base);
    QVERIFY2(system.Ok, qPrintable(system.Output));
    const QStringList before = Tree(work.Root());
    for (const QString& package : packages)
    {
        const TRun install = work.Run("rpm", work.Rpm_Options() << "-i" << package);
        QVERIFY2(install.Ok, qPrintable(install.Output));
    }

    // The detected bundle holds the platform plug-ins for a desktop: xcb, on Xvfb.
    const bool can_run = geteuid() == 0;
    const Test::TVirtualDisplay display;
    QVERIFY2(!can_run || !display.Display().isEmpty(), "Xvfb did not start");
    const QStringList on_display = {"DISPLAY=" + display.Display(),
                                    "XDG_RUNTIME_DIR=/run/user/0"};
    if (can_run)
        for (const QString& name : names)
            CHECK(Verify_Runs(work, name, "xcb", d_libdir, QString(), on_display));
    CHECK(Erase(work, "twindemo"));
    if (can_run)
        CHECK(Verify_Runs(work, "qtdemo", "xcb", d_libdir, QString(), on_display));
    CHECK(Erase(work, "qtdemo"));
    CHECK(Verify_Tree(work, before));
    if (!can_run)
        QSKIP("Running the programs in the install root needs chroot, which needs root.");
}

void TRpmPackageTest::qtProgramRunsWithoutSystemQt_data()
{
    packageInstallsUpgradesAndErases_data();
}

// The program's "make install" also puts a README under its prefix, which the
// package must take along.
void TRpmPackageTest::qtProgramRunsWithoutSystemQt()
{
    QFETCH(TTypes::TOptionMakeGenerator, generator);
    const TSpecInput input = Qt_Program_Input(generator);
    TWorkspace work;
    CHECK(Make_Qt_Program_Tarball(work));
    CHECK(Make_Deployed_Files(work, input));
    const QString package = Build_Package(work, input);
    QVERIFY2(!package.isEmpty(), "the package was not built");
    CHECK(Verify_Nothing_Offered(work, package, input));

    if (geteuid() != 0)
        QSKIP("Running the program in an install root needs chroot, which needs root.");
    const QString made = Test::Make_Install_Root(work.Root());
    QVERIFY2(made.isEmpty(), qPrintable(made));
    const TRun install = work.Run("rpm", work.Rpm_Options() << "-i" << "--nodeps" << package);
    QVERIFY2(install.Ok, qPrintable(install.Output));
    QVERIFY(QFileInfo(work.Root() + d_libdir + "/qtdemo/share/doc/README").isFile());
    const QStringList files = Bundled_Files(input, d_libdir);
    // The program needs no fonts: without a fontconfig file Qt says so and goes on.
    QStringList in_root;
    for (const QString& file : files)
        in_root.append(work.Root() + file);
    const QString copied = Test::Copy_System_Libraries(work.Root(), in_root);
    QVERIFY2(copied.isEmpty(), qPrintable(copied));
    const QString decoy = Make_Decoy_Plugins(work);
    QVERIFY(!decoy.isEmpty());

    CHECK(Verify_Bundle_Resolves(work, files, d_libdir));
    CHECK(Verify_Runs(work, "qtdemo", "offscreen", d_libdir, decoy));
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        qInfo("Xvfb is missing, so the program is not run with the xcb platform.");
    else
    {
        const Test::TVirtualDisplay display;
        QVERIFY2(!display.Display().isEmpty(), "Xvfb did not start");
        CHECK(Verify_Runs(work, "qtdemo", "xcb", d_libdir, decoy, {"DISPLAY=" + display.Display()}));
    }
    CHECK(Erase(work, "qtdemo"));
    QVERIFY(!QFileInfo::exists(work.Root() + d_libdir + "/qtdemo"));
}

void TRpmPackageTest::qtQuickProgramRunsWithoutSystemQt_data()
{
    QTest::addColumn<int>("qt_major");
    QTest::newRow("qt5") << 5;
    QTest::newRow("qt6") << 6;
}

void TRpmPackageTest::qtQuickProgramRunsWithoutSystemQt()
{
    QFETCH(int, qt_major);
    TWorkspace work;
    CHECK(Make_Qt_Quick_Tarball(work, qt_major));
    const std::vector<TSpecTarget> targets = Detect_Bundle(
        work, "qtquickdemo", {"--qml-sources", work.Path("source/qtquickdemo-1.0.0/qml")});
    const auto qml = std::find_if(targets.begin(), targets.end(),
                                  [](const TSpecTarget& target) { return target.Name == "qml"; });
    QVERIFY2(targets.size() > 2 && qml != targets.end(),
             qPrintable(targets.empty() ? QString() : targets.front().Libraries.join('\n')));
    const QStringList modules = qml->Libraries;
    const QString versioned = qt_major == 5 ? ".2" : "";
    for (const QString& module : {"QtQuick/Controls" + versioned, QString("QtQuick/Layouts")})
        QVERIFY2(modules.contains(module) || modules.contains("QtQuick"), qPrintable(modules.join(' ')));
    TSpecInput input = Package_Input(TTypes::Generator_CMake);
    input.Variables[0].Value = "qtquickdemo";
    input.Targets = targets;
    CHECK(Make_Folders(work, {"top/desktop_menu"}));
    Test::Write_File(work.Top() + "/desktop_menu/qtquickdemo.desktop",
                     "[Desktop Entry]\nType=Application\nName=qtquickdemo\nExec=qtquickdemo\n");
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkCyan);
    QVERIFY(icon.save(work.Top() + "/desktop_menu/qtquickdemo.png"));
    const QString package = Build_Package(work, input);
    QVERIFY2(!package.isEmpty(), "the package was not built");

    if (geteuid() != 0)
        QSKIP("Running the program in an install root needs chroot, which needs root.");
    if (QStandardPaths::findExecutable("Xvfb").isEmpty())
        QSKIP("Xvfb is missing, so the program cannot be run with the xcb platform.");
    const QString made = Test::Make_Install_Root(work.Root());
    QVERIFY2(made.isEmpty(), qPrintable(made));
    const TRun install = work.Run("rpm", work.Rpm_Options() << "-i" << "--nodeps" << package);
    QVERIFY2(install.Ok, qPrintable(install.Output));
    const QString program = work.Root() + d_libdir + "/qtquickdemo";
    QCOMPARE(Test::Read_File(program + "/bin/qt.conf"),
             QByteArray("[Paths]\nPrefix = ..\nPlugins = .\n") +
                 (qt_major == 5 ? "Qml2Imports" : "QmlImports") + " = qml\n");
    const QStringList elf_files = Elf_Files(program);
    for (const QString& file : elf_files.filter("/qml/"))
        QCOMPARE(Run_Path(work, file), "[" + d_libdir + "/qtquickdemo/lib]");
    const QString copied = Test::Copy_System_Libraries(work.Root(), elf_files);
    QVERIFY2(copied.isEmpty(), qPrintable(copied));

    const Test::TVirtualDisplay display;
    QVERIFY2(!display.Display().isEmpty(), "Xvfb did not start");
    const QString system_qml = QLibraryInfo::location(QLibraryInfo::Qml2ImportsPath)
                                   .replace("/qt5/", QString("/qt%1/").arg(qt_major));
    CHECK(Verify_Qt_Quick_Runs(work, d_libdir, display.Display(), system_qml));
    CHECK(Erase(work, "qtquickdemo"));
    QVERIFY(!QFileInfo::exists(work.Root() + d_libdir + "/qtquickdemo"));
}

QTEST_MAIN(TRpmPackageTest)
#include "tst_rpmpackage.moc"
