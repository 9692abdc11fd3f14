#include <QAction>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QtTest>

#include "kestrelvantory.h"
#include "messagearea.h"
#include "messagebox.h"
#include "optionswidget.h"
#include "requireswidget.h"
#include "smallfilesystem.h"
#include "testsupport.h"

#include <sys/stat.h>

namespace
{
QAction* Action(const QWidget& window, const QString& text)
{
    for (QAction* action : window.findChildren<QAction*>())
        if (action->text() == text)
            return action;
    return nullptr;
}

QStringList Texts(const QList<QAction*>& actions)
{
    QStringList texts;
    for (const QAction* action : actions)
        texts << (action->isSeparator() ? QString("|") : action->text());
    return texts;
}

void Store_Settings(const QString& data_folder, const QVariantMap& values)
{
    QDir().mkpath(data_folder);
    QSettings settings(data_folder + "/settings.ini", QSettings::IniFormat);
    for (auto value = values.cbegin(); value != values.cend(); ++value)
        settings.setValue(value.key(), value.value());
}

QRect Available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}
}

class TMainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartMakesTheDataFolderAndStoresSettingsAtClose();
    void firstStartShowsTheWayOnce();
    void storedGeometryIsRestoredOnlyWhenVisible();
    void storedPathsReachThePanelsAndComeBack();
    void quitAndWindowManagerCloseRunTheSameSequence();
    void windowHasItsTabsMenusAndToolBar();
    void aboutBoxShowsTitleAndVersion();
    void unusableDataFolderFallsBackAndSaysSo();
    void refusedDefaultsFileIsKeptAndTold();
    void closeTellsWhatCouldNotBeStored();
    void closeOnAFullDiskKeepsTheStoredFiles();
    void staleTemporaryFilesAreRemovedAtStart();
};

void TMainWindowTest::firstStartMakesTheDataFolderAndStoresSettingsAtClose()
{
    Test::TFreshHome home;
    QVERIFY(!QFileInfo::exists(home.Data_Folder()));
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        QVERIFY(QFileInfo(home.Data_Folder()).isDir());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(QRect(window.pos(), window.size()), QRect(30, 30, 1000, 800).intersected(Available()));
        QVERIFY(window.statusBar()->currentMessage().isEmpty());
        QVERIFY(window.close());
    }
    QSettings settings(home.Data_Folder() + "/settings.ini", QSettings::IniFormat);
    QCOMPARE(settings.allKeys().size(), 6);
    QCOMPARE(settings.value("Mainwindow_Position").toPoint(), QPoint(30, 30));
    QCOMPARE(settings.value("Mainwindow_Size").toSize(),
             QRect(30, 30, 1000, 800).intersected(Available()).size());
    QCOMPARE(settings.value("Working_Path").toString(), home.Path());
    // A folder of its own, the one the spec takes the libraries from.
    QCOMPARE(settings.value("Shared_Libs_Path").toString(), home.Path() + "/rpmbuild/shared_libs");
    QVERIFY(settings.contains("Packager"));
    QCOMPARE(settings.value("Getting_Started_Shown").toBool(), true);
}

// The Getting Started page opens by itself on the first start only, over the
// window, and its buttons start the first and the last step.
void TMainWindowTest::firstStartShowsTheWayOnce()
{
    Test::TFreshHome home;
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QDialog* page = nullptr;
        QTRY_VERIFY((page = window.findChild<QDialog*>("getting_started")) != nullptr &&
                    page->isVisible());
        QVERIFY(window.frameGeometry().contains(page->frameGeometry().center()));
        for (const char* step : {"Detect from Program", "Describe the package", "Build Package"})
            QVERIFY(page->findChild<QLabel*>()->text().contains(step));
        QPushButton* build = nullptr;
        for (QPushButton* button : page->findChildren<QPushButton*>())
            if (button->text() == "Build Package")
                build = button;
        QVERIFY(build != nullptr);
        build->click();
        QVERIFY(window.findChild<QDialog*>("build_package") != nullptr);
        window.close();
    }
    TKestrelvantory again(nullptr, Qt::WindowFlags());
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTest::qWait(50);
    QVERIFY(again.findChild<QDialog*>("getting_started") == nullptr);
    Action(again, "Getting Started")->trigger();
    QVERIFY(again.findChild<QDialog*>("getting_started")->isVisible());
}

void TMainWindowTest::storedGeometryIsRestoredOnlyWhenVisible()
{
    const QRect screen = Available();
    QVERIFY2(screen.width() >= 600 && screen.height() >= 600,
             "the screen is too small for this test");
    {
        Test::TFreshHome home;
        Store_Settings(home.Data_Folder(), {{"Mainwindow_Position", QPoint(5000, 5000)},
                                            {"Mainwindow_Size", QSize(900, 700)}});
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        QCOMPARE(window.pos(), QPoint(30, 30));
        QCOMPARE(window.size(), QSize(1000, 800));
    }
    {
        // Only the top-right 600 x 600 of the stored rectangle lies on the screen.
        Test::TFreshHome home;
        const QPoint corner(screen.right() - 599, screen.top());
        Store_Settings(home.Data_Folder(), {{"Mainwindow_Position", corner - QPoint(0, 400)},
                                            {"Mainwindow_Size", QSize(1000, 1000)}});
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        QCOMPARE(QRect(window.pos(), window.size()), QRect(corner, QSize(600, 600)));
    }
}

void TMainWindowTest::storedPathsReachThePanelsAndComeBack()
{
    Test::TFreshHome home;
    Store_Settings(home.Data_Folder(),
                   {{"Working_Path", "/srv/projects"}, {"Shared_Libs_Path", "/opt/app/libs"}});
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        auto* requires_widget = window.findChild<TRequiresWidget*>();
        QCOMPARE(requires_widget->d_shared_libs_path, QString("/opt/app/libs"));

        emit window.findChild<TOptionsWidget*>()->Shared_Libs_Path_Changed("/opt/other");
        QCOMPARE(requires_widget->d_shared_libs_path, QString("/opt/other"));
        window.close();
    }
    QSettings settings(home.Data_Folder() + "/settings.ini", QSettings::IniFormat);
    QCOMPARE(settings.value("Working_Path").toString(), QString("/srv/projects"));
    QCOMPARE(settings.value("Shared_Libs_Path").toString(), QString("/opt/other"));
}

void TMainWindowTest::quitAndWindowManagerCloseRunTheSameSequence()
{
    QByteArray by_quit;
    QByteArray by_window_manager;
    for (const bool quit : {true, false})
    {
        Test::TFreshHome home;
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        if (quit)
        {
            Action(window, "Quit")->trigger();
        }
        else
        {
            QCloseEvent event;
            QApplication::sendEvent(&window, &event);
            QVERIFY(event.isAccepted());
            window.hide();
        }
        QVERIFY(!window.isVisible());
        (quit ? by_quit : by_window_manager) =
            Test::Read_File(home.Data_Folder() + "/settings.ini")
                .replace(home.Path().toUtf8(), "HOME");
    }
    QVERIFY(by_quit.contains("Mainwindow_Position"));
    QCOMPARE(by_window_manager, by_quit);
}

void TMainWindowTest::windowHasItsTabsMenusAndToolBar()
{
    Test::TFreshHome home;
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    QCOMPARE(window.windowTitle(), QString("Kestrelvantory"));

    auto* tabs = window.findChild<QTabWidget*>();
    QStringList titles;
    for (int i = 0; i < tabs->count(); ++i)
        titles << tabs->tabText(i);
    QCOMPARE(titles, QStringList({"Variables", "Expressions", "Libraries", "Requires", "Change Log",
                                  "Options"}));
    QCOMPARE(tabs->currentIndex(), 0);

    const QList<QAction*> menus = window.menuBar()->actions();
    QCOMPARE(Texts(menus), QStringList({"File", "Help"}));
    QCOMPARE(Texts(menus[0]->menu()->actions()),
             QStringList({"Create", "Preview", "Detect from Program...", "Build Package", "|",
                          "Open", "Save", "|", "Quit"}));
    QCOMPARE(Texts(menus[1]->menu()->actions()), QStringList({"Getting Started", "About"}));

    // The tool bar leads with the three steps, named and told.
    auto* tool_bar = window.findChild<QToolBar*>();
    QCOMPARE(tool_bar->iconSize(), QSize(32, 32));
    QCOMPARE(tool_bar->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
    QCOMPARE(window.toolBarArea(tool_bar), Qt::TopToolBarArea);
    QCOMPARE(Texts(tool_bar->actions()),
             QStringList({"Detect from Program...", "Preview", "Build Package", "|", "Create",
                          "Open", "Save", "|", "About"}));
    QStringList steps;
    for (QAction* action : tool_bar->actions().mid(0, 3))
        steps << action->iconText() + ": " + action->toolTip().section(' ', 0, 1);
    QCOMPARE(steps, QStringList({"1. Detect: Step 1:", "2. Preview: Step 2:",
                                 "3. Build Package: Step 3:"}));

    for (const char* text :
         {"Create", "Preview", "Detect from Program...", "Build Package", "Open", "Save", "About"})
        QVERIFY2(!Action(window, text)->icon().isNull(), text);
    QVERIFY(Action(window, "Quit")->icon().isNull());
    QCOMPARE(Action(window, "Create")->shortcut(), QKeySequence("Ctrl+E"));
    QCOMPARE(Action(window, "Open")->shortcut(), QKeySequence(QKeySequence::Open));
    QCOMPARE(Action(window, "Save")->shortcut(), QKeySequence(QKeySequence::Save));
    QCOMPARE(Action(window, "Quit")->shortcut(), QKeySequence(QKeySequence::Quit));
}

void TMainWindowTest::aboutBoxShowsTitleAndVersion()
{
    Test::TFreshHome home;
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* box = window.findChild<TMessageBox*>();
    QVERIFY(box);

    for (int showing = 0; showing < 2; ++showing)
    {
        bool seen = false;
        QTimer::singleShot(0, box, [box, &seen]() {
            seen = box->isVisible();
            QCOMPARE(box->width(), 500);
            QVERIFY(box->text().contains("font-weight:600"));
            QVERIFY(box->text().contains(">Kestrelvantory</span>"));
            QVERIFY(box->informativeText().contains("font-weight:400"));
            QVERIFY(box->informativeText().contains(">Kestrelvantory - Version 1.0</span>"));
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            QCOMPARE(box->icon(), QMessageBox::Information);
            QVERIFY(box->detailedText().isEmpty());
            box->Send_Key(Qt::Key_Return);
        });
        Action(window, "About")->trigger();
        QVERIFY(seen);
        QVERIFY(!box->isVisible());
    }
}

void TMainWindowTest::unusableDataFolderFallsBackAndSaysSo()
{
    Test::TFreshHome home;
    Test::Write_File(home.Data_Folder(), "a file where the folder should be");
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        const QString message = window.statusBar()->currentMessage();
        QVERIFY2(message.contains(home.Data_Folder()), qPrintable(message));
        QVERIFY2(message.contains(home.Path() + "/.config/kestrelvantory"), qPrintable(message));
        window.move(40, 50);
        window.close();
    }
    QCOMPARE(Test::Read_File(home.Data_Folder()), QByteArray("a file where the folder should be"));
    QVERIFY(QFileInfo::exists(home.Path() + "/.config/kestrelvantory/settings.ini"));

    // The next start finds the settings kept there.
    TKestrelvantory again(nullptr, Qt::WindowFlags());
    QCOMPARE(again.pos(), QPoint(40, 50));
}

// A refused file is replaced by the factory contents at close; the user's
// data stays in a copy, and the status bar says so.
void TMainWindowTest::refusedDefaultsFileIsKeptAndTold()
{
    Test::TFreshHome home;
    const QByteArray refused = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                               "<Expression_Data File_Version=\"2\"><Build_Path>x</Build_Path>"
                               "</Expression_Data>\n";
    QDir().mkpath(home.Data_Folder());
    Test::Write_File(home.Data_Folder() + "/expressions.xml", refused);
    Test::Write_File(home.Data_Folder() + "/changes.xml", "not XML at all");
    // Nesting that would overflow the parser's stack.
    Test::Write_File(home.Data_Folder() + "/libraries.xml",
                     "<Library_Data File_Version=\"1\">" + QByteArray("<a>").repeated(50000));
    // Copying a named pipe would wait for ever.
    QVERIFY(mkfifo(QFile::encodeName(home.Data_Folder() + "/options.xml").constData(), 0600) == 0);
    {
        // Every file is listed with the reason it was refused, in full.
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        QCOMPARE(window.statusBar()->currentMessage(),
                 QString("4 stored panel files in \"%1\" could not be read, so their tabs start "
                         "from the factory contents: (listed under Messages)")
                     .arg(home.Data_Folder()));
        const QStringList listed = window.findChild<TMessageArea*>()->Text().split('\n');
        QCOMPARE(listed.size(), 5);
        const QStringList expected = {
            "\"expressions.xml\" \\(kept as \"[^\"]+\"\\): Expression datafile version not "
            "recognized\\.",
            "\"libraries.xml\" \\(kept as \"[^\"]+\"\\): .+\\.",
            "\"changes.xml\" \\(kept as \"[^\"]+\"\\): It is not readable XML \\(line 1, column 1\\): "
            ".+\\.",
            "\"options.xml\" \\(no copy could be kept\\): .+\\."};
        for (int line = 1; line < listed.size(); ++line)
        {
            QVERIFY2(QRegularExpression("^ +" + expected[line - 1] + "$").match(listed[line]).hasMatch(),
                     qPrintable(listed[line]));
            QVERIFY2(!listed[line].contains("ERR"), qPrintable(listed[line]));
        }
        QVERIFY(window.findChild<TMessageArea*>()->isVisibleTo(&window));
        window.close();
    }
    const QStringList copies =
        QDir(home.Data_Folder()).entryList({"expressions.xml.*.refused"}, QDir::Files);
    QCOMPARE(copies.size(), 1);
    QCOMPARE(Test::Read_File(home.Data_Folder() + "/" + copies.first()), refused);
    QVERIFY(Test::Read_File(home.Data_Folder() + "/expressions.xml") != refused);

    // The next start reads the factory contents stored at close and keeps nothing more.
    TKestrelvantory again(nullptr, Qt::WindowFlags());
    QVERIFY(again.statusBar()->currentMessage().isEmpty());
}

void TMainWindowTest::closeTellsWhatCouldNotBeStored()
{
    Test::TFreshHome home;
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        window.close();
    }
    const QByteArray stored = Test::Read_File(home.Data_Folder() + "/variables.xml");
    // The unprivileged user may read the data folder but not write in it.
    ::chmod(QFile::encodeName(home.Path()).constData(), 0755);
    ::chmod(QFile::encodeName(home.Data_Folder()).constData(), 0555);

    TKestrelvantory window(nullptr, Qt::WindowFlags());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto* box = window.findChild<TMessageBox*>();
    QString told;
    QTimer::singleShot(0, box, [box, &told]() {
        told = box->informativeText();
        QCOMPARE(box->icon(), QMessageBox::Warning);
        box->Send_Key(Qt::Key_Return);
    });
    {
        Test::TUnprivileged unprivileged;
        QVERIFY(window.close());
    }
    QVERIFY2(told.contains("Variables, Expressions, Libraries, Requires, Change Log, Options, "
                           "window settings"),
             qPrintable(told));
    QVERIFY(!window.isVisible());
    QCOMPARE(Test::Read_File(home.Data_Folder() + "/variables.xml"), stored);
    ::chmod(QFile::encodeName(home.Data_Folder()).constData(), 0755);
}

// Every file stored before stays whole, also the small ones that the disk
// would have taken only part of, and the user is told why.
void TMainWindowTest::closeOnAFullDiskKeepsTheStoredFiles()
{
    Test::TFreshHome home;
    QDir().mkpath(home.Data_Folder());
    Test::TSmallFileSystem disk(home.Data_Folder(), 256);
    if (!disk.Is_Mounted())
        QSKIP(qPrintable(disk.Why_Not()));
    {
        // Shown once, so that the first start's page is behind us.
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.close();
    }
    const QStringList names = QDir(home.Data_Folder()).entryList(QDir::Files);
    QCOMPARE(names.size(), 7);
    QMap<QString, QByteArray> stored;
    for (const QString& name : names)
        stored[name] = Test::Read_File(home.Data_Folder() + "/" + name);

    TKestrelvantory window(nullptr, Qt::WindowFlags());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.move(60, 70);
    auto* box = window.findChild<TMessageBox*>();
    QString told;
    QString details;
    QTimer::singleShot(0, box, [box, &told, &details]() {
        told = box->informativeText();
        details = box->detailedText();
        box->Send_Key(Qt::Key_Return);
    });
    disk.Fill();
    QVERIFY(window.close());
    disk.Unfill();

    QVERIFY2(told.contains("Variables, Expressions, Libraries, Requires, Change Log, Options, "
                           "window settings"),
             qPrintable(told));
    QCOMPARE(details.count("could not be written: No space left on device"), 7);
    QVERIFY(!details.contains("ERR"));
    QCOMPARE(QDir(home.Data_Folder()).entryList(QDir::Files), names);
    for (const QString& name : names)
        QVERIFY2(Test::Read_File(home.Data_Folder() + "/" + name) == stored[name], qPrintable(name));
}

// Only what a killed save leaves: a data file's name, a dot and six letters
// or digits, untouched for a minute.
void TMainWindowTest::staleTemporaryFilesAreRemovedAtStart()
{
    Test::TFreshHome home;
    QDir().mkpath(home.Data_Folder());
    const QStringList stale = {"changes.xml.gXIvHj", "settings.ini.A1b2C3",
                               "alternate_variables.xml.x0x0x0"};
    const QStringList kept = {"changes.xml.abc",       "changes.xml.1234567",
                              "notes.txt.gXIvHj",      "changes.xml.gXIvHj.refused",
                              "changes.xml.20260101-120000.refused", "libraries.xml.Recent"};
    for (const QString& name : stale + kept)
    {
        QFile file(home.Data_Folder() + "/" + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("partial");
        file.flush();
        if (name != "libraries.xml.Recent")
            QVERIFY(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600),
                                     QFileDevice::FileModificationTime));
    }
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    QStringList expected = kept;
    expected.sort();
    QCOMPARE(QDir(home.Data_Folder()).entryList(QDir::Files), expected);
}

QTEST_MAIN(TMainWindowTest)
#include "tst_mainwindow.moc"
