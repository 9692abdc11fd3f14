#include <QLabel>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "kestrelvantory.h"
#include "optionswidget.h"
#include "requireswidget.h"
#include "standins.h"
#include "testsupport.h"

#include <csignal>

namespace
{
const QByteArray Factory_File =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Requires File_Version=\"1\">\n"
    "    <Package>\n"
    "        <Name>libxcb-image0</Name>\n"
    "        <Libraries>\n"
    "            <Name>libxcb-image.so.0</Name>\n"
    "            <Name>libxcb-image.so.1</Name>\n"
    "            <Name>libxcb-image.so.2</Name>\n"
    "        </Libraries>\n"
    "    </Package>\n"
    "    <Package>\n"
    "        <Name>libxcb-image1</Name>\n"
    "        <Libraries>\n"
    "            <Name>libxcb-image.so.0</Name>\n"
    "            <Name>libxcb-image.so.1</Name>\n"
    "            <Name>libxcb-image.so.2</Name>\n"
    "        </Libraries>\n"
    "    </Package>\n"
    "</Requires>\n";

const QByteArray Empty_File =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Requires File_Version=\"1\"/>\n";

// The tree as rows "package | library", parents and children in view order.
QStringList Rows(const QTreeWidget* tree)
{
    QStringList rows;
    for (int top = 0; top < tree->topLevelItemCount(); ++top)
    {
        const QTreeWidgetItem* package = tree->topLevelItem(top);
        rows.append(package->text(0) + " | " + package->text(1));
        for (int child = 0; child < package->childCount(); ++child)
            rows.append(package->child(child)->text(0) + " | " + package->child(child)->text(1));
    }
    return rows;
}
}

class TRequiresWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartShowsTheFactoryList();
    void storedFilesLoadOrFallBack_data();
    void storedFilesLoadOrFallBack();
    void loadedListIsKeptAsStored();
    void saveWritesTheLayout();

    void rpmAnswersDecideThePackage();
    void librariesAreQueriedOnceInOneRun();
    void unprovidedLibraryDoesNotStopItsFile();
    void rejectedFilesDoNotStopTheScan();
    void onlyNamedTargetFoldersAreScanned();
    void emptySharedLibsPathChangesNothing();
    void hangingProgramsEndTheScanWithTheFailureTold();
    void missingProgramsAreReported();
    void windowRespondsWhileItScans();
    void closingDuringAScanStopsIt();

    void clearedListStaysEmptyAfterRestart();
    void refreshButtonRescansInTheEditor();

private:
    void Write_Listing(const QString& target, const QString& file, const QStringList& libraries);
    TRequiresWidget* Scanning_Panel();
    QStringList Scan(const QStringList& targets);

    std::unique_ptr<QTemporaryDir> d_folder;
    std::unique_ptr<TRequiresWidget> d_panel;
    std::unique_ptr<Test::TStandIns> d_stand_ins;
};

void TRequiresWidgetTest::init()
{
    d_folder = std::make_unique<QTemporaryDir>();
    d_panel = std::make_unique<TRequiresWidget>(nullptr, Qt::WindowFlags());
    d_stand_ins = std::make_unique<Test::TStandIns>();
}

void TRequiresWidgetTest::cleanup()
{
    d_stand_ins.reset();
    d_panel.reset();
    d_folder.reset();
}

void TRequiresWidgetTest::Write_Listing(const QString& target, const QString& file,
                                        const QStringList& libraries)
{
    QDir(d_folder->path()).mkpath("shared/" + target);
    Test::Write_File(d_folder->filePath("shared/" + target + "/" + file), Test::Listing(libraries));
}

TRequiresWidget* TRequiresWidgetTest::Scanning_Panel()
{
    d_panel->d_shared_libs_path = d_folder->filePath("shared");
    return d_panel.get();
}

// Runs a scan to its end and returns the status lines it reported, other
// than its progress.
QStringList TRequiresWidgetTest::Scan(const QStringList& targets)
{
    QSignalSpy status(Scanning_Panel(), &TRequiresWidget::Status_Message);
    d_panel->Refresh_Required_Packages(targets);
    d_panel->Wait_For_Scan();
    QStringList messages;
    for (const QList<QVariant>& arguments : status)
    {
        if (!arguments.at(0).toString().startsWith("Scanning requirements: "))
            messages.append(arguments.at(0).toString());
    }
    return messages;
}

void TRequiresWidgetTest::firstStartShowsTheFactoryList()
{
    QVERIFY(!d_panel->Load_Defaults(d_folder->path()));

    const auto* tree = d_panel->findChild<QTreeWidget*>();
    QCOMPARE(tree->headerItem()->text(0), QString("Package Providing Library"));
    QCOMPARE(tree->headerItem()->text(1), QString("Library File Name"));
    QCOMPARE(Rows(tree), QStringList({"libxcb-image0 | libxcb-image.so.0", " | libxcb-image.so.1",
                                      " | libxcb-image.so.2", "libxcb-image1 | libxcb-image.so.0",
                                      " | libxcb-image.so.1", " | libxcb-image.so.2"}));
    QVERIFY(tree->topLevelItem(0)->isExpanded());
    QVERIFY(tree->topLevelItem(1)->isExpanded());
    QCOMPARE(d_panel->Required_Packages(), QStringList({"libxcb-image0", "libxcb-image1"}));
}

void TRequiresWidgetTest::storedFilesLoadOrFallBack_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<QStringList>("packages");

    const QStringList factory = {"libxcb-image0", "libxcb-image1"};
    QTest::newRow("no packages") << QByteArray("<Requires File_Version=\"1\"/>") << true
                                 << QStringList();
    QTest::newRow("no libraries")
        << QByteArray("<Requires File_Version=\"1\"><Package><Name>zlib</Name></Package>"
                      "</Requires>")
        << false << factory;
    QTest::newRow("empty libraries and other elements")
        << QByteArray("<Requires File_Version=\"1\"><Note/><Package><Name>zlib</Name>"
                      "<Libraries/></Package></Requires>")
        << true << QStringList({"zlib"});
    QTest::newRow("no package name")
        << QByteArray("<Requires File_Version=\"1\"><Package><Libraries/></Package></Requires>")
        << false << factory;
    QTest::newRow("library without text")
        << QByteArray("<Requires File_Version=\"1\"><Package><Name>zlib</Name><Libraries>"
                      "<Name/></Libraries></Package></Requires>")
        << false << factory;
    QTest::newRow("version 2") << QByteArray("<Requires File_Version=\"2\"/>") << false
                               << factory;
    QTest::newRow("other root") << QByteArray("<Options File_Version=\"1\"/>") << false
                                << factory;
    QTest::newRow("malformed") << QByteArray("<Requires File_Version=\"1\">") << false
                               << factory;
}

void TRequiresWidgetTest::storedFilesLoadOrFallBack()
{
    QFETCH(QByteArray, body);
    QFETCH(bool, loaded);
    QFETCH(QStringList, packages);

    Test::Write_File(d_folder->filePath("requires.xml"),
                     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + body);
    QCOMPARE(d_panel->Load_Defaults(d_folder->path()), loaded);
    QCOMPARE(d_panel->Required_Packages(), packages);
    QCOMPARE(d_panel->findChild<QTreeWidget*>()->topLevelItemCount(), packages.size());
}

void TRequiresWidgetTest::loadedListIsKeptAsStored()
{
    const QByteArray stored =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<Requires File_Version=\"1\">\n"
        "    <Package>\n"
        "        <Name>zlib</Name>\n"
        "        <Libraries>\n"
        "            <Name>/lib/libz.so.1</Name>\n"
        "            <Name>/lib/libz.so.1</Name>\n"
        "        </Libraries>\n"
        "    </Package>\n"
        "    <Package>\n"
        "        <Name>a&amp;b</Name>\n"
        "        <Libraries/>\n"
        "    </Package>\n"
        "    <Package>\n"
        "        <Name>zlib</Name>\n"
        "        <Libraries/>\n"
        "    </Package>\n"
        "</Requires>\n";
    Test::Write_File(d_folder->filePath("requires.xml"), stored);
    QVERIFY(d_panel->Load_Defaults(d_folder->path()));

    QCOMPARE(d_panel->Required_Packages(), QStringList({"zlib", "a&b", "zlib"}));
    QCOMPARE(Rows(d_panel->findChild<QTreeWidget*>()),
             QStringList({"a&b | ", "zlib | /lib/libz.so.1", " | /lib/libz.so.1", "zlib | "}));

    QVERIFY(QFile::remove(d_folder->filePath("requires.xml")));
    QVERIFY(d_panel->Save_Defaults(d_folder->path()));
    QCOMPARE(Test::Read_File(d_folder->filePath("requires.xml")), stored);
}

void TRequiresWidgetTest::saveWritesTheLayout()
{
    d_panel->Load_Defaults(d_folder->path());
    QVERIFY(d_panel->Save_Defaults(d_folder->path()));
    QCOMPARE(Test::Read_File(d_folder->filePath("requires.xml")), Factory_File);

    QVERIFY(!d_panel->Save_Defaults(d_folder->filePath("missing")));
}

void TRequiresWidgetTest::rpmAnswersDecideThePackage()
{
    Write_Listing("app", "prog", {"/lib/libc.so.6", "/lib/libxcb-image.so.0", "/lib/libfoo.so.1"});
    d_stand_ins->Set_Providers({{"/lib/libc.so.6", "glibc-2.31-9.1.x86_64"},
                                {"/lib/libxcb-image.so.0", "libxcb-image0-0.4.0-8.6.1.x86_64"},
                                {"/lib/libfoo.so.1", "libfoo1-1.2+git5-1.1.x86_64"}});

    QCOMPARE(Scan({"app"}), QStringList({"Requirements: 1 package found."}));
    QCOMPARE(d_panel->Scan_Problems(), QString());
    QCOMPARE(d_panel->Required_Packages(), QStringList({"libxcb-image0"}));
    QCOMPARE(Rows(d_panel->findChild<QTreeWidget*>()),
             QStringList({"libxcb-image0 | /lib/libxcb-image.so.0"}));
    QCOMPARE(d_stand_ins->Queries(),
             QStringList({"/lib/libc.so.6", "/lib/libxcb-image.so.0", "/lib/libfoo.so.1"}));
}

void TRequiresWidgetTest::librariesAreQueriedOnceInOneRun()
{
    Write_Listing("app", "a.so", {"/lib/libz.so.1", "/lib/libc.so.6", "/lib/libpng.so.16"});
    Write_Listing("app", "B.so", {"/usr/lib/libQt5Core.so.5", "/lib/libz.so.1",
                                  "/lib/libc.so.6", "/lib/libpng-extra.so.16"});
    d_stand_ins->Set_Providers({{"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"},
                                {"/lib/libc.so.6", "glibc-2.36-9.x86_64"},
                                {"/lib/libpng.so.16", "libpng16-1.6.39-1.x86_64"},
                                {"/lib/libpng-extra.so.16", "libpng16-1.6.39-1.x86_64"}});

    QCOMPARE(Scan({"app"}), QStringList({"Requirements: 2 packages found."}));
    QCOMPARE(d_stand_ins->Queries(), QStringList({"/lib/libz.so.1", "/lib/libc.so.6",
                                                  "/lib/libpng.so.16", "/lib/libpng-extra.so.16"}));
    QCOMPARE(d_stand_ins->Query_Runs(), 1);
    QCOMPARE(d_panel->Required_Packages(), QStringList({"zlib", "libpng16"}));
    QCOMPARE(Rows(d_panel->findChild<QTreeWidget*>()),
             QStringList({"libpng16 | /lib/libpng.so.16", " | /lib/libpng-extra.so.16",
                          "zlib | /lib/libz.so.1"}));
}

// The library after the unprovided one still brings its package.
void TRequiresWidgetTest::unprovidedLibraryDoesNotStopItsFile()
{
    Write_Listing("app", "a.so", {"/lib/libz.so.1", "/lib/libgone.so.2", "/lib/libpng.so.16"});
    d_stand_ins->Set_Providers({{"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"},
                                {"/lib/libpng.so.16", "libpng16-1.6.39-1.x86_64"}});

    QCOMPARE(Scan({"app"}), QStringList({"Requirements: 2 packages found. No installed package "
                                         "provides 1 library: /lib/libgone.so.2."}));
    QCOMPARE(d_panel->Scan_Problems(), QString());
    QCOMPARE(d_panel->Required_Packages(), QStringList({"zlib", "libpng16"}));

    d_stand_ins->Set_Providers({});
    QCOMPARE(Scan({"app"}),
             QStringList({"Requirements: 0 packages found. Incomplete: the RPM database of this "
                          "host knows none of the 3 libraries; requirements need an RPM-based "
                          "host or database."}));
}

void TRequiresWidgetTest::rejectedFilesDoNotStopTheScan()
{
    Write_Listing("app", "b.so", {"/lib/libz.so.1"});
    Test::Write_File(d_folder->filePath("shared/app/a-readme.txt"), "Read me first.\n");
    Test::Write_File(d_folder->filePath("shared/app/c-notes.txt"), "Notes.\n");
    d_stand_ins->Set_Providers({{"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"}});

    QCOMPARE(Scan({"app"}),
             QStringList({"Requirements: 1 package found. Incomplete: 2 files could not be "
                          "examined."}));
    QCOMPARE(d_panel->Required_Packages(), QStringList({"zlib"}));
}

void TRequiresWidgetTest::onlyNamedTargetFoldersAreScanned()
{
    Write_Listing("zeta", "z.so", {"/lib/libz.so.1"});
    Write_Listing("Alpha", "a.so", {"/lib/liba.so.1"});
    Write_Listing("other", "o.so", {"/lib/libo.so.1"});
    Write_Listing("Alpha/sub", "s.so", {"/lib/libs.so.1"});
    Write_Listing("zeta", ".hidden.so", {"/lib/libh.so.1"});
    d_stand_ins->Set_Providers({{"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"},
                                {"/lib/liba.so.1", "liba-1-1.x86_64"},
                                {"/lib/libo.so.1", "libo-1-1.x86_64"},
                                {"/lib/libs.so.1", "libs-1-1.x86_64"},
                                {"/lib/libh.so.1", "libh-1-1.x86_64"}});
    d_panel->Load_Defaults(d_folder->path());

    QCOMPARE(Scan({"zeta", "ALPHA", "Alpha", "absent"}),
             QStringList({"Requirements: 2 packages found. Incomplete: the target \"ALPHA\" has "
                          "no folder; the target \"absent\" has no folder."}));
    QCOMPARE(d_panel->Required_Packages(), QStringList({"liba", "zlib"}));

    d_panel->d_shared_libs_path = d_folder->filePath("nowhere");
    QSignalSpy status(d_panel.get(), &TRequiresWidget::Status_Message);
    d_panel->Refresh_Required_Packages({"zeta"});
    QVERIFY(d_panel->Wait_For_Scan());
    QCOMPARE(status.last().at(0).toString(),
             QString("Requirements: 0 packages found. Incomplete: the target \"zeta\" has no "
                     "folder."));
    QCOMPARE(d_panel->Required_Packages(), QStringList());
    QCOMPARE(d_panel->findChild<QTreeWidget*>()->topLevelItemCount(), 0);
}

void TRequiresWidgetTest::emptySharedLibsPathChangesNothing()
{
    Write_Listing("app", "a.so", {"/lib/libz.so.1"});
    d_stand_ins->Set_Providers({{"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"}});
    d_panel->Load_Defaults(d_folder->path());

    QSignalSpy status(d_panel.get(), &TRequiresWidget::Status_Message);
    d_panel->Refresh_Required_Packages({"app"});
    QCOMPARE(status.count(), 0);
    QCOMPARE(d_panel->Scan_Problems(), QString("no shared-libraries folder is set"));
    QCOMPARE(d_panel->Required_Packages(), QStringList({"libxcb-image0", "libxcb-image1"}));
    QCOMPARE(d_panel->findChild<QTreeWidget*>()->topLevelItemCount(), 2);
    QCOMPARE(d_stand_ins->Queries(), QStringList());
}

// One "rpm" run asks about every library, so when it hangs no library has
// an answer and every file with libraries counts as not examined.
void TRequiresWidgetTest::hangingProgramsEndTheScanWithTheFailureTold()
{
    Write_Listing("app", "a.so", {});
    Test::Write_File(d_folder->filePath("shared/app/a.so"), "#hang\n");
    Write_Listing("app", "b.so", {"/lib/libslow.so.1", "/lib/libz.so.1"});
    Write_Listing("app", "c.so", {"/lib/libz.so.1"});
    Write_Listing("app", "d.so", {});
    d_stand_ins->Set_Providers({{"/lib/libslow.so.1", "#hang"},
                                {"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"}});
    d_panel->Set_Wait_Limit(300);

    QElapsedTimer timer;
    timer.start();
    QCOMPARE(Scan({"app"}),
             QStringList({"Requirements: 0 packages found. Incomplete: \"ldd\" did not finish "
                          "in time; \"rpm\" did not finish in time; 3 files could not be "
                          "examined."}));
    QVERIFY2(timer.elapsed() < 10000, "a hanging program was waited for too long");
    QCOMPARE(d_panel->Required_Packages(), QStringList());
    QCOMPARE(d_stand_ins->Queries(), QStringList({"/lib/libslow.so.1"}));
}

void TRequiresWidgetTest::missingProgramsAreReported()
{
    Write_Listing("app", "a.so", {"/lib/libz.so.1"});
    Write_Listing("app", "b.so", {});
    d_stand_ins->Remove("rpm");

    QCOMPARE(Scan({"app"}),
             QStringList({"Requirements: 0 packages found. Incomplete: \"rpm\" could not be "
                          "started; 1 file could not be examined."}));

    d_stand_ins->Remove("ldd");
    QCOMPARE(Scan({"app"}),
             QStringList({"Requirements: 0 packages found. Incomplete: \"ldd\" could not be "
                          "started; 2 files could not be examined."}));
    QCOMPARE(d_panel->Scan_Problems(),
             QString("\"ldd\" could not be started; 2 files could not be examined"));
}

// A scan kept busy by a slow "ldd" runs beside the window: a timer due
// early in the scan fires while it runs, and sees its progress in the panel
// and the status bar.
void TRequiresWidgetTest::windowRespondsWhileItScans()
{
    Test::TFreshHome home;
    Write_Listing("app", "a.so", {"/lib/libz.so.1"});
    Test::Write_File(d_folder->filePath("shared/app/b.so"),
                     Test::Listing({"/lib/libpng.so.16"}, "#slow"));
    d_stand_ins->Set_Providers({{"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"},
                                {"/lib/libpng.so.16", "libpng16-1.6.39-1.x86_64"}});
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    auto* panel = window.findChild<TRequiresWidget*>();
    panel->d_shared_libs_path = d_folder->filePath("shared");
    const auto* progress = panel->findChild<QLabel*>();

    QStringList seen;
    QTimer::singleShot(1000, [&] {
        seen << (panel->Is_Scanning() ? "scanning" : "done") << progress->text()
             << window.statusBar()->currentMessage();
    });
    panel->Refresh_Required_Packages({"app"});
    QVERIFY(!panel->findChildren<QToolButton*>().at(1)->isEnabled());
    QVERIFY(panel->Wait_For_Scan());

    QCOMPARE(seen, QStringList({"scanning", "Scanning requirements: 1 of 2 files",
                                "Scanning requirements: 1 of 2 files"}));
    QCOMPARE(panel->Required_Packages(), QStringList({"zlib", "libpng16"}));
    QVERIFY(progress->isHidden());
    QVERIFY(panel->findChildren<QToolButton*>().at(1)->isEnabled());
    QCOMPARE(window.statusBar()->currentMessage(), QString("Requirements: 2 packages found."));
}

// The hanging "ldd" is ended with the scan, and the list kept is the one
// from before the scan.
void TRequiresWidgetTest::closingDuringAScanStopsIt()
{
    Test::TFreshHome home;
    QDir(d_folder->path()).mkpath("shared/app");
    Test::Write_File(d_folder->filePath("shared/app/a.so"), "#hang\n");
    QElapsedTimer timer;
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        auto* panel = window.findChild<TRequiresWidget*>();
        panel->d_shared_libs_path = d_folder->filePath("shared");
        panel->Refresh_Required_Packages({"app"});
        QTRY_COMPARE(d_stand_ins->Hanging_Listings().size(), 1);

        timer.start();
        window.close();
        QVERIFY(!panel->Is_Scanning());
        QCOMPARE(panel->Required_Packages(), QStringList({"libxcb-image0", "libxcb-image1"}));
    }
    QVERIFY2(timer.elapsed() < 10000, "closing waited for the hanging program");
    QCOMPARE(Test::Read_File(home.Data_Folder() + "/requires.xml"), Factory_File);
    QCOMPARE(kill(d_stand_ins->Hanging_Listings().at(0).toInt(), 0), -1);
}

void TRequiresWidgetTest::clearedListStaysEmptyAfterRestart()
{
    Test::TFreshHome home;
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        auto* panel = window.findChild<TRequiresWidget*>();
        QCOMPARE(panel->Required_Packages(), QStringList({"libxcb-image0", "libxcb-image1"}));
        panel->findChildren<QToolButton*>().at(0)->click();
        QCOMPARE(panel->Required_Packages(), QStringList());
        QCOMPARE(panel->findChild<QTreeWidget*>()->topLevelItemCount(), 0);
        window.close();
    }
    QCOMPARE(Test::Read_File(home.Data_Folder() + "/requires.xml"), Empty_File);

    TKestrelvantory window(nullptr, Qt::WindowFlags());
    auto* panel = window.findChild<TRequiresWidget*>();
    QCOMPARE(panel->Required_Packages(), QStringList());
    QCOMPARE(panel->findChild<QTreeWidget*>()->topLevelItemCount(), 0);
}

// Whatever targets the Libraries panel reports, none of them has a folder in
// the fresh home, so the rescan empties the list.
void TRequiresWidgetTest::refreshButtonRescansInTheEditor()
{
    Test::TFreshHome home;
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    auto* panel = window.findChild<TRequiresWidget*>();
    // The folder scanned is the one Options names.
    QCOMPARE(panel->d_shared_libs_path, window.findChild<TOptionsWidget*>()->Shared_Libs_Path());
    QCOMPARE(panel->Required_Packages().size(), 2);

    panel->findChildren<QToolButton*>().at(1)->click();
    QVERIFY(panel->Wait_For_Scan());
    QCOMPARE(panel->Required_Packages(), QStringList());
    QVERIFY(window.statusBar()->currentMessage().startsWith("Requirements: 0 packages found."));
}

QTEST_MAIN(TRequiresWidgetTest)
#include "tst_requireswidget.moc"
