// The rules that turn what a program's own install rules put down into the
// package's layout: where the program is, what cannot be moved, which files
// go into the system menu and whether a menu entry's icon is there.

#include <QtTest>

#include "package/installlayout.h"
#include "package/installprobe.h"
#include "package/menuchecks.h"
#include "testsupport.h"

namespace
{
TInstalledFile Inside(const QString& path, const QString& rule = QString())
{
    return {path, rule, false, QString()};
}

TInstallProbe Probe(const std::vector<TInstalledFile>& files)
{
    TInstallProbe probe;
    probe.Learned = true;
    probe.How = "from a trial";
    probe.Files = files;
    return probe;
}
}

class TInstallLayoutTest : public QObject
{
    Q_OBJECT

private slots:
    void fixedFoldersMoveBelowThePrefix();
    void menuFilesAreTheSystemMenusOwn();
    void desktopEntryValuesComeFromTheirGroup();
    void iconNamesMatchThemeAndPixmapFiles();
    void programFolderIsWhereTheRulesPutIt();
    void whatCannotBePackagedIsAProblemWithItsFix();
    void entryIconMustBeInstalled();
    void dryRunListsEveryInstalledFile();
    void projectFileIsTheFoldersOwn();
    void refusedCategoryGetsItsFix();
};

void TInstallLayoutTest::fixedFoldersMoveBelowThePrefix()
{
    const struct
    {
        QString Folder;
        QString Rule;
        QString Relocated;
    } cases[] = {
        {"/opt/app/bin", "target", "bin"},
        {"/opt/app", "target", "bin"},
        {"/opt/tools/bin", "helper", "bin"},
        {"/usr/share/applications", "desktop", "share/applications"},
        {"/usr/local/share/icons/hicolor/48x48/apps", "icon", "share/icons/hicolor/48x48/apps"},
        {"/opt/app/data", "data", "share/data"},
        {"/etc/app", "", "share/app"},
    };
    for (const auto& one : cases)
        QVERIFY2(Relocated_Folder(one.Folder, one.Rule) == one.Relocated, qPrintable(one.Folder));
}

void TInstallLayoutTest::menuFilesAreTheSystemMenusOwn()
{
    for (const char* menu :
         {"share/applications/org.x.app.desktop", "share/icons/hicolor/48x48/apps/app.png",
          "share/icons/hicolor/scalable/apps/app.svg", "share/metainfo/org.x.app.metainfo.xml",
          "share/appdata/app.appdata.xml", "share/pixmaps/app.png"})
        QVERIFY2(Is_Menu_File(menu), menu);
    for (const char* other :
         {"share/applications/README", "share/icons/oxygen/48x48/apps/app.png",
          "share/icons/hicolor/app.png", "share/app/applications/x.desktop", "bin/app",
          "share/metainfo/old/x.xml", "share/pixmaps/app/big.png", "applications/x.desktop"})
        QVERIFY2(!Is_Menu_File(other), other);
}

void TInstallLayoutTest::desktopEntryValuesComeFromTheirGroup()
{
    const QString entry = "# Icon=commented\n[Desktop Entry]\nName=App\nIcon[de]=app-de\n"
                          "Icon = app \nExec=app %U\n[Desktop Action New]\nExec=app --new\n"
                          "Icon=other\n";
    QCOMPARE(Desktop_Entry_Value(entry, "Icon"), QString("app"));
    QCOMPARE(Desktop_Entry_Value(entry, "Exec"), QString("app %U"));
    QCOMPARE(Desktop_Entry_Value(entry, "TryExec"), QString());
    QCOMPARE(Desktop_Entry_Value("[Desktop Action New]\nIcon=x\n", "Icon"), QString());
}

void TInstallLayoutTest::iconNamesMatchThemeAndPixmapFiles()
{
    const QStringList files = {"share/icons/hicolor/48x48/apps/app.png",
                               "share/icons/hicolor/scalable/apps/tool.svg",
                               "icons/hicolor/16x16/apps/small.xpm", "share/pixmaps/legacy.png",
                               "share/icons/oxygen/48x48/apps/themed.png",
                               "share/icons/hicolor/48x48/apps/notes.txt"};
    for (const char* found : {"app", "tool", "small", "legacy", "legacy.png"})
        QVERIFY2(Names_Installed_Icon(found, files), found);
    for (const char* missing : {"app-icon", "themed", "notes", "app.png", "/usr/share/pixmaps/legacy.png", ""})
        QVERIFY2(!Names_Installed_Icon(missing, files), missing);
}

void TInstallLayoutTest::programFolderIsWhereTheRulesPutIt()
{
    const struct
    {
        QString Path;
        QString Below;
    } cases[] = {{"bin/app", "bin"}, {"app", ""}, {"libexec/app/app", "libexec/app"}};
    for (const auto& one : cases)
    {
        const TLearnedLayout layout =
            Learn_Layout(Probe({Inside("share/doc/README"), Inside(one.Path)}), "app", "app");
        QVERIFY2(layout.Learned && layout.Problems.isEmpty(), qPrintable(layout.Problems.join('\n')));
        QCOMPARE(layout.Bin_Below, one.Below);
    }
    const TLearnedLayout layout = Learn_Layout(
        Probe({Inside("bin/app"), Inside("share/applications/app.desktop"),
               Inside("share/icons/hicolor/scalable/apps/app.svg"), Inside("share/app/tr/de.qm"),
               Inside("share/app/tr/fr.qm"), Inside("share/doc/README")}),
        "app", "app");
    QCOMPARE(layout.Menu_Files, (QStringList{"share/applications/app.desktop",
                                             "share/icons/hicolor/scalable/apps/app.svg"}));
    QVERIFY2(layout.Notes.join('\n').contains(
                 "it installs share/app (2 files), share/doc (1 file), all kept"),
             qPrintable(layout.Notes.join('\n')));
    QVERIFY(layout.Notes.first().contains("into <prefix>/bin (learned from a trial)"));

    TInstallProbe unknown;
    unknown.Why_Not = "no source folder was given";
    const TLearnedLayout unlearned = Learn_Layout(unknown, "app", "app");
    QVERIFY(!unlearned.Learned && unlearned.Problems.isEmpty());
    QVERIFY(unlearned.Notes.first().contains("(no source folder was given)"));
}

void TInstallLayoutTest::whatCannotBePackagedIsAProblemWithItsFix()
{
    TInstallProbe outside = Probe({{"/opt/app/bin/app", "target", true, QString()},
                                   {"/opt/app/bin/helper", "target", true, QString()}});
    QStringList problems = Learn_Layout(outside, "app", "app").Problems;
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems[0].contains("install rule \"target\" puts \"app\" into the fixed path "
                                  "\"/opt/app/bin\"") &&
                 problems[0].contains("\"target.path = $$PREFIX/bin\"") &&
                 problems[0].contains("\"isEmpty(target.path): target.path = /opt/app/bin\""),
             qPrintable(problems[0]));
    outside.CMake = true;
    problems = Learn_Layout(outside, "app", "app").Problems;
    QVERIFY2(problems.size() == 1 && problems[0].contains("DESTINATION relative to the prefix"),
             qPrintable(problems.join('\n')));

    problems = Learn_Layout(Probe({Inside("share/doc/README")}), "app", "app").Problems;
    QVERIFY2(problems.size() == 1 && problems[0].contains("do not install \"app\""),
             qPrintable(problems.join('\n')));
    problems = Learn_Layout(Probe({Inside("bin/app")}), "app", "my-app").Problems;
    QVERIFY2(problems.size() == 1 && problems[0].contains("--set \"%define name=app\""),
             qPrintable(problems.join('\n')));
}

void TInstallLayoutTest::entryIconMustBeInstalled()
{
    TInstallProbe probe = Probe({Inside("bin/app"), Inside("share/applications/a.desktop"),
                                 Inside("share/applications/b.desktop"),
                                 Inside("share/icons/hicolor/48x48/apps/app.png")});
    probe.Entry_Icons = {{"share/applications/a.desktop", "app"},
                         {"share/applications/b.desktop", "app-icon"}};
    const QStringList problems = Learn_Layout(probe, "app", "app").Problems;
    QCOMPARE(problems.size(), 1);
    QVERIFY2(problems[0].contains("\"share/applications/b.desktop\" names the icon app-icon "
                                  "(Icon=app-icon), which the program does not install") &&
                 problems[0].contains("Icon= (app)"),
             qPrintable(problems[0]));
}

// Lines as "make -n -w install" prints them for a subdirs project.
void TInstallLayoutTest::dryRunListsEveryInstalledFile()
{
    QTemporaryDir folder;
    QVERIFY(QDir().mkpath(folder.path() + "/app/translations/sub"));
    Test::Write_File(folder.path() + "/app/translations/de.qm", "de");
    Test::Write_File(folder.path() + "/app/translations/sub/fr.qm", "fr");
    const QString output =
        "make[1]: Entering directory '" + folder.path() + "/app'\n"
        "g++ -c -o main.o ../main.cpp\n"
        "test -d /root/pre/bin || mkdir -p /root/pre/bin\n"
        "/usr/lib/qt5/bin/qmake -install qinstall -exe app /root/pre/bin/app\n"
        "strip /root/pre/bin/app\n"
        "/usr/lib/qt5/bin/qmake -install qinstall translations /root/pre/share/app/tr\n"
        "/usr/lib/qt5/bin/qmake -install qinstall /src/app.desktop /root/opt/app.desktop\n"
        "/usr/lib/qt5/bin/qmake -install qinstall /src/x /elsewhere/x\n";
    const std::vector<TInstalledFile> files = Dry_Run_Files(output, "/root", "/pre", "/top");
    QStringList listed;
    for (const TInstalledFile& file : files)
        listed.append(QString("%1 %2 %3").arg(file.Path, file.Outside ? "outside" : "inside",
                                               file.Source));
    QCOMPARE(listed, (QStringList{"bin/app inside " + folder.path() + "/app/app",
                                  "share/app/tr/de.qm inside " + folder.path() +
                                      "/app/translations/de.qm",
                                  "share/app/tr/sub/fr.qm inside " + folder.path() +
                                      "/app/translations/sub/fr.qm",
                                  "/opt/app.desktop outside /src/app.desktop"}));
}

void TInstallLayoutTest::projectFileIsTheFoldersOwn()
{
    QTemporaryDir temporary;
    const QString folder = temporary.path() + "/game";
    QVERIFY(QDir().mkpath(folder));
    QCOMPARE(Project_File(folder), QString());
    QCOMPARE(Project_File(QString()), QString());
    Test::Write_File(folder + "/zeta.pro", "");
    QCOMPARE(Project_File(folder), folder + "/zeta.pro");
    Test::Write_File(folder + "/alpha.pro", "");
    QCOMPARE(Project_File(folder), folder + "/alpha.pro");
    Test::Write_File(folder + "/game.pro", "");
    QCOMPARE(Project_File(folder), folder + "/game.pro");
}

void TInstallLayoutTest::refusedCategoryGetsItsFix()
{
    const QString said = "x.desktop: error: value \"Qt;Utilities;\" for key \"Categories\" in group "
                         "\"Desktop Entry\" contains an unregistered value \"Utilities\"; values "
                         "extending the format should start with \"X-\"";
    const QString advice = Entry_Advice(said);
    QVERIFY2(advice.contains("\"Utilities\" is not registered") && advice.contains("\"X-Utilities\"") &&
                 advice.contains("\"Utility\""),
             qPrintable(advice));
    QCOMPARE(Entry_Advice("x.desktop: error: required key \"Name\" in group \"Desktop Entry\" is "
                          "not present"),
             QString("change what the validator names"));
}

QTEST_MAIN(TInstallLayoutTest)
#include "tst_installlayout.moc"
