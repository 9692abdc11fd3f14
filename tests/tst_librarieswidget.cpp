#include <QtTest>

#include <QDir>
#include <QHeaderView>
#include <QToolButton>
#include <QTreeWidget>

#include "librariespanel.h"
#include "librarieswidget.h"
#include "testsupport.h"

using namespace Test;

namespace
{
const QStringList Sorted_Targets = {"bearer",          "egldeviceintegrations",
                                    "generic",         "imageformats",
                                    "lib",             "platforminputcontexts",
                                    "platforms",       "platformthemes",
                                    "printsupport",    "sqldrivers",
                                    "styles",          "xcbglintegrations"};
const QStringList Factory_Checked_Targets = {"lib", "platforms", "xcbglintegrations"};
const QStringList Factory_Lib = {
    "libQt5Widgets.so.5.15.2",  "libQt5Gui.so.5.15.2",
    "libQt5Core.so.5.15.2",     "libQt5DBus.so.5.15.2",
    "libQt5XcbQpa.so.5.15.2",   "libQt5EglFSDeviceIntegration.so.5.15.2",
    "libQt5Concurrent.so.5.15.2", "libQt5EglFsKmsSupport.so.5.15.2",
    "libQt5Network.so.5.15.2",  "libQt5OpenGL.so.5.15.2",
    "libQt5PrintSupport.so.5.15.2", "libQt5SerialPort.so.5.15.2",
    "libQt5Sql.so.5.15.2",      "libQt5Xml.so.5.15.2"};

using TEditor = TLibrariesEditor;
}

class TLibrariesWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartShowsFactoryContents();
    void checkBoxesReachTheListsAtOnce();
    void queriesAnswerExactNames();
    void selectionsMarkTheListsUntilUpdate();
    void listEditsKeepOtherEntries();
    void selectionEnablesTheButtons();

    void restartKeepsTheUsersChecks();
    void restartKeepsLibrariesOfMissingTargets();
    void restartKeepsEmptyLists();
    void unreadableFileGivesFactoryContents();
};

void TLibrariesWidgetTest::firstStartShowsFactoryContents()
{
    Test::TFreshHome home;
    TEditor editor;

    QCOMPARE(editor.Targets->headerItem()->text(0), QString("Library and Plugin Directories"));
    QCOMPARE(Column(editor.Targets, 0), Sorted_Targets);
    QCOMPARE(Checked_Rows(editor.Targets, 0), Factory_Checked_Targets);
    QCOMPARE(editor.Panel->Target_Names().first(), QString("lib"));
    QCOMPARE(editor.Panel->Target_Names().size(), 12);

    QCOMPARE(editor.Libraries->columnCount(), 4);
    QCOMPARE(editor.Libraries->headerItem()->text(3), QString("Suggested Plugins"));
    QCOMPARE(editor.Libraries->topLevelItemCount(), 42);
    QCOMPARE(Checked_Rows(editor.Libraries, 2).size(), 42);
    QStringList sorted = Column(editor.Libraries, 0);
    std::sort(sorted.begin(), sorted.end());
    QCOMPARE(Column(editor.Libraries, 0), sorted);
    QCOMPARE(editor.Panel->Active_Libraries("lib"), Factory_Lib);
    QVERIFY(!Column(editor.Libraries, 0).contains("styles"));

    const QMap<QString, QString> suggested = {
        {"libQt5Gui.so.5.15.2", "platforms, platforminputcontexts"},
        {"libQt5XcbQpa.so.5.15.2", "xcbglintegrations"},
        {"libQt5OpenGL.so.5.15.2", "xcbglintegrations"},
        {"libQt5PrintSupport.so.5.15.2", "printsupport"},
        {"libQt5Network.so.5.15.2", "bearer"},
        {"libQt5Sql.so.5.15.2", "sqldrivers"}};
    for (int row = 0; row < editor.Libraries->topLevelItemCount(); ++row)
    {
        const QTreeWidgetItem* item = editor.Libraries->topLevelItem(row);
        const bool lib = item->text(0) == "lib";
        QCOMPARE(item->text(1), QString(lib ? "Dylib" : "Plugin"));
        QCOMPARE(item->text(3), suggested.value(item->text(2)));
        QCOMPARE(item->isDisabled(), !Factory_Checked_Targets.contains(item->text(0)));
    }

    QVERIFY(editor.Button("add_target")->isEnabled());
    QVERIFY(editor.Button("add_library")->isEnabled());
    QVERIFY(!editor.Button("remove_target")->isEnabled());
    QVERIFY(!editor.Button("remove_library")->isEnabled());
    QVERIFY(!editor.Button("edit_library")->isEnabled());
    QCOMPARE(editor.Button("edit_library")->size(), QSize(16, 16));
    QVERIFY(!editor.Button("edit_library")->icon().isNull());
}

void TLibrariesWidgetTest::checkBoxesReachTheListsAtOnce()
{
    Test::TFreshHome home;
    TEditor editor;
    QVERIFY(editor.Show());
    TLibrariesWidget* panel = editor.Panel;
    QCOMPARE(panel->Active_Targets(false), Factory_Checked_Targets);
    QCOMPARE(panel->Active_Targets(true), Factory_Checked_Targets);

    const QList<QTreeWidgetItem*> platforms = Rows_Of(editor.Libraries, "platforms");
    QCOMPARE(platforms.size(), 7);
    for (int row = 0; row < platforms.size(); ++row)
    {
        QVERIFY(panel->Has_Libraries("platforms"));
        if (row < 3)
            Click_Check_Box(editor.Libraries, platforms[row]);
        else
            Press_Space(editor.Libraries, platforms[row]);
        QCOMPARE(platforms[row]->checkState(0), Qt::Unchecked);
        QVERIFY(!panel->Library("platforms", platforms[row]->text(2)).Checked);
    }
    QVERIFY(!panel->Has_Libraries("platforms"));
    QCOMPARE(panel->Active_Targets(false), Factory_Checked_Targets);
    QCOMPARE(panel->Active_Targets(true), QStringList({"lib", "xcbglintegrations"}));

    // A target's check box greys or frees its library rows at once.
    Click_Check_Box(editor.Targets, Row(editor.Targets, "lib", 0));
    QCOMPARE(panel->Active_Targets(false), QStringList({"platforms", "xcbglintegrations"}));
    for (const QTreeWidgetItem* item : Rows_Of(editor.Libraries, "lib"))
        QVERIFY(item->isDisabled());
    Press_Space(editor.Targets, Row(editor.Targets, "styles", 0));
    Press_Space(editor.Targets, Row(editor.Targets, "bearer", 0));
    QCOMPARE(panel->Active_Targets(false),
             QStringList({"bearer", "platforms", "styles", "xcbglintegrations"}));
    for (const QTreeWidgetItem* item : Rows_Of(editor.Libraries, "bearer"))
        QVERIFY(!item->isDisabled());

    // A greyed row cannot be toggled.
    QTreeWidgetItem* gif = Row(editor.Libraries, "libqgif.so", 2);
    Click_Check_Box(editor.Libraries, gif);
    QCOMPARE(gif->checkState(0), Qt::Checked);

    // Rebuilding the trees from the lists shows what the user set.
    panel->Update();
    QCOMPARE(panel->Active_Targets(false),
             QStringList({"bearer", "platforms", "styles", "xcbglintegrations"}));
    QCOMPARE(panel->Active_Libraries("platforms"), QStringList());
    QCOMPARE(panel->Active_Libraries("bearer").size(), 3);
    QVERIFY(Rows_Of(editor.Libraries, "lib").first()->isDisabled());
    QVERIFY(!Rows_Of(editor.Libraries, "bearer").first()->isDisabled());
}

void TLibrariesWidgetTest::queriesAnswerExactNames()
{
    Test::TFreshHome home;
    TEditor editor;
    const TLibrariesWidget* panel = editor.Panel;

    QCOMPARE(panel->Active_Libraries("LIB"), QStringList());
    QCOMPARE(panel->Active_Libraries("styles"), QStringList());
    QCOMPARE(panel->Active_Libraries("xcbglintegrations"),
             QStringList({"libqxcb-egl-integration.so", "libqxcb-glx-integration.so"}));

    const TLibrariesWidget::TLibrary unknown = panel->Library("lib", "libQt5Gui.so");
    QCOMPARE(unknown.Target_Name, QString());
    QCOMPARE(unknown.Name, QString());
    QCOMPARE(unknown.Type, TTypes::Library_Dylib);
    QCOMPARE(unknown.Checked, false);
    QCOMPARE(panel->Library("LIB", "libQt5Gui.so.5.15.2").Name, QString());
    const TLibrariesWidget::TLibrary xcb = panel->Library("platforms", "libqxcb.so");
    QCOMPARE(xcb.Target_Name, QString("platforms"));
    QCOMPARE(xcb.Type, TTypes::Library_Plugin);
    QVERIFY(xcb.Checked);

    QVERIFY(panel->Target_Exists("styles"));
    QVERIFY(!panel->Target_Exists("Styles"));
    QVERIFY(panel->Library_Exists("lib", "libQt5Xml.so.5.15.2"));
    QVERIFY(!panel->Library_Exists("platforms", "libQt5Xml.so.5.15.2"));
    QVERIFY(!panel->Library_Exists("lib", "libQt5Xml.so"));
    QVERIFY(panel->Has_Libraries("bearer"));
    QVERIFY(!panel->Has_Libraries("styles"));
    QCOMPARE(panel->Library_Plugins("libQt5Gui.so.5.15.2"),
             QString("platforms, platforminputcontexts"));
}

void TLibrariesWidgetTest::selectionsMarkTheListsUntilUpdate()
{
    Test::TFreshHome home;
    TEditor editor;
    TLibrariesWidget* panel = editor.Panel;

    panel->Unselect_Targets();
    panel->Unselect_Libaries();
    panel->Select_Target("lib");
    panel->Select_Target("nothing");
    panel->Select_Library("lib", "libQt5");
    panel->Select_Library("platforms", "libqxcb.so.1");
    panel->Select_Library("LIB", "libQt5Core");
    QCOMPARE(panel->Active_Targets(false), QStringList({"lib"}));
    QCOMPARE(Checked_Rows(editor.Libraries, 2).size(), 42);

    panel->Update();
    QCOMPARE(panel->Active_Targets(false), QStringList({"lib"}));
    QCOMPARE(Checked_Rows(editor.Libraries, 2), QStringList({"libQt5Widgets.so.5.15.2"}));
    QVERIFY(Row(editor.Libraries, "libqxcb.so", 2)->isDisabled());

    panel->Select_Library("lib", "libQt5Core.so");
    panel->Select_Target("platforms");
    panel->Select_Library("platforms", "libqxcb.so");
    panel->Update();
    QCOMPARE(panel->Active_Libraries("lib"),
             QStringList({"libQt5Widgets.so.5.15.2", "libQt5Core.so.5.15.2"}));
    QCOMPARE(panel->Active_Targets(true), QStringList({"lib", "platforms"}));
    QVERIFY(!Row(editor.Libraries, "libqxcb.so", 2)->isDisabled());
}

void TLibrariesWidgetTest::listEditsKeepOtherEntries()
{
    QTemporaryDir folder;
    Test::Write_File(folder.filePath("libraries.xml"),
                     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<Library_Data File_Version=\"1\"><Targets>"
                     "<Target><Name>lib</Name><Checked>Yes</Checked></Target>"
                     "<Target><Name>sub</Name><Checked>Yes</Checked></Target>"
                     "<Target><Name>lib</Name><Checked>No</Checked></Target>"
                     "</Targets><Libraries>"
                     "<Library><Target_Name>lib</Target_Name><Name>liba.so.1</Name>"
                     "<Type>DYLIB</Type><Checked>Yes</Checked></Library>"
                     "<Library><Target_Name>sub</Target_Name><Name>liba.so.1</Name>"
                     "<Type>DYLIB</Type><Checked>Yes</Checked></Library>"
                     "<Library><Target_Name>lib</Target_Name><Name>liba.so.1</Name>"
                     "<Type>PLUGIN</Type><Checked>No</Checked></Library>"
                     "</Libraries></Library_Data>\n");
    TLibrariesWidget panel(nullptr, Qt::WindowFlags());
    QVERIFY(panel.Load_Defaults(folder.path()));
    QCOMPARE(panel.Target_Names(), QStringList({"lib", "sub", "lib"}));

    panel.Target_Remove("lib");
    QCOMPARE(panel.Target_Names(), QStringList({"sub", "lib"}));
    QCOMPARE(panel.Active_Targets(false), QStringList({"sub"}));
    panel.Update();
    QCOMPARE(panel.Active_Targets(false), QStringList({"sub"}));

    panel.Library_Remove("lib", "liba.so.1");
    QVERIFY(panel.Library_Exists("lib", "liba.so.1"));
    QCOMPARE(panel.Library("lib", "liba.so.1").Type, TTypes::Library_Plugin);

    panel.Library_Rename("liba.so.1", "liba.so.2");
    QVERIFY(!panel.Library_Exists("sub", "liba.so.1"));
    QVERIFY(panel.Library_Exists("sub", "liba.so.2"));
    QVERIFY(panel.Library_Exists("lib", "liba.so.2"));
    QCOMPARE(panel.Active_Libraries("sub"), QStringList({"liba.so.2"}));
}

void TLibrariesWidgetTest::selectionEnablesTheButtons()
{
    Test::TFreshHome home;
    TEditor editor;
    QToolButton* remove_target = editor.Button("remove_target");
    QToolButton* remove_library = editor.Button("remove_library");
    QToolButton* edit_library = editor.Button("edit_library");

    editor.Targets->topLevelItem(2)->setSelected(true);
    QVERIFY(remove_target->isEnabled());
    editor.Targets->clearSelection();
    QVERIFY(!remove_target->isEnabled());

    QCOMPARE(editor.Libraries->selectionMode(), QAbstractItemView::ExtendedSelection);
    Rows_Of(editor.Libraries, "lib")[0]->setSelected(true);
    Rows_Of(editor.Libraries, "lib")[1]->setSelected(true);
    QVERIFY(remove_library->isEnabled());
    QVERIFY(edit_library->isEnabled());
    editor.Libraries->clearSelection();
    QVERIFY(!remove_library->isEnabled());
    QVERIFY(!edit_library->isEnabled());
    QVERIFY(!remove_target->isEnabled());
}

void TLibrariesWidgetTest::restartKeepsTheUsersChecks()
{
    Test::TFreshHome home;
    {
        TEditor editor;
        QVERIFY(editor.Show());
        Click_Check_Box(editor.Targets, Row(editor.Targets, "lib", 0));
        Press_Space(editor.Targets, Row(editor.Targets, "styles", 0));
        Click_Check_Box(editor.Targets, Row(editor.Targets, "imageformats", 0));
        Click_Check_Box(editor.Libraries, Row(editor.Libraries, "libqjpeg.so", 2));
        Press_Space(editor.Libraries, Row(editor.Libraries, "libqico.so", 2));
        editor.Window.close();
    }

    const QByteArray saved = Test::Read_File(home.Data_Folder() + "/libraries.xml");
    QVERIFY(saved.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                             "<Library_Data File_Version=\"1\">\n"
                             "    <Targets>\n"
                             "        <Target>\n"
                             "            <Name>bearer</Name>\n"
                             "            <Checked>No</Checked>\n"
                             "        </Target>\n"));
    QVERIFY(saved.contains("    <Libraries>\n"
                           "        <Library>\n"
                           "            <Target_Name>bearer</Target_Name>\n"
                           "            <Name>libqconnmanbearer.so</Name>\n"
                           "            <Type>PLUGIN</Type>\n"
                           "            <Checked>Yes</Checked>\n"
                           "        </Library>\n"));
    QCOMPARE(Element_Texts(saved, "Name").mid(0, 12), Sorted_Targets);
    const QStringList saved_targets = Element_Texts(saved, "Target_Name");
    QCOMPARE(saved_targets.size(), 42);
    QVERIFY(std::is_sorted(saved_targets.begin(), saved_targets.end()));

    TEditor editor;
    QCOMPARE(editor.Panel->Active_Targets(false),
             QStringList({"imageformats", "platforms", "styles", "xcbglintegrations"}));
    QCOMPARE(editor.Panel->Active_Targets(true),
             QStringList({"imageformats", "platforms", "xcbglintegrations"}));
    QCOMPARE(editor.Panel->Active_Libraries("imageformats"), QStringList({"libqgif.so"}));
    QCOMPARE(editor.Panel->Active_Libraries("lib"), Factory_Lib);
    QVERIFY(Rows_Of(editor.Libraries, "lib").first()->isDisabled());
    QVERIFY(!Row(editor.Libraries, "libqico.so", 2)->isDisabled());
    QCOMPARE(Row(editor.Libraries, "libQt5Gui.so.5.15.2", 2)->text(3),
             QString("platforms, platforminputcontexts"));
}

void TLibrariesWidgetTest::restartKeepsLibrariesOfMissingTargets()
{
    Test::TFreshHome home;
    QVERIFY(QDir().mkpath(home.Data_Folder()));
    Test::Write_File(home.Data_Folder() + "/libraries.xml",
                     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<Library_Data File_Version=\"1\"><Targets>"
                     "<Target><Checked>Yes</Checked><Name>lib</Name></Target>"
                     "</Targets><Libraries>"
                     "<Library><Target_Name>lib</Target_Name><Name>libQt5Gui.so.5</Name>"
                     "<Type>dylib</Type><Checked>yes</Checked></Library>"
                     "<Library><Target_Name>ghost</Target_Name><Name>libghost.so.1</Name>"
                     "<Type>DYLIB</Type><Checked>Yes</Checked></Library>"
                     "</Libraries></Library_Data>\n");
    for (int start = 0; start < 2; ++start)
    {
        TEditor editor;
        QCOMPARE(Column(editor.Targets, 0), QStringList({"lib"}));
        QCOMPARE(Column(editor.Libraries, 0), QStringList({"ghost", "lib"}));
        const QTreeWidgetItem* ghost = Row(editor.Libraries, "ghost", 0);
        QVERIFY(ghost->isDisabled());
        QCOMPARE(ghost->checkState(0), Qt::Checked);
        QCOMPARE(ghost->text(3), QString());
        const QTreeWidgetItem* gui = Row(editor.Libraries, "lib", 0);
        QVERIFY(!gui->isDisabled());
        QCOMPARE(gui->checkState(0), Qt::Unchecked);
        QCOMPARE(gui->text(1), QString("Plugin"));
        QCOMPARE(gui->text(3), QString());
        QCOMPARE(editor.Panel->Active_Targets(false), QStringList({"lib"}));
        QCOMPARE(editor.Panel->Active_Targets(true), QStringList());
        editor.Window.close();
    }
}

void TLibrariesWidgetTest::restartKeepsEmptyLists()
{
    Test::TFreshHome home;
    {
        TEditor editor;
        for (const QString& target : editor.Panel->Target_Names())
            editor.Panel->Target_Remove(target);
        editor.Panel->Update();
        editor.Window.close();
    }
    {
        TEditor editor;
        QCOMPARE(editor.Targets->topLevelItemCount(), 0);
        QCOMPARE(editor.Libraries->topLevelItemCount(), 42);
        QVERIFY(Rows_Of(editor.Libraries, "lib").first()->isDisabled());
        for (int row = editor.Libraries->topLevelItemCount() - 1; row >= 0; --row)
        {
            const QTreeWidgetItem* item = editor.Libraries->topLevelItem(row);
            editor.Panel->Library_Remove(item->text(0), item->text(2));
        }
        editor.Panel->Update();
        editor.Window.close();
    }
    QVERIFY(Test::Read_File(home.Data_Folder() + "/libraries.xml")
                .endsWith("<Library_Data File_Version=\"1\">\n"
                          "    <Targets/>\n"
                          "    <Libraries/>\n"
                          "</Library_Data>\n"));
    TEditor editor;
    QCOMPARE(editor.Targets->topLevelItemCount(), 0);
    QCOMPARE(editor.Libraries->topLevelItemCount(), 0);
    QCOMPARE(editor.Panel->Active_Targets(false), QStringList());
}

void TLibrariesWidgetTest::unreadableFileGivesFactoryContents()
{
    QTemporaryDir folder;
    TLibrariesWidget panel(nullptr, Qt::WindowFlags());
    QVERIFY(!panel.Load_Defaults(folder.path()));
    QCOMPARE(panel.Target_Names().size(), 12);

    const QList<QByteArray> broken = {
        "<Library_Data File_Version=\"2\"><Targets/><Libraries/></Library_Data>",
        "<Library_Data File_Version=\"1\"><Targets/></Library_Data>",
        "<Library_Data File_Version=\"1\"><Targets><Target><Name>only</Name>"
        "<Checked>Yes</Checked></Target><Target><Name>x</Name></Target></Targets>"
        "<Libraries/></Library_Data>",
        "<Options File_Version=\"1\"><Targets/><Libraries/></Options>",
        "<Library_Data File_Version=\"1\"><Targets>"};
    for (const QByteArray& document : broken)
    {
        Test::Write_File(folder.filePath("libraries.xml"), document);
        QVERIFY(!panel.Load_Defaults(folder.path()));
        QCOMPARE(Column(panel.findChild<QTreeWidget*>("target_tree"), 0), Sorted_Targets);
        QCOMPARE(panel.findChild<QTreeWidget*>("library_tree")->topLevelItemCount(), 42);
        QCOMPARE(panel.Active_Targets(false), Factory_Checked_Targets);
    }
}

QTEST_MAIN(TLibrariesWidgetTest)
#include "tst_librarieswidget.moc"
