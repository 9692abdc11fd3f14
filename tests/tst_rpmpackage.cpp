// End to end with the real tools: a spec composed for a tiny qmake project
// and a tiny CMake project is built with rpmbuild, installed into an
// "rpm --root" tree whose scriptlets run under busybox, upgraded and erased.
// Everything happens below one temporary folder, with HOME pointed there.

#include <QDirIterator>
#include <QImage>
#include <QLibraryInfo>
#include <QProcess>
#include <QtTest>

#include "savefile.h"
#include "spectext.h"
#include "testsupport.h"

Q_DECLARE_METATYPE(TTypes::TOptionMakeGenerator)

// Runs a checking helper and ends the test function when it failed.
#define CHECK(call)                                                                           \
    do                                                                                       \
    {                                                                                        \
        call;                                                                                \
        if (QTest::currentTestFailed())                                                      \
            return;                                                                          \
    } while (false)

namespace
{
const char* const Main_Source = "#include <QCoreApplication>\n"
                                "int main(int argc, char** argv)\n"
                                "{\n"
                                "    QCoreApplication app(argc, argv);\n"
                                "    return 0;\n"
                                "}\n";

const char* const QMake_Project = "QT = core\n"
                                  "CONFIG += console\n"
                                  "TARGET = demo\n"
                                  "SOURCES = main.cpp\n"
                                  "target.path = $$PREFIX\n"
                                  "INSTALLS += target\n";

const char* const CMake_Project = "cmake_minimum_required(VERSION 3.16)\n"
                                  "project(demo LANGUAGES CXX)\n"
                                  "find_package(Qt5 REQUIRED COMPONENTS Core)\n"
                                  "add_executable(demo main.cpp)\n"
                                  "target_link_libraries(demo PRIVATE Qt5::Core)\n"
                                  "install(TARGETS demo RUNTIME DESTINATION bin)\n";

const char* const Desktop_Entry = "[Desktop Entry]\nType=Application\nName=Demo\nExec=demo\nIcon=demo\n";

const char* const Plugin = "libqoffscreen.so";

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

TSpecInput Package_Input(TTypes::TOptionMakeGenerator generator, const QString& release)
{
    TSpecInput input;
    input.Variables = {{"%define name", "demo"},     {"Name:", "%{name}"},
                       {"Version:", "1.0.0"},        {"Release:", release},
                       {"Summary:", "Demo program"}, {"License:", "MIT"},
                       {"Source0:", "%{name}-%{version}.tar.gz"}};
    input.Description = "A demo program that ships its own Qt.";
    input.Generator = generator;
    input.Requires_Mode = TTypes::Requires_Ignored;
    input.Paths.Build_Path = "%{buildroot}%{_libdir}/%{name}";
    input.Paths.CMake_Bin_Path = "%{buildroot}%{_libdir}/%{name}/bin";
    input.Paths.QMake_Bin_Path = "%{buildroot}%{_libdir}/%{name}";
    input.Paths.Library_Path = "%{_topdir}/shared_libs";
    input.Paths.Desktop_Menu_Path = "%{_topdir}/desktop_menu";
    input.Paths.Target_Install_Path = "%{_libdir}";
    input.Paths.Target_Desktop_Menu_Path = "%{_datadir}";
    input.Targets = {{"lib", {Qt_Core_File_Name()}}, {"platforms", {Plugin}}};
    input.Changes = "* Mon Jan 6 2025 Tester <tester@example.org>\n- First build";
    return input;
}

// A private rpmbuild top folder, HOME, temporary folder and install root.
class TWorkspace
{
public:
    TRun Run(const QString& program, const QStringList& arguments) const;
    QString Path(const QString& relative) const { return d_folder.path() + "/" + relative; }
    QString Top() const { return Path("top"); }
    QString Root() const { return Path("root"); }
    QStringList Rpm_Options() const { return {"--root", Root(), "--dbpath", "/var/lib/rpm"}; }

private:
    QTemporaryDir d_folder;
};

TRun TWorkspace::Run(const QString& program, const QStringList& arguments) const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", Path("home"));
    environment.insert("TMPDIR", Path("tmp"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(180000);
    const QString output = QString::fromLocal8Bit(process.readAll());
    const bool ok = finished && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0;
    return {ok, program + " " + arguments.join(' ') + "\n" + output.right(6000)};
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

void Make_Source_Tarball(const TWorkspace& work, TTypes::TOptionMakeGenerator generator)
{
    const QString source = work.Path("source/demo-1.0.0");
    Make_Folders(work, {"source/demo-1.0.0", "top/SOURCES", "top/SPECS", "home", "tmp"});
    Test::Write_File(source + "/main.cpp", Main_Source);
    if (generator == TTypes::Generator_QMake)
        Test::Write_File(source + "/demo.pro", QMake_Project);
    else
        Test::Write_File(source + "/CMakeLists.txt", CMake_Project);
    const TRun tar = work.Run("tar", {"-C", work.Path("source"), "-czf",
                                      work.Top() + "/SOURCES/demo-1.0.0.tar.gz", "demo-1.0.0"});
    QVERIFY2(tar.Ok, qPrintable(tar.Output));
}

// The files the spec installs from outside the tarball: a real versioned Qt
// library, a real platform plug-in, the desktop entry and the icon.
void Make_Deployed_Files(const TWorkspace& work)
{
    Make_Folders(work, {"top/shared_libs/lib", "top/shared_libs/platforms", "top/desktop_menu"});
    const QString qt_core = Qt_Core_File_Name();
    QVERIFY(!qt_core.isEmpty());
    Copy(QLibraryInfo::location(QLibraryInfo::LibrariesPath) + "/" + qt_core,
         work.Top() + "/shared_libs/lib/" + qt_core);
    Copy(QLibraryInfo::location(QLibraryInfo::PluginsPath) + "/platforms/" + Plugin,
         work.Top() + "/shared_libs/platforms/" + Plugin);
    Test::Write_File(work.Top() + "/desktop_menu/demo.desktop", Desktop_Entry);
    QImage icon(32, 32, QImage::Format_ARGB32);
    icon.fill(Qt::darkCyan);
    QVERIFY(icon.save(work.Top() + "/desktop_menu/demo.png"));
}

// An empty system with busybox as /bin/sh and the rest, for the scriptlets.
void Make_Install_Root(const TWorkspace& work)
{
    Make_Folders(work, {"root/bin", "root/usr/bin"});
    Copy(QStandardPaths::findExecutable("busybox"), work.Root() + "/bin/busybox");
    const TRun applets = work.Run("busybox", {"--list"});
    QVERIFY2(applets.Ok, qPrintable(applets.Output));
    for (const QString& applet : applets.Output.split('\n').mid(1))
        if (!applet.isEmpty() && applet != "busybox")
            QVERIFY(QFile::link("busybox", work.Root() + "/bin/" + applet));
    const TRun init = work.Run("rpm", work.Rpm_Options() << "--initdb");
    QVERIFY2(init.Ok, qPrintable(init.Output));
}

// Composes the spec for `release`, builds it and returns the package's path.
QString Build_Package(const TWorkspace& work, TTypes::TOptionMakeGenerator generator,
                      const QString& release)
{
    const TSpecText spec = Compose_Spec_Text(Package_Input(generator, release));
    const QString spec_file = work.Top() + "/SPECS/demo.spec";
    QString error;
    if (!spec.Is_Complete() || !Save_Text_File(spec_file, spec.Text, &error))
        return QString();
    const TRun build = work.Run("rpmbuild", {"-bb", "--define", "_topdir " + work.Top(),
                                             "--define", "_tmppath " + work.Path("tmp"), spec_file});
    if (!build.Ok)
    {
        qWarning("%s", qPrintable(build.Output));
        return QString();
    }
    QDirIterator packages(work.Top() + "/RPMS", {"demo-1.0.0-" + release + ".*.rpm"}, QDir::Files,
                          QDirIterator::Subdirectories);
    return packages.hasNext() ? packages.next() : QString();
}

QString Run_Path(const TWorkspace& work, const QString& file)
{
    const TRun readelf = work.Run("readelf", {"-d", file});
    const QStringList lines = readelf.Output.split('\n').filter("(RUNPATH)");
    return lines.size() == 1 ? lines.first().section("Library runpath: ", 1) : readelf.Output;
}

void Verify_Link(const TWorkspace& work, const QString& link, const QString& target)
{
    const QFileInfo info(work.Root() + link);
    QVERIFY2(info.isSymLink(), qPrintable(link));
    QCOMPARE(info.symLinkTarget(), target);
}

void Verify_Installed(const TWorkspace& work, const QString& libdir)
{
    const QString program = libdir + "/demo";
    const QString qt_core = program + "/lib/" + Qt_Core_File_Name();
    for (const QString& file : {program + "/demo", qt_core, program + "/platforms/" + Plugin,
                                QString("/usr/share/applications/demo.desktop"),
                                QString("/usr/share/pixmaps/demo.png")})
        QVERIFY2(QFileInfo(work.Root() + file).isFile(), qPrintable(file));
    QVERIFY(QFileInfo(work.Root() + program + "/demo").isExecutable());

    const QString run_path = "[" + program + "/lib]";
    QCOMPARE(Run_Path(work, work.Root() + program + "/demo"), run_path);
    QCOMPARE(Run_Path(work, work.Root() + program + "/platforms/" + Plugin), run_path);

    const QString base = qt_core.section(".so.", 0, 0);
    const QStringList version = qt_core.section(".so.", 1).split('.');
    for (const QString& link : {base + ".so." + version[0] + "." + version[1],
                                base + ".so." + version[0], base + ".so"})
        Verify_Link(work, link, qt_core);
    Verify_Link(work, "/usr/bin/demo", program + "/demo");
}

void Verify_Erased(const TWorkspace& work, const QString& libdir)
{
    for (const QString& path : {libdir + "/demo", QString("/usr/bin/demo"),
                                QString("/usr/share/applications/demo.desktop")})
    {
        const QFileInfo info(work.Root() + path);
        QVERIFY2(!info.exists() && !info.isSymLink(), qPrintable(path));
    }
}
}

class TRpmPackageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void packageInstallsUpgradesAndErases_data();
    void packageInstallsUpgradesAndErases();

private:
    QString d_libdir;
};

void TRpmPackageTest::initTestCase()
{
    for (const char* tool : {"rpmbuild", "rpm", "patchelf", "busybox", "readelf", "tar", "qmake",
                             "cmake", "make", "g++"})
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

void TRpmPackageTest::packageInstallsUpgradesAndErases()
{
    QFETCH(TTypes::TOptionMakeGenerator, generator);
    TWorkspace work;
    CHECK(Make_Source_Tarball(work, generator));
    CHECK(Make_Deployed_Files(work));
    CHECK(Make_Install_Root(work));

    const QString first = Build_Package(work, generator, "1");
    QVERIFY2(!first.isEmpty(), "release 1 was not built");
    const QString second = Build_Package(work, generator, "2");
    QVERIFY2(!second.isEmpty(), "release 2 was not built");

    // The root's database is empty, so the package's requirements are not met.
    const TRun install = work.Run("rpm", work.Rpm_Options() << "-i" << "--nodeps" << first);
    QVERIFY2(install.Ok, qPrintable(install.Output));
    CHECK(Verify_Installed(work, d_libdir));

    const TRun upgrade = work.Run("rpm", work.Rpm_Options() << "-U" << "--nodeps" << second);
    QVERIFY2(upgrade.Ok && !upgrade.Output.contains("scriptlet failed"), qPrintable(upgrade.Output));
    const TRun query = work.Run("rpm", work.Rpm_Options() << "-q" << "demo");
    QVERIFY2(query.Output.contains("demo-1.0.0-2."), qPrintable(query.Output));
    CHECK(Verify_Installed(work, d_libdir));

    const TRun erase = work.Run("rpm", work.Rpm_Options() << "-e" << "demo");
    QVERIFY2(erase.Ok && !erase.Output.contains("scriptlet failed"), qPrintable(erase.Output));
    Verify_Erased(work, d_libdir);
}

QTEST_MAIN(TRpmPackageTest)
#include "tst_rpmpackage.moc"
