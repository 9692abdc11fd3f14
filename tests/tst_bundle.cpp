// Detection, collection and application of a program's Qt bundle, on a
// made-up Qt installation below a temporary folder whose files say what they
// load through a scripted dependency lister.

#include <QtTest>

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <map>

#include "bundle/bundleapplication.h"
#include "bundle/bundlecollection.h"
#include "bundle/bundledetection.h"
#include "bundle/qmlimports.h"
#include "libraries/libraryfactory.h"
#include "state/unmatchedchoices.h"
#include "smallfilesystem.h"
#include "testsupport.h"

namespace
{
const QString Debian_Lib = "usr/lib/x86_64-linux-gnu";
const QString Debian_Plugins = Debian_Lib + "/qt5/plugins";

// A folder of made-up ELF files, Qt libraries behind their soname links, and
// what each file loads.
class TFakeSystem
{
public:
    TFakeSystem()
    {
        // Open to the user "nobody", for the permission cases.
        QFile::setPermissions(d_folder.path(), QFile::ReadOwner | QFile::WriteOwner |
                                                   QFile::ExeOwner | QFile::ReadOther |
                                                   QFile::ExeOther);
    }

    QString Path(const QString& relative) const { return d_folder.path() + "/" + relative; }

    QString File(const QString& relative, const QByteArray& bytes = "\x7f" "ELF made up")
    {
        QDir().mkpath(QFileInfo(Path(relative)).absolutePath());
        Test::Write_File(Path(relative), bytes);
        return Path(relative);
    }

    // "libQt5Gui.so.5.15.8" in `folder` and its link "libQt5Gui.so.5".
    void Library(const QString& folder, const QString& real_name)
    {
        File(folder + "/" + real_name, "\x7f" "ELF " + real_name.toUtf8());
        const QString link = real_name.section('.', 0, 2);
        QFile::link(real_name, Path(folder + "/" + link));
        d_libraries[link.section('.', 0, 0)] = {link, Path(folder + "/" + link)};
    }

    // `file` loads `libraries`, named without extension ("libQt5Gui"); a
    // name not made by Library() is not found by the loader, and is needed
    // as "<name>.so.5" unless it is a full name such as "libc.so.6".
    void Loads(const QString& file, const QStringList& libraries)
    {
        std::vector<TLoadedLibrary>& loaded = d_loads[Path(file)];
        for (const QString& name : libraries)
        {
            const auto found = d_libraries.find(name);
            const QString needed = name.contains(".so") ? name : name + ".so.5";
            loaded.push_back(found != d_libraries.end() ? found->second
                                                        : TLoadedLibrary{needed, ""});
        }
    }

    TDependencyLister Lister()
    {
        return [this](const QString& file) {
            Examined.append(file.mid(d_folder.path().size() + 1));
            const auto found = d_loads.find(file);
            if (found == d_loads.end())
                return TLoadedLibraries{false, "not a made-up file", {}};
            return TLoadedLibraries{true, QString(), found->second};
        };
    }

    QStringList Examined;

private:
    QTemporaryDir d_folder;
    std::map<QString, TLoadedLibrary> d_libraries;
    std::map<QString, std::vector<TLoadedLibrary>> d_loads;
};

// A Debian-like Qt 5 with the platforms that must be left behind, a few
// other plug-in kinds and a Widgets program "app/demo". Qt needs ICU, the xcb
// platform xkbcommon and the base system's X11, which the system has in
// place but the made-up loader does not find.
void Make_Debian_Qt(TFakeSystem* system)
{
    for (const char* name : {"Core", "Gui", "Widgets", "DBus", "XcbQpa", "WaylandClient"})
        system->Library(Debian_Lib, QString("libQt5%1.so.5.15.8").arg(name));
    system->Library(Debian_Lib, "libicuuc.so.72.1");
    system->Library(Debian_Lib, "libxkbcommon-x11.so.0.0.0");
    const QStringList gui = {"libQt5Gui", "libQt5Core", "libicuuc", "libc.so.6"};
    const std::map<QString, QStringList> plugins = {
        {"platforms/libqxcb.so",
         QStringList{"libQt5XcbQpa", "libQt5DBus", "libxkbcommon-x11", "libX11.so.6"} + gui},
        {"platforms/libqwayland-egl.so", QStringList{"libQt5WaylandClient", "libQt5DBus"} + gui},
        {"platforms/libqoffscreen.so", gui},
        {"platforms/libqminimal.so", gui},
        {"platforms/libqeglfs.so", gui},
        {"platforms/libqvnc.so", gui},
        {"platforminputcontexts/libibusplatforminputcontextplugin.so",
         QStringList{"libQt5DBus"} + gui},
        {"xcbglintegrations/libqxcb-glx-integration.so", QStringList{"libQt5XcbQpa"} + gui},
        {"wayland-shell-integration/libxdg-shell.so", QStringList{"libQt5WaylandClient"} + gui},
        {"imageformats/libqjpeg.so", gui}};
    for (const auto& plugin : plugins)
    {
        system->File(Debian_Plugins + "/" + plugin.first);
        system->Loads(Debian_Plugins + "/" + plugin.first, plugin.second);
    }
    system->File(Debian_Plugins + "/platforms/README.txt", "not a plug-in");
    system->File("app/demo");
    system->Loads("app/demo", QStringList{"libQt5Widgets", "libstdc++.so.6"} + gui);
}

const QString Debian_Qml = Debian_Lib + "/qt5/qml";

// A QML module folder of the made-up Qt 5: its qmldir, and its plug-in when
// it loads anything.
void Qml_Module(TFakeSystem* system, const QString& folder, const QString& module,
                const QString& plugin = QString(), const QStringList& loads = {})
{
    QByteArray qmldir = "module " + module.toUtf8() + "\n";
    if (!plugin.isEmpty())
    {
        qmldir += "plugin " + plugin.toUtf8() + "\n";
        const QString file = Debian_Qml + "/" + folder + "/lib" + plugin + ".so";
        system->File(file);
        system->Loads(file, loads);
    }
    system->File(Debian_Qml + "/" + folder + "/qmldir", qmldir);
}

// The made-up Qt with Qt Quick's modules, its QML import scanner the real
// one, and QML sources in "app/qml" that import three modules.
bool Make_Debian_Qt_Quick(TFakeSystem* system)
{
    Make_Debian_Qt(system);
    for (const char* name : {"Qml", "Quick", "QuickControls2"})
        system->Library(Debian_Lib, QString("libQt5%1.so.5.15.8").arg(name));
    const QStringList quick = {"libQt5Quick", "libQt5Qml", "libQt5Core"};
    Qml_Module(system, "QtQuick.2", "QtQuick", "qtquick2plugin", quick);
    Qml_Module(system, "QtQuick/Layouts", "QtQuick.Layouts", "qquicklayoutsplugin", quick);
    Qml_Module(system, "QtQuick/Controls.2", "QtQuick.Controls");
    system->File(Debian_Qml + "/QtQuick/Controls.2/Button.qml", "import QtQuick 2.12\nItem {}\n");
    Qml_Module(system, "QtQuick/Controls.2/Material", "QtQuick.Controls.Material",
               "qqc2materialstyleplugin", QStringList{"libQt5QuickControls2"} + quick);
    Qml_Module(system, "QtQuick/Particles.2", "QtQuick.Particles", "particlesplugin", quick);
    system->File(Debian_Plugins + "/scenegraph/libqsgsoftwareadaptation.so");
    system->Loads(Debian_Plugins + "/scenegraph/libqsgsoftwareadaptation.so", quick);
    system->File("app/qml/main.qml", "import QtQuick 2.12\nimport QtQuick.Controls 2.12\n"
                                     "import QtQuick.Layouts 1.12\nItem {}\n");
    QDir().mkpath(system->Path("usr/lib/qt5/bin"));
    return QFile::copy("/usr/lib/qt5/bin/qmlimportscanner",
                       system->Path("usr/lib/qt5/bin/qmlimportscanner"));
}

// The bundle of `files` ("<target>/<name>") copied from `folder`.
TBundle Bundle_Of(const QString& folder, const QStringList& files)
{
    TBundle bundle;
    for (const QString& file : files)
        bundle.Files.push_back({file.section('/', 0, 0), file.section('/', 1), folder + "/" + file,
                                file.startsWith("lib/") ? TTypes::Library_Dylib
                                                        : TTypes::Library_Plugin});
    return bundle;
}

QStringList Files_Below(const QString& folder)
{
    QStringList files;
    QDirIterator entries(folder, QDir::Files | QDir::Hidden | QDir::System,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        files.append(entries.next().mid(folder.size() + 1));
    files.sort();
    return files;
}

QStringList Checked_Names(const std::vector<TLibraryRecord>& libraries)
{
    QStringList names;
    for (const TLibraryRecord& library : libraries)
        if (library.Checked)
            names.append(library.Target_Name + "/" + library.Name);
    return names;
}

QStringList Checked_Names(const std::vector<TTargetRecord>& targets)
{
    QStringList names;
    for (const TTargetRecord& target : targets)
        if (target.Checked)
            names.append(target.Name);
    return names;
}
}

class TBundleTest : public QObject
{
    Q_OBJECT

private slots:
    void closureTakesWhatThePluginsLoad();
    void familiesFollowModulesAndTheUsersLists_data();
    void familiesFollowModulesAndTheUsersLists();
    void qt6TlsBackEndBringsOpenSsl();
    void entriesThatNameNothingAreTold();
    void pluginFolderComesFromTheProgramsQt_data();
    void pluginFolderComesFromTheProgramsQt();
    void failuresTellWhyAndFindNothing();
    void collectingCopiesReplacesAndKeeps();
    void failedCopiesLeaveTheOldFile();
    void fullDiskIsToldAsSuch();
    void applyingChecksRenamesAndKeeps();
    void scannerOutputGivesTheOutermostInstalledModules();
    void qmlModulesComeWholeWithTheirPluginsLibraries();
    void namesWithLineFeedsAndLinksOutOfQtAreRefused();
    void choicesTakeTimeInProportionToTheirNumber();
    void scannerOutputTakesTimeInProportionToItsModules();
};

void TBundleTest::closureTakesWhatThePluginsLoad()
{
    TFakeSystem system;
    Make_Debian_Qt(&system);

    const TBundleDetection detection =
        Detect_Bundle(system.Path("app/demo"), QString(), system.Lister());
    QVERIFY2(detection.Ok, qPrintable(detection.Error));
    // XcbQpa, DBus and xkbcommon come only through libqxcb.so, the GLX
    // integration only through XcbQpa, the shell integration only through the
    // Wayland platform. Libraries other than Qt's go under their soname,
    // those of the base system not at all.
    QCOMPARE(Bundle_Lines(detection.Bundle),
             QStringList({"imageformats/libqjpeg.so", "lib/libQt5Core.so.5.15.8",
                          "lib/libQt5DBus.so.5.15.8",
                          "lib/libQt5Gui.so.5.15.8", "lib/libQt5WaylandClient.so.5.15.8",
                          "lib/libQt5Widgets.so.5.15.8", "lib/libQt5XcbQpa.so.5.15.8",
                          "lib/libicuuc.so.72", "lib/libxkbcommon-x11.so.0",
                          "platforminputcontexts/libibusplatforminputcontextplugin.so",
                          "platforms/libqwayland-egl.so", "platforms/libqxcb.so",
                          "wayland-shell-integration/libxdg-shell.so",
                          "xcbglintegrations/libqxcb-glx-integration.so"}));
    QCOMPARE(detection.Plugins_Folder, system.Path(Debian_Plugins));
    QCOMPARE(detection.Bundle.Files[1].Source, system.Path(Debian_Lib + "/libQt5Core.so.5.15.8"));
    QCOMPARE(detection.Bundle.Files[1].Type, TTypes::Library_Dylib);
    QCOMPARE(detection.Bundle.Files.back().Source,
             system.Path(Debian_Plugins + "/xcbglintegrations/libqxcb-glx-integration.so"));
    QCOMPARE(detection.Bundle.Files.back().Type, TTypes::Library_Plugin);
    QCOMPARE(detection.Bundle.Files[7].Source, system.Path(Debian_Lib + "/libicuuc.so.72.1"));
    QCOMPARE(detection.Qt, (TQtBuild{5, system.Path("usr")}));

    // Each file is examined once; plug-ins left behind are not examined.
    QCOMPARE(system.Examined.size(), 7);
    QCOMPARE(system.Examined.removeDuplicates(), 0);
}

// A Qt 5 with a few modules, their plug-ins, two OpenSSL versions and a
// library of the program's own that it opens itself.
void Make_Modular_Qt(TFakeSystem* system, const QStringList& program_loads)
{
    for (const char* name : {"Core", "Gui", "Sql", "Network", "Svg", "PrintSupport"})
        system->Library(Debian_Lib, QString("libQt5%1.so.5.15.8").arg(name));
    const QStringList gui = {"libQt5Gui", "libQt5Core"};
    const QStringList svg = QStringList{"libQt5Svg"} + gui;
    const QStringList sql = {"libQt5Sql", "libQt5Core"};
    const std::map<QString, QStringList> plugins = {
        {"imageformats/libqjpeg.so", gui},
        {"imageformats/libqsvg.so", svg},
        {"iconengines/libqsvgicon.so", svg},
        {"sqldrivers/libqsqlite.so", sql},
        {"sqldrivers/libqsqlpsql.so", sql},
        {"sqldrivers/libqsqlmysql.so", sql},
        {"bearer/libqgenericbearer.so", {"libQt5Network", "libQt5Core"}},
        {"printsupport/libcupsprintersupport.so", {"libQt5PrintSupport"}}};
    for (const auto& plugin : plugins)
    {
        system->File(Debian_Plugins + "/" + plugin.first);
        system->Loads(Debian_Plugins + "/" + plugin.first, plugin.second);
    }
    for (const char* name : {"libssl.so.3", "libssl.so.1.1", "libcrypto.so.3", "libssl.so"})
        system->Loads(system->File(Debian_Lib + "/" + name).mid(system->Path("").size()), {});
    system->File("app/libown.so.2");
    system->Loads("app/libown.so.2", {"libQt5PrintSupport"});
    system->File("app/demo");
    system->Loads("app/demo", program_loads + QStringList{"libQt5Core"});
}

void TBundleTest::familiesFollowModulesAndTheUsersLists_data()
{
    QTest::addColumn<QStringList>("program_loads");
    QTest::addColumn<QStringList>("with_plugins");
    QTest::addColumn<QStringList>("without_plugins");
    QTest::addColumn<QStringList>("with_libraries");
    QTest::addColumn<QStringList>("bundled");  // besides Qt Core and the program's own Qt

    const QStringList svg = {"iconengines/libqsvgicon.so", "imageformats/libqjpeg.so",
                             "imageformats/libqsvg.so", "lib/libQt5Svg.so.5.15.8"};
    QTest::newRow("Gui: image formats and icon engines, which bring Qt Svg")
        << QStringList{"libQt5Gui"} << QStringList() << QStringList() << QStringList() << svg;
    QTest::newRow("Sql: only SQLite")
        << QStringList{"libQt5Sql"} << QStringList() << QStringList() << QStringList()
        << QStringList{"sqldrivers/libqsqlite.so"};
    QTest::newRow("Network: bearer and the newest OpenSSL")
        << QStringList{"libQt5Network"} << QStringList() << QStringList() << QStringList()
        << QStringList{"bearer/libqgenericbearer.so", "lib/libcrypto.so.3", "lib/libssl.so.3"};
    QTest::newRow("with a family: every driver")
        << QStringList{"libQt5Sql"} << QStringList{"sqldrivers"} << QStringList() << QStringList()
        << QStringList{"sqldrivers/libqsqlite.so", "sqldrivers/libqsqlmysql.so",
                       "sqldrivers/libqsqlpsql.so"};
    QTest::newRow("with a family, without one file")
        << QStringList{"libQt5Sql"} << QStringList{"sqldrivers"}
        << QStringList{"sqldrivers/libqsqlmysql.so", "sqldrivers/libqsqlite.so"} << QStringList()
        << QStringList{"sqldrivers/libqsqlpsql.so"};
    QTest::newRow("without a family, with one file")
        << QStringList{"libQt5Gui"} << QStringList{"imageformats/libqsvg.so"}
        << QStringList{"imageformats", "iconengines"} << QStringList()
        << QStringList{"imageformats/libqsvg.so", "lib/libQt5Svg.so.5.15.8"};
    // Qt Sql, which the driver brings, takes its own default driver along.
    QTest::newRow("with a file no module takes, with its closure")
        << QStringList() << QStringList{"sqldrivers/libqsqlpsql.so"} << QStringList()
        << QStringList()
        << QStringList{"lib/libQt5Sql.so.5.15.8", "sqldrivers/libqsqlite.so",
                       "sqldrivers/libqsqlpsql.so"};
    QTest::newRow("with a library, with its closure")
        << QStringList() << QStringList() << QStringList{"printsupport/libcupsprintersupport.so"}
        << QStringList{"app/libown.so.2"}
        << QStringList{"lib/libQt5PrintSupport.so.5.15.8", "lib/libown.so.2"};
}

void TBundleTest::familiesFollowModulesAndTheUsersLists()
{
    QFETCH(QStringList, program_loads);
    QFETCH(QStringList, with_plugins);
    QFETCH(QStringList, without_plugins);
    QFETCH(QStringList, with_libraries);
    QFETCH(QStringList, bundled);
    TFakeSystem system;
    Make_Modular_Qt(&system, program_loads);
    for (QString& library : with_libraries)
        library = system.Path(library);

    const TBundleDetection detection =
        Detect_Bundle(system.Path("app/demo"), QString(), system.Lister(), TBundleProgress(), QString(),
                      {with_plugins, without_plugins, with_libraries});
    QVERIFY2(detection.Ok, qPrintable(detection.Error));
    QCOMPARE(detection.Unmatched, QStringList());
    QStringList expected = bundled + QStringList{"lib/libQt5Core.so.5.15.8"};
    for (const QString& library : program_loads)
        expected.append("lib/" + library + ".so.5.15.8");
    expected.sort();
    QStringList lines = Bundle_Lines(detection.Bundle);
    lines.sort();
    QCOMPARE(lines, expected);
}

void TBundleTest::qt6TlsBackEndBringsOpenSsl()
{
    TFakeSystem system;
    const QString plugins = Debian_Lib + "/qt6/plugins";
    for (const char* name : {"Core", "Network"})
        system.Library(Debian_Lib, QString("libQt6%1.so.6.4.2").arg(name));
    for (const char* plugin : {"tls/libqopensslbackend.so", "tls/libqcertonlybackend.so",
                               "networkinformation/libqnetworkmanager.so"})
    {
        system.File(plugins + "/" + plugin);
        system.Loads(plugins + "/" + plugin, {"libQt6Network", "libQt6Core"});
    }
    for (const char* name : {"libssl.so.3", "libcrypto.so.3"})
        system.Loads(system.File(Debian_Lib + "/" + name).mid(system.Path("").size()), {});
    system.File("app/demo");
    system.Loads("app/demo", {"libQt6Network", "libQt6Core"});

    const QStringList qt = {"lib/libQt6Core.so.6.4.2", "lib/libQt6Network.so.6.4.2"};
    const TBundleDetection detected =
        Detect_Bundle(system.Path("app/demo"), QString(), system.Lister());
    QCOMPARE(Bundle_Lines(detected.Bundle),
             qt + QStringList({"lib/libcrypto.so.3", "lib/libssl.so.3",
                               "networkinformation/libqnetworkmanager.so",
                               "tls/libqcertonlybackend.so", "tls/libqopensslbackend.so"}));
    // Without the OpenSSL back-end nothing opens OpenSSL.
    const TBundleDetection certificates_only =
        Detect_Bundle(system.Path("app/demo"), QString(), system.Lister(), TBundleProgress(), QString(),
                      {{}, {"tls/libqopensslbackend.so", "networkinformation"}, {}});
    QCOMPARE(Bundle_Lines(certificates_only.Bundle),
             qt + QStringList("tls/libqcertonlybackend.so"));
}

void TBundleTest::entriesThatNameNothingAreTold()
{
    TFakeSystem system;
    Make_Modular_Qt(&system, {"libQt5Gui"});
    const QStringList with = {"webp", "imageformats/libqwebp.so", "../plugins/imageformats",
                              "imageformats/libqjpeg.so/x", "imageformats/", "imageformats"};
    const TBundleDetection detection =
        Detect_Bundle(system.Path("app/demo"), QString(), system.Lister(), TBundleProgress(), QString(),
                      {with, {"bearer/libqnm.so", "sqldrivers"}, {system.Path("app/gone.so")}});
    QVERIFY2(detection.Ok, qPrintable(detection.Error));
    QCOMPARE(detection.Unmatched,
             QStringList({system.Path("app/gone.so"), "webp", "imageformats/libqwebp.so",
                          "../plugins/imageformats", "imageformats/libqjpeg.so/x",
                          "imageformats/", "bearer/libqnm.so"}));
    QCOMPARE(Bundle_Lines(detection.Bundle).filter("imageformats/").size(), 2);
}

void TBundleTest::pluginFolderComesFromTheProgramsQt_data()
{
    QTest::addColumn<QString>("core");
    QTest::addColumn<QStringList>("plugin_folders");
    QTest::addColumn<QString>("explicit_folder");
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<QString>("qt_prefix");

    const QString prefix = "opt/Qt/5.15.2/gcc_64";
    QTest::newRow("Debian") << Debian_Lib + "/libQt5Core.so.5.15.8"
                            << QStringList{Debian_Plugins} << QString() << Debian_Plugins
                            << "usr";
    QTest::newRow("prefix") << prefix + "/lib/libQt5Core.so.5.15.2"
                            << QStringList{prefix + "/plugins", Debian_Plugins} << QString()
                            << prefix + "/plugins" << prefix;
    QTest::newRow("Debian before prefix")
        << Debian_Lib + "/libQt5Core.so.5.15.8"
        << QStringList{"usr/lib/plugins", Debian_Plugins} << QString() << Debian_Plugins << "usr";
    QTest::newRow("Qt 6") << Debian_Lib + "/libQt6Core.so.6.4.2"
                          << QStringList{Debian_Plugins, Debian_Lib + "/qt6/plugins"}
                          << QString() << Debian_Lib + "/qt6/plugins" << "usr";
    QTest::newRow("explicit") << Debian_Lib + "/libQt5Core.so.5.15.8"
                              << QStringList{Debian_Plugins, "srv/plugins"} << "srv/plugins"
                              << "srv/plugins" << "usr";
}

void TBundleTest::pluginFolderComesFromTheProgramsQt()
{
    QFETCH(QString, core);
    QFETCH(QStringList, plugin_folders);
    QFETCH(QString, explicit_folder);
    QFETCH(QString, chosen);
    QFETCH(QString, qt_prefix);
    TFakeSystem system;
    const QString folder = QFileInfo(core).path();
    const QString version = core.section(".so.", 1);
    const QString qt = core.contains("Qt6") ? "libQt6" : "libQt5";
    system.Library(folder, qt + "Core.so." + version);
    system.Library(folder, qt + "Gui.so." + version);
    for (const QString& plugins : plugin_folders)
    {
        system.File(plugins + "/platforms/libqxcb.so");
        system.Loads(plugins + "/platforms/libqxcb.so", {qt + "Gui"});
    }
    system.File("app/demo");
    system.Loads("app/demo", {qt + "Gui", qt + "Core"});

    const TBundleDetection detection =
        Detect_Bundle(system.Path("app/demo"),
                      explicit_folder.isEmpty() ? QString() : system.Path(explicit_folder),
                      system.Lister());
    QVERIFY2(detection.Ok, qPrintable(detection.Error));
    QCOMPARE(detection.Plugins_Folder, system.Path(chosen));
    QCOMPARE(Bundle_Lines(detection.Bundle), QStringList({"lib/" + qt + "Core.so." + version,
                                            "lib/" + qt + "Gui.so." + version,
                                            "platforms/libqxcb.so"}));
    QCOMPARE(detection.Bundle.Files.back().Source, system.Path(chosen + "/platforms/libqxcb.so"));
    QCOMPARE(detection.Qt, (TQtBuild{qt == "libQt6" ? 6 : 5, system.Path(qt_prefix)}));
}

void TBundleTest::failuresTellWhyAndFindNothing()
{
    struct TCase
    {
        const char* Name;
        std::function<void(TFakeSystem*)> Prepare;
        QString Program;
        QString Plugins_Folder;
        QString Error;  // %1: the made-up folder
    };
    const std::vector<TCase> cases = {
        {"missing", {}, "app/gone", {}, "\"%1/app/gone\" does not exist"},
        {"not ELF", [](TFakeSystem* s) { s->File("app/script", "#!/bin/sh\n"); }, "app/script", {},
         "\"%1/app/script\" is not an ELF file, so not a built program"},
        {"no Qt", [](TFakeSystem* s) { s->File("app/tool"); s->Loads("app/tool", {"libc"}); },
         "app/tool", {}, "\"%1/app/tool\" loads no Qt library, so there is nothing to bundle"},
        {"Qt not found", [](TFakeSystem* s) { s->Loads("app/demo", {"libQt5Quick"}); },
         "app/demo", {}, "\"%1/app/demo\" needs libQt5Quick.so.5, which the loader does not find"},
        {"other library not found", [](TFakeSystem* s) { s->Loads("app/demo", {"libmd4c"}); },
         "app/demo", {}, "\"%1/app/demo\" needs libmd4c.so.5, which the loader does not find"},
        {"no plug-in folder",
         [](TFakeSystem* s) { QDir(s->Path(Debian_Plugins)).removeRecursively(); }, "app/demo", {},
         "the Qt installation of \"%1/" + Debian_Lib + "/libQt5Core.so.5.15.8\" has no plug-in "
         "folder (neither \"%1/" + Debian_Plugins + "\" nor \"%1/usr/lib/plugins\"); name the "
         "plug-in folder explicitly"},
        {"explicit folder missing", {}, "app/demo", "srv/plugins",
         "the plug-in folder \"%1/srv/plugins\" does not exist"},
        {"unreadable platforms",
         [](TFakeSystem* s) { QFile::setPermissions(s->Path(Debian_Plugins + "/platforms"), {}); },
         "app/demo", {},
         "the plug-in folder \"%1/" + Debian_Plugins + "/platforms\" cannot be read"},
        {"line feed in a name",
         [](TFakeSystem* s) { s->File(Debian_Plugins + "/platforms/libqwayland.so\nlibqx.so"); },
         "app/demo", {},
         "the name of \"%1/" + Debian_Plugins +
             "/platforms/libqwayland.so\\x0Alibqx.so\" holds a line feed or another control "
             "character, which no spec line can install"},
    };
    for (const TCase& failure : cases)
    {
        TFakeSystem system;
        Make_Debian_Qt(&system);
        if (failure.Prepare)
            failure.Prepare(&system);
        const QString plugins =
            failure.Plugins_Folder.isEmpty() ? QString() : system.Path(failure.Plugins_Folder);
        Test::TUnprivileged nobody;
        const TBundleDetection detection =
            Detect_Bundle(system.Path(failure.Program), plugins, system.Lister());
        QVERIFY2(!detection.Ok, failure.Name);
        QCOMPARE(detection.Error, failure.Error.arg(system.Path("").chopped(1)));
        QVERIFY2(detection.Bundle.Files.empty(), failure.Name);
    }

    // Stopped by its progress after the third file.
    TFakeSystem system;
    Make_Debian_Qt(&system);
    QStringList told;
    const TBundleDetection stopped =
        Detect_Bundle(system.Path("app/demo"), QString(), system.Lister(),
                      [&told](const QString& file) {
                          told.append(file);
                          return told.size() < 3;
                      });
    QCOMPARE(stopped.Error, QString("the detection was stopped"));
    QCOMPARE(system.Examined.size(), 2);
    QCOMPARE(told.first(), system.Path("app/demo"));
}

void TBundleTest::collectingCopiesReplacesAndKeeps()
{
    TFakeSystem system;
    const QString source = system.Path("source");
    system.File("source/real/libQt5Core.so.5.15.8", QByteArray(3 << 20, 'c'));
    QDir().mkpath(source + "/lib");
    QFile::link("../real/libQt5Core.so.5.15.8", source + "/lib/libQt5Core.so.5.15.8");
    QVERIFY(QFileInfo(source + "/lib/libQt5Core.so.5.15.8").isSymLink());
    system.File("source/lib/libQt5Gui.so.5.15.8", "gui");
    system.File("source/platforms/libqxcb.so", "xcb");
    QFile::setPermissions(source + "/platforms/libqxcb.so",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                              QFile::ReadOther | QFile::ExeOther);
    const QStringList lines = {"lib/libQt5Core.so.5.15.8", "lib/libQt5Gui.so.5.15.8",
                               "platforms/libqxcb.so"};
    const TBundle bundle = Bundle_Of(source, lines);
    const QString folder = system.Path("shared_libs/new");

    const TBundleCollection first = Collect_Bundle(bundle, folder);
    QVERIFY2(first.Ok, qPrintable(first.Error));
    QCOMPARE(first.Copied, lines);
    QCOMPARE(first.Up_To_Date, QStringList());
    QCOMPARE(Files_Below(folder), lines);
    for (const QString& line : lines)
        QCOMPARE(Test::Read_File(folder + "/" + line), Test::Read_File(source + "/" + line));
    QVERIFY(!QFileInfo(folder + "/lib/libQt5Core.so.5.15.8").isSymLink());
    QCOMPARE(QFileInfo(folder + "/platforms/libqxcb.so").permissions(),
             QFileInfo(source + "/platforms/libqxcb.so").permissions());

    // Other files stay; a file of other bytes is replaced, the rest is kept.
    system.File("shared_libs/new/lib/notes.txt", "mine");
    system.File("shared_libs/new/styles/libqstyle.so", "mine too");
    system.File("shared_libs/new/lib/libQt5Gui.so.5.15.8", "older gui");
    const QDateTime core_time = QFileInfo(folder + "/lib/libQt5Core.so.5.15.8").lastModified();
    const TBundleCollection second = Collect_Bundle(bundle, folder);
    QVERIFY2(second.Ok, qPrintable(second.Error));
    QCOMPARE(second.Copied, QStringList({"lib/libQt5Gui.so.5.15.8"}));
    QCOMPARE(second.Up_To_Date,
             QStringList({"lib/libQt5Core.so.5.15.8", "platforms/libqxcb.so"}));
    QCOMPARE(Test::Read_File(folder + "/lib/libQt5Gui.so.5.15.8"), QByteArray("gui"));
    QCOMPARE(QFileInfo(folder + "/lib/libQt5Core.so.5.15.8").lastModified(), core_time);
    QCOMPARE(Files_Below(folder),
             QStringList({"lib/libQt5Core.so.5.15.8", "lib/libQt5Gui.so.5.15.8", "lib/notes.txt",
                          "platforms/libqxcb.so", "styles/libqstyle.so"}));
    QCOMPARE(Test::Read_File(folder + "/lib/notes.txt"), QByteArray("mine"));
}

void TBundleTest::failedCopiesLeaveTheOldFile()
{
    TFakeSystem system;
    const QString source = system.Path("source");
    system.File("source/lib/libQt5Core.so.5.15.8", QByteArray(1 << 20, 'c'));
    system.File("source/lib/libQt5Gui.so.5.15.8", QByteArray(3 << 20, 'g'));
    system.File("outside/libQt5Gui.so.5.15.8", "not to be touched");
    const TBundle bundle =
        Bundle_Of(source, {"lib/libQt5Core.so.5.15.8", "lib/libQt5Gui.so.5.15.8"});
    const QString folder = system.Path("shared_libs");
    system.File("shared_libs/lib/libQt5Gui.so.5.15.8", "older gui");

    // A full disk part-way through the second file.
    {
        Test::TFileSizeLimit limit(2 << 20);
        const TBundleCollection full = Collect_Bundle(bundle, folder);
        QVERIFY(!full.Ok);
        const QString copy = "lib/libQt5Gui.so.5.15.8";
        QVERIFY2(full.Error.startsWith(
                     QString("cannot copy \"%1/%3\" to \"%2/%3\"").arg(source, folder, copy)),
                 qPrintable(full.Error));
        QCOMPARE(full.Copied, QStringList({"lib/libQt5Core.so.5.15.8"}));
    }
    QCOMPARE(Test::Read_File(folder + "/lib/libQt5Gui.so.5.15.8"), QByteArray("older gui"));
    QCOMPARE(Files_Below(folder),
             QStringList({"lib/libQt5Core.so.5.15.8", "lib/libQt5Gui.so.5.15.8"}));

    // A link in the way is not written through.
    QFile::remove(folder + "/lib/libQt5Gui.so.5.15.8");
    QFile::link(system.Path("outside/libQt5Gui.so.5.15.8"), folder + "/lib/libQt5Gui.so.5.15.8");
    const TBundleCollection linked = Collect_Bundle(bundle, folder);
    QCOMPARE(linked.Error, QString("\"%1/lib/libQt5Gui.so.5.15.8\" is in the way: it is a link, "
                                   "not a copy of \"%2/lib/libQt5Gui.so.5.15.8\"")
                               .arg(folder, source));
    QCOMPARE(linked.Up_To_Date, QStringList({"lib/libQt5Core.so.5.15.8"}));
    QCOMPARE(Test::Read_File(system.Path("outside/libQt5Gui.so.5.15.8")),
             QByteArray("not to be touched"));

    // Nor is a target folder that is a link, whether it leads away by an
    // absolute or a relative path.
    const QString linked_folder = system.Path("linked");
    QDir().mkpath(linked_folder);
    for (const QString& outside : {system.Path("outside"), QString("../outside")})
    {
        QFile::remove(linked_folder + "/lib");
        QVERIFY(QFile::link(outside, linked_folder + "/lib"));
        const TBundleCollection through = Collect_Bundle(bundle, linked_folder);
        QCOMPARE(through.Error,
                 QString("the folder \"%1/lib\" is a symbolic link; nothing is written through it")
                     .arg(linked_folder));
        QCOMPARE(QDir(system.Path("outside")).entryList(QDir::Files),
                 QStringList({"libQt5Gui.so.5.15.8"}));
    }
}

// The system's reason, not the cancelling's.
void TBundleTest::fullDiskIsToldAsSuch()
{
    TFakeSystem system;
    const QString source = system.Path("source");
    system.File("source/lib/libQt5Core.so.5.15.8", QByteArray(1 << 20, 'c'));
    const QString folder = system.Path("small");
    QDir().mkpath(folder);
    Test::TSmallFileSystem disk(folder, 256);
    if (!disk.Is_Mounted())
        QSKIP(qPrintable(disk.Why_Not()));
    const TBundleCollection full =
        Collect_Bundle(Bundle_Of(source, {"lib/libQt5Core.so.5.15.8"}), folder);
    QCOMPARE(full.Error, QString("cannot copy \"%1/lib/libQt5Core.so.5.15.8\" to "
                                 "\"%2/lib/libQt5Core.so.5.15.8\": No space left on device")
                             .arg(source, folder));
    QCOMPARE(Files_Below(folder), QStringList());
}

void TBundleTest::applyingChecksRenamesAndKeeps()
{
    std::vector<TTargetRecord> targets = Factory_Targets();
    std::vector<TLibraryRecord> libraries = Factory_Libraries();
    TBundle bundle = Bundle_Of("/qt", {"lib/libQt5Core.so.5.15.8", "lib/libQt5Gui.so.5.15.8",
                                       "lib/libQt5WaylandClient.so.5.15.8",
                                       "platforminputcontexts/libibusplatforminputcontextplugin.so",
                                       "platforms/libqxcb.so",
                                       "wayland-shell-integration/libxdg-shell.so"});
    const TBundleApplication application = Apply_Bundle(bundle, &targets, &libraries);

    QCOMPARE(Checked_Names(targets), QStringList({"lib", "platforms", "platforminputcontexts",
                                                  "wayland-shell-integration"}));
    QCOMPARE(targets.size(), std::size_t(13));
    QStringList checked = Checked_Names(libraries);
    checked.sort();
    QCOMPARE(checked, Bundle_Lines(bundle));
    // Renamed in place, so the panel keeps its order; the rest is kept.
    QCOMPARE(libraries[1].Name, QString("libQt5Gui.so.5.15.8"));
    QCOMPARE(libraries[2].Name, QString("libQt5Core.so.5.15.8"));
    QCOMPARE(libraries[0].Name, QString("libQt5Widgets.so.5.15.2"));
    QVERIFY(!libraries[0].Checked);
    QCOMPARE(libraries.size(), std::size_t(44));
    QCOMPARE(libraries.back().Type, TTypes::Library_Plugin);
    QCOMPARE(application.Targets_Added, 1);
    QCOMPARE(application.Libraries_Added, 2);
    QCOMPARE(application.Libraries_Renamed, 2);
    QCOMPARE(application.Libraries_Unchecked, 42 - 4);

    // A version already listed is checked; the other one is not renamed onto it.
    libraries = {{"lib", "libQt5Core.so.5.15.2", TTypes::Library_Dylib, true},
                 {"lib", "libQt5Core.so.5.15.8", TTypes::Library_Dylib, false}};
    bundle = Bundle_Of("/qt", {"lib/libQt5Core.so.5.15.8"});
    const TBundleApplication listed = Apply_Bundle(bundle, &targets, &libraries);
    QCOMPARE(Checked_Names(libraries), QStringList({"lib/libQt5Core.so.5.15.8"}));
    QCOMPARE(libraries[0].Name, QString("libQt5Core.so.5.15.2"));
    QCOMPARE(listed.Libraries_Renamed, 0);
    QCOMPARE(listed.Libraries_Unchecked, 1);
}

// Entries as the scanner writes them, for modules of a made-up import folder.
void TBundleTest::scannerOutputGivesTheOutermostInstalledModules()
{
    TFakeSystem system;
    for (const char* folder : {"qml/QtQuick.2", "qml/QtQuick/Controls.2/Material", "outside/Mine"})
        QDir().mkpath(system.Path(folder));
    const auto module = [&](const QString& name, const QString& path) {
        return QString("{\"name\": \"%1\", \"type\": \"module\", \"path\": \"%2\"}")
            .arg(name, path.isEmpty() ? QString() : system.Path(path));
    };
    const QString list =
        "[" +
        QStringList{module("QtQuick.Controls.Material", "qml/QtQuick/Controls.2/Material"),
                    module("QtQuick", "qml/QtQuick.2"),
                    module("QtQuick.Controls", "qml/QtQuick/Controls.2"),
                    module("QtQuick", "qml/QtQuick.2"),
                    module("Mine", "outside/Mine"),
                    module("QtQuick.Gone", "qml/QtQuick/Gone"),
                    module("QtGraphicalEffects", ""),
                    module("Whole", "qml"),
                    "{\"name\": \"\", \"type\": \"directory\", \"path\": \"" +
                        system.Path("qml/QtQuick.2") + "\"}"}
            .join(",") +
        "]";
    const TQmlImports imports = Read_Qml_Imports(list.toUtf8(), system.Path("qml"));
    QVERIFY2(imports.Ok, qPrintable(imports.Error));
    QCOMPARE(imports.Module_Folders, QStringList({"QtQuick.2", "QtQuick/Controls.2"}));
    QVERIFY(Read_Qml_Imports("[]", system.Path("qml")).Ok);

    for (const QByteArray& wrong : {QByteArray("qmldir file not found"), QByteArray("{}"),
                                    QByteArray("[{\"name\": ")})
    {
        const TQmlImports failed = Read_Qml_Imports(wrong, system.Path("qml"));
        QVERIFY(!failed.Ok && failed.Module_Folders.isEmpty());
        QVERIFY2(failed.Error.startsWith("the QML import scanner's output is not a list of "
                                         "imports: "),
                 qPrintable(failed.Error));
    }
}

// The installation's own scanner finds the imported modules; a module comes
// with the modules below it, and a plug-in at any depth brings its Qt
// libraries. A module nobody imports stays behind.
void TBundleTest::qmlModulesComeWholeWithTheirPluginsLibraries()
{
    TFakeSystem system;
    QVERIFY(Make_Debian_Qt_Quick(&system));
    const TBundleDetection detection = Detect_Bundle(
        system.Path("app/demo"), QString(), system.Lister(), {}, system.Path("app/qml"));
    QVERIFY2(detection.Ok, qPrintable(detection.Error));
    const QStringList lines = Bundle_Lines(detection.Bundle);
    // Qt Quick, loaded only by the QML plug-ins, brings its scene graph plug-ins.
    QCOMPARE(lines.filter(QRegularExpression("^qml/|Quick|Qml|^scenegraph/")),
             QStringList({"lib/libQt5Qml.so.5.15.8", "lib/libQt5Quick.so.5.15.8",
                          "lib/libQt5QuickControls2.so.5.15.8", "qml/QtQuick.2",
                          "qml/QtQuick/Controls.2", "qml/QtQuick/Layouts",
                          "scenegraph/libqsgsoftwareadaptation.so"}));
    const std::vector<TTargetRecord> targets = Bundle_Targets(detection.Bundle);
    const auto qml = std::find_if(targets.begin(), targets.end(),
                                  [](const TTargetRecord& target) { return target.Name == "qml"; });
    QVERIFY(qml != targets.end() && qml->Kind == TTypes::Target_Qml_Modules);
    QCOMPARE(targets.front().Kind, TTypes::Target_Files);

    // Collected file by file, a module is up to date when every file is.
    TBundle modules;
    for (const TBundleFile& file : detection.Bundle.Files)
        if (file.Type == TTypes::Library_Qml_Module)
            modules.Files.push_back(file);
    const QString folder = system.Path("shared_libs");
    QCOMPARE(Collect_Bundle(modules, folder).Copied.size(), 3);
    QCOMPARE(Files_Below(folder + "/qml").filter("Controls.2"),
             QStringList({"QtQuick/Controls.2/Button.qml",
                          "QtQuick/Controls.2/Material/libqqc2materialstyleplugin.so",
                          "QtQuick/Controls.2/Material/qmldir", "QtQuick/Controls.2/qmldir"}));
    system.File("shared_libs/qml/QtQuick/Layouts/qmldir", "changed");
    const TBundleCollection again = Collect_Bundle(modules, folder);
    QCOMPARE(again.Copied, QStringList({"qml/QtQuick/Layouts"}));
    QCOMPARE(again.Up_To_Date, QStringList({"qml/QtQuick.2", "qml/QtQuick/Controls.2"}));

    // Without its sources or its scanner nothing is found, and it is told.
    const TBundleDetection no_sources = Detect_Bundle(
        system.Path("app/demo"), QString(), system.Lister(), {}, system.Path("app/none"));
    QVERIFY(!no_sources.Ok && no_sources.Bundle.Files.empty());
    QCOMPARE(no_sources.Error, "the QML sources folder \"" + system.Path("app/none") +
                                   "\" does not exist");
    QFile::remove(system.Path("usr/lib/qt5/bin/qmlimportscanner"));
    const TBundleDetection no_scanner = Detect_Bundle(
        system.Path("app/demo"), QString(), system.Lister(), {}, system.Path("app/qml"));
    QVERIFY2(!no_scanner.Ok && no_scanner.Error.contains("has no QML import scanner"),
             qPrintable(no_scanner.Error));
}

// A line feed in a plug-in family, in a file of a QML module or in a name to
// collect would make two lines of one; a link in a module that leads out of
// the Qt installation would copy whatever it leads to.
void TBundleTest::namesWithLineFeedsAndLinksOutOfQtAreRefused()
{
    TFakeSystem system;
    QVERIFY(Make_Debian_Qt_Quick(&system));
    system.File(Debian_Plugins + "/odd\nfamily/libodd.so");
    const TBundleDetection family = Detect_Bundle(system.Path("app/demo"), QString(),
                                                  system.Lister(), {}, QString(),
                                                  {{"odd\nfamily"}, {}, {}});
    QVERIFY(!family.Ok);
    QCOMPARE(family.Error, "the name of \"" + system.Path(Debian_Plugins) +
                               "/odd\\x0Afamily\" holds a line feed or another control "
                               "character, which no spec line can install");

    const QString odd_file = system.File(Debian_Qml + "/QtQuick/Layouts/odd\nname.qml", "Item {}");
    const TBundleDetection module = Detect_Bundle(system.Path("app/demo"), QString(),
                                                  system.Lister(), {}, system.Path("app/qml"));
    QVERIFY(!module.Ok);
    QVERIFY2(module.Error.contains("odd\\x0Aname.qml\" holds a line feed"),
             qPrintable(module.Error));
    QVERIFY(QFile::remove(odd_file));

    const QString folder = system.Path("shared_libs");
    TBundle odd_target = Bundle_Of(system.Path(Debian_Lib), {"lib/libQt5Core.so.5.15.8"});
    odd_target.Files.front().Target = "odd\nlib";
    const TBundleCollection refused = Collect_Bundle(odd_target, folder);
    QVERIFY(!refused.Ok);
    QVERIFY2(refused.Error.contains("\"odd\\x0Alib/libQt5Core.so.5.15.8\""),
             qPrintable(refused.Error));
    QVERIFY(Files_Below(folder).isEmpty() && !QFileInfo::exists(folder + "/odd\nlib"));

    // A link to another file of the installation is followed; one that
    // leads out of it stops the copying, by name.
    const QString layouts = system.Path(Debian_Qml + "/QtQuick/Layouts");
    QVERIFY(QFile::link("../../QtQuick.2/qmldir", layouts + "/inside"));
    const TBundleDetection detection = Detect_Bundle(
        system.Path("app/demo"), QString(), system.Lister(), {}, system.Path("app/qml"));
    QVERIFY2(detection.Ok, qPrintable(detection.Error));
    TBundle modules;
    for (const TBundleFile& file : detection.Bundle.Files)
        if (file.Type == TTypes::Library_Qml_Module)
            modules.Files.push_back(file);
    const TBundleCollection collected = Collect_Bundle(modules, folder);
    QVERIFY2(collected.Ok, qPrintable(collected.Error));
    QCOMPARE(Test::Read_File(folder + "/qml/QtQuick/Layouts/inside"),
             Test::Read_File(system.Path(Debian_Qml + "/QtQuick.2/qmldir")));

    system.File("secret", "not Qt's");
    QVERIFY(QFile::link(system.Path("secret"), layouts + "/outside"));
    QVERIFY(QDir(folder + "/qml/QtQuick/Layouts").removeRecursively());
    const TBundleCollection leaked = Collect_Bundle(modules, folder);
    QVERIFY(!leaked.Ok);
    QCOMPARE(leaked.Error, "\"" + layouts + "/outside\" is reached through a symbolic link that "
                           "leads outside the Qt installation \"" +
                               QFileInfo(system.Path(Debian_Lib + "/qt5")).canonicalFilePath() +
                               "\"; it is not copied");
    QVERIFY(!QFileInfo::exists(folder + "/qml/QtQuick/Layouts/outside"));
}

// Eight times the detection choices, stored and given, take about eight
// times as long to merge, detect with, sort and keep, not sixty-four: each
// entry is looked up, never searched for. The bound of 24 leaves room.
void TBundleTest::choicesTakeTimeInProportionToTheirNumber()
{
    TFakeSystem system;
    Make_Debian_Qt(&system);
    const auto choices = [](const QString& prefix, int count) {
        TDetectionChoices made;
        for (int index = 0; index < count; ++index)
        {
            const QString name = prefix + QString::number(index);
            made.With_Plugins << name << "imageformats/" + name + ".so";
            made.Without_Plugins << "other" + name << "iconengines/" + name + ".so";
            made.With_Libraries << "lib/" + name + ".so";
        }
        return made;
    };
    const auto work = [&](int count) {
        const TDetectionChoices stored = choices("stored", count);
        const TDetectionChoices given = choices("given", count);
        return [&system, stored, given] {
            const TDetectionChoices merged = Merged_Choices(stored, given);
            const TBundleDetection detection = Detect_Bundle(
                system.Path("app/demo"), QString(), system.Lister(), {}, QString(), merged);
            QVERIFY2(detection.Ok, qPrintable(detection.Error));
            const TUnmatchedChoices sorted =
                Sort_Unmatched_Choices(detection.Unmatched, given, detection.Plugins_Folder);
            TEditorState state;
            Keep_Listed_Entries(sorted.Kept, {}, &state);
            QCOMPARE(int(state.Libraries.size()), sorted.Kept.size());
        };
    };
    const double ratio = Test::Time_Ratio(work(1000), work(8000));
    QVERIFY2(ratio < 24,
             qPrintable(QString("8 times the choices took %1 times as long").arg(ratio)));
}

// Eight times the modules in the scanner's output take about eight times as
// long to read, not sixty-four.
void TBundleTest::scannerOutputTakesTimeInProportionToItsModules()
{
    TFakeSystem system;
    const auto output = [&](int count) {
        QStringList entries;
        for (int index = 0; index < count; ++index)
        {
            const QString folder = QString("qml/Kv%1/Module%2").arg(index % 50).arg(index);
            QDir().mkpath(system.Path(folder));
            entries.append(QString("{\"type\": \"module\", \"path\": \"%1\"}")
                               .arg(system.Path(folder)));
        }
        return ("[" + entries.join(",\n") + "]").toUtf8();
    };
    const QByteArray smaller = output(1000);
    const QByteArray larger = output(8000);
    const auto read = [&](const QByteArray& json, int count) {
        return [&system, json, count] {
            QCOMPARE(Read_Qml_Imports(json, system.Path("qml")).Module_Folders.size(), count);
        };
    };
    const double ratio = Test::Time_Ratio(read(smaller, 1000), read(larger, 8000));
    QVERIFY2(ratio < 24,
             qPrintable(QString("8 times the modules took %1 times as long").arg(ratio)));
}

QTEST_GUILESS_MAIN(TBundleTest)
#include "tst_bundle.moc"
