#include <QAction>
#include <QStatusBar>
#include <QTextCodec>
#include <QTreeWidget>
#include <QtTest>

#include <memory>
#include <sys/stat.h>

#include "changelogwidget.h"
#include "kestrelvantory.h"
#include "librarieswidget.h"
#include "state/editorstate.h"
#include "testsupport.h"
#include "variableswidget.h"

namespace
{
const QByteArray Example =
    "Kestrelvantory:Version=1:Type=Spec_Data\n\n"
    "Variables_Begin:\n"
    "[Name]:%define name[Value]:program_name\n"
    "[Name]:%define version[Value]:1.0\n"
    "[Name]:Name:[Value]:%{name}\n"
    "Variables_End:\n\n"
    "Active_Targets_Begin:\nlib\nplatforms\nActive_Targets_End:\n\n"
    "Active_Libraries_Begin:\n"
    "[Target]:lib\n[Dylib]:libQt5Gui.so\n[Dylib]:libQt5Core.so\n"
    "[Target]:platforms\n[Plugin]:libqxcb.so\n"
    "Active_Libraries_End:\n\n"
    "Description_Begin:\nDescription of the program\nDescription_End:\n\n"
    "ChangeLog_Begin:\n"
    "# Newest revisions added to the top; oldest revisions at the bottom.\n"
    "* Sun Nov 6 2016 <author name>\n"
    "- Initial RPM release\n"
    "ChangeLog_End:\n";

// The real main window on a fresh data folder, with its panels at hand.
struct TEditor
{
    TEditor()
        : Window(new TKestrelvantory(nullptr, Qt::WindowFlags())),
          Variables(Window->findChild<TVariablesWidget*>()),
          Libraries(Window->findChild<TLibrariesWidget*>()),
          Change_Log(Window->findChild<TChangeLogWidget*>())
    {
    }

    void Trigger(const QString& text)
    {
        for (QAction* action : Window->findChildren<QAction*>())
            if (action->text() == text)
                action->trigger();
    }

    QString Status() const { return Window->statusBar()->currentMessage(); }

    void Set_Variables(const std::vector<TSpecVariable>& variables)
    {
        Variables->Clear_Variables();
        for (const TSpecVariable& variable : variables)
            Variables->Add_Variable(variable);
        Variables->Update_Table();
    }

    void Set_Description(const QStringList& lines)
    {
        Variables->Clear_Description();
        for (const QString& line : lines)
            Variables->Add_Description_Line(line);
    }

    void Activate(const QStringList& targets, const QStringList& libraries)
    {
        Libraries->Unselect_Targets();
        Libraries->Unselect_Libaries();
        for (const QString& target : targets)
            Libraries->Select_Target(target);
        for (const QString& library : libraries)
            Libraries->Select_Library(library.section('/', 0, 0), library.section('/', 1));
        Libraries->Update();
    }

    // Everything a project file holds, as one comparable text.
    QString State() const
    {
        QStringList state;
        Variables->Update_Variables();
        for (int index = 0; index < Variables->Variable_Count(); ++index)
            state << Variables->Variable(index).Name + "=" + Variables->Variable(index).Value;
        for (const QString& target : Libraries->Active_Targets(false))
            state << "target " + target + ": " + Libraries->Active_Libraries(target).join(" ");
        state << "description: " + Variables->Description();
        state << "changes: " + Change_Log->Changes();
        const TDetectionChoices& choices = Libraries->Detection_Choices();
        state << "choices: " + (choices.With_Plugins + choices.Without_Plugins +
                                choices.With_Libraries).join(" ");
        return state.join("\n");
    }

    Test::TFreshHome Home;
    std::unique_ptr<TKestrelvantory> Window;
    TVariablesWidget* Variables;
    TLibrariesWidget* Libraries;
    TChangeLogWidget* Change_Log;
};

// Opens `bytes` as a project file in `editor`.
void Open(TEditor& editor, const QByteArray& bytes)
{
    const QString path = editor.Home.Path() + "/opened.spec_data";
    Test::Write_File(path, bytes);
    Test::TDialogAnswers answers({path});
    editor.Trigger("Open");
}
}

class TProjectFileTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void savedProjectReopensExactly();
    void qmlModulesAndSourcesTravelWithTheProject();
    void exampleProjectIsWrittenByteForByte();
    void savedProjectIsTheStoredStatesProject();
    void libraryIsFoundAgainAfterItsVersionChanged();
    void emptyOrCommentOnlyFileChangesNothing();
    void rejectedFileChangesNoPanel_data();
    void rejectedFileChangesNoPanel();
    void linesAreReadByTheirBeginning();
    void emptySectionsClearTheirPanels();
    void saveDialogAddsTheSuffixAndRemembersTheFolder();
    void failedSaveIsToldAndKeepsTheEarlierFile();
};

void TProjectFileTest::initTestCase()
{
    // Behave like a build host in the C locale, where a reader that decoded
    // with the locale's codec would corrupt every non-ASCII character.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("ISO-8859-1"));
}

void TProjectFileTest::savedProjectReopensExactly()
{
    TEditor editor;
    editor.Set_Variables({{"%define name", "grüße"}, {"Summary:", "Ünïcödé & <markup>"},
                          {"Release:", "%{release}"}});
    editor.Activate({"lib", "sqldrivers"}, {"lib/libQt5Core", "lib/libQt5Sql", "sqldrivers/libqsqlite"});
    editor.Set_Description({"Erste Zeile – ä", "second line"});
    editor.Change_Log->Clear_Changelog();
    editor.Change_Log->Add_Changelog_Line("* Mon Dec 7 2026 Zoë <zoe@example.org>");
    editor.Libraries->Set_Detection_Choices({{"sqldrivers"}, {"iconengines"}, {"/opt/libown.so"}});
    const QString saved = editor.State();

    const QString path = editor.Home.Path() + "/project.spec_data";
    {
        Test::TDialogAnswers answers({path});
        editor.Trigger("Save");
    }
    QCOMPARE(editor.Status(), QString("Project saved to \"%1\".").arg(path));

    editor.Set_Variables({{"Other:", "value"}});
    editor.Activate({"platforms"}, {"platforms/libqxcb"});
    editor.Set_Description({"changed"});
    editor.Change_Log->Add_Changelog_Line("- more");
    editor.Libraries->Set_Detection_Choices({{"tls"}, {}, {}});
    QVERIFY(editor.State() != saved);

    Test::TDialogAnswers answers({path});
    editor.Trigger("Open");
    QCOMPARE(editor.State(), saved);
    QCOMPARE(editor.Status(), QString("Project \"%1\" opened.").arg(path));
}

// A project names QML modules the panel did not hold: they join it as a
// target of QML modules, and saving writes them back apart from the other
// targets, with the QML sources folder.
void TProjectFileTest::qmlModulesAndSourcesTravelWithTheProject()
{
    TEditor editor;
    const QByteArray qml = "Qml_Modules_Begin:\n"
                           "[Sources]:/home/ana/viewer/qml\n"
                           "[Target]:qml\n"
                           "[Module]:QtQuick.2\n"
                           "[Module]:QtQuick/Controls.2\n"
                           "Qml_Modules_End:\n\n";
    QByteArray project = Example;
    project.replace("Description_Begin:", qml + "Description_Begin:");
    Open(editor, project);
    const TLibrariesWidget::TLibrary module = editor.Libraries->Library("qml", "QtQuick/Controls.2");
    QCOMPARE(module.Type, TTypes::Library_Qml_Module);
    QVERIFY(module.Checked);
    QCOMPARE(editor.Libraries->Active_Targets(true), QStringList({"lib", "platforms", "qml"}));
    const auto& targets = editor.Libraries->Targets();
    const auto target = std::find_if(targets.begin(), targets.end(),
                                     [](const auto& record) { return record.Name == "qml"; });
    QVERIFY(target != targets.end() && target->Kind == TTypes::Target_Qml_Modules);
    bool shown = false;
    for (QTreeWidgetItem* row : editor.Window->findChild<QTreeWidget*>("library_tree")
                                    ->findItems("QtQuick/Controls.2", Qt::MatchExactly, 2))
        shown = row->text(1) == "QML module";
    QVERIFY(shown);

    const QString path = editor.Home.Path() + "/saved.spec_data";
    Test::TDialogAnswers answers({path});
    editor.Trigger("Save");
    QCOMPARE(Test::Read_File(path), project);
}

// A target's libraries are written in the panel's order, which keeps the
// factory list's order within a target.
void TProjectFileTest::exampleProjectIsWrittenByteForByte()
{
    TEditor editor;
    editor.Set_Variables({{"%define name", "program_name"}, {"%define version", "1.0"},
                          {"Name:", "%{name}"}});
    editor.Activate({"lib", "platforms"},
                    {"lib/libQt5Core.so", "lib/libQt5Gui.so", "platforms/libqxcb.so"});
    editor.Set_Description({"Description of the program"});

    const QString path = editor.Home.Path() + "/example.spec_data";
    Test::TDialogAnswers answers({path});
    editor.Trigger("Save");
    QCOMPARE(Test::Read_File(path), Example);
}

// Save stores the panels too; the command-line tool, reading them back, makes
// the same project of them.
void TProjectFileTest::savedProjectIsTheStoredStatesProject()
{
    TEditor editor;
    editor.Set_Variables({{"%define name", "zwei"}, {"Summary:", "ä & <b>"}});
    editor.Activate({"platforms", "lib"},
                    {"platforms/libqxcb.so", "lib/libQt5Gui.so", "lib/libQt5Core.so"});
    editor.Set_Description({"one", "two"});
    const QString path = editor.Home.Path() + "/stored.spec_data";
    Test::TDialogAnswers answers({path});
    editor.Trigger("Save");

    const TEditorState stored = Load_Editor_State(editor.Home.Data_Folder());
    QCOMPARE(Test::Read_File(path), Spec_Data_Text(Project_Data(stored)).toUtf8());
}

void TProjectFileTest::libraryIsFoundAgainAfterItsVersionChanged()
{
    TEditor editor;
    editor.Activate({"lib"}, {"lib/libQt5Core.so.5.15.2"});
    const QString path = editor.Home.Path() + "/versions.spec_data";
    {
        Test::TDialogAnswers answers({path});
        editor.Trigger("Save");
    }
    QVERIFY(Test::Read_File(path).contains("\n[Dylib]:libQt5Core.so\n"));

    editor.Libraries->Library_Rename("libQt5Core.so.5.15.2", "libQt5Core.so.5.15.3");
    editor.Activate({}, {});
    Test::TDialogAnswers answers({path});
    editor.Trigger("Open");
    QCOMPARE(editor.Libraries->Active_Libraries("lib"), QStringList({"libQt5Core.so.5.15.3"}));
}

void TProjectFileTest::emptyOrCommentOnlyFileChangesNothing()
{
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\n# a comment\n   \n")})
    {
        TEditor editor;
        const QString before = editor.State();
        Open(editor, bytes);
        QCOMPARE(editor.State(), before);
        QVERIFY2(editor.Status().startsWith("Project \""), qPrintable(editor.Status()));
    }
}

void TProjectFileTest::rejectedFileChangesNoPanel_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray header = "Kestrelvantory:Version=1:Type=Spec_Data\n";
    const QByteArray before_the_fault = "Active_Targets_Begin:\nstyles\nActive_Targets_End:\n"
                                        "Description_Begin:\nnew\nDescription_End:\n"
                                        "Variables_Begin:\n[Name]:A[Value]:1\n";
    QTest::newRow("version 2") << QByteArray("Kestrelvantory:Version=2:Type=Spec_Data\n")
                               << "ERR:  File is not a Kestrelvantory spec_data file.";
    QTest::newRow("no value") << header + before_the_fault + "[Name]:Release:\n"
                              << "ERR:  Kestrelvantory variable data missing [Value]: value.";
    QTest::newRow("no name") << header + before_the_fault + "Release:[Value]:1\n"
                             << "ERR:  Kestrelvantory variable data missing [Name]: value.";
}

void TProjectFileTest::rejectedFileChangesNoPanel()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    TEditor editor;
    const QString before = editor.State();
    Open(editor, bytes);
    QCOMPARE(editor.State(), before);
    QVERIFY2(editor.Status().contains("was not opened") && editor.Status().endsWith(reason),
             qPrintable(editor.Status()));
}

void TProjectFileTest::linesAreReadByTheirBeginning()
{
    TEditor editor;
    Open(editor, "Kestrelvantory:Version=1:Type=Spec_Data\n"
                 "Variables_Begin:\n[Name]:Release:[Value]:%{release}\nVariables_End:\n"
                 "Active_Targets_Begin:\nlib\nno_such_target\nActive_Targets_End:\n"
                 "Active_Libraries_Begin:\n[Target]:no_such_target\n[Dylib]:libQt5Core.so\n"
                 "[Target]:lib\n[Dylib]:libQt5Xml.so\nActive_Libraries_End:\n"
                 "Description_Begin:\n  kept line  \n\n# dropped\n"
                 "ChangeLog_End: and more words\nnot part of any section\n");
    editor.Variables->Update_Variables();
    QCOMPARE(editor.Variables->Variable_Count(), 1);
    QCOMPARE(editor.Variables->Variable(0).Name, QString("Release:"));
    QCOMPARE(editor.Variables->Variable(0).Value, QString("%{release}"));
    QCOMPARE(editor.Libraries->Active_Targets(false), QStringList({"lib"}));
    QCOMPARE(editor.Libraries->Active_Libraries("lib"), QStringList({"libQt5Xml.so.5.15.2"}));
    QCOMPARE(editor.Variables->Description(), QString("kept line"));
}

void TProjectFileTest::emptySectionsClearTheirPanels()
{
    TEditor editor;
    Open(editor, "Kestrelvantory:Version=1:Type=Spec_Data\n"
                 "Variables_Begin:\nVariables_End:\n"
                 "Active_Targets_Begin:\nActive_Targets_End:\n"
                 "Active_Libraries_Begin:\nActive_Libraries_End:\n"
                 "Description_Begin:\n\nDescription_End:\n"
                 "ChangeLog_Begin:\n\nChangeLog_End:\n");
    editor.Variables->Update_Variables();
    QCOMPARE(editor.Variables->Variable_Count(), 0);
    QCOMPARE(editor.Libraries->Active_Targets(false), QStringList());
    QCOMPARE(editor.Libraries->Active_Libraries("lib"), QStringList());
    QCOMPARE(editor.Variables->Description(), QString());
    QCOMPARE(editor.Change_Log->Changes(),
             QString("# Newest revisions added to the top; oldest revisions at the bottom."));
}

void TProjectFileTest::saveDialogAddsTheSuffixAndRemembersTheFolder()
{
    TEditor editor;
    const QString folder = editor.Home.Path() + "/projects";
    QVERIFY(QDir().mkpath(folder));
    Test::TDialogAnswers answers(
        {folder + "/project", folder + "/other.SPEC_DATA", QString(), folder + "/project.spec_data"});
    editor.Trigger("Save");
    editor.Trigger("Save");
    editor.Trigger("Save");
    editor.Trigger("Open");

    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList({"other.SPEC_DATA", "project.spec_data"}));
    QCOMPARE(answers.Requests.size(), 4);
    QCOMPARE(answers.Requests[0].Folder, editor.Home.Path());
    for (const TFileDialogRequest& request : answers.Requests)
    {
        QCOMPARE(request.Caption, QString("Save Spec Data"));
        QCOMPARE(request.Filter, QString("SPEC (*.spec_data)"));
    }
    QCOMPARE(answers.Requests[1].Folder, folder);
    QCOMPARE(answers.Requests[3].Kind, TFileDialogRequest::Open_File);
    QCOMPARE(answers.Requests[3].Folder, folder);
}

void TProjectFileTest::failedSaveIsToldAndKeepsTheEarlierFile()
{
    TEditor editor;
    // A folder the unprivileged user may read but not write, holding an earlier project.
    QTemporaryDir folder(QDir::tempPath() + "/kv-project-XXXXXX");
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    const QString path = folder.filePath("project.spec_data");
    Test::Write_File(path, Example);

    Test::TDialogAnswers answers({path});
    {
        Test::TUnprivileged unprivileged;
        editor.Trigger("Save");
    }
    QCOMPARE(Test::Read_File(path), Example);
    QVERIFY2(editor.Status().startsWith("The project was not saved: ERR  Cannot write file '" + path),
             qPrintable(editor.Status()));

    // A project that does not fit, smaller than the file's buffer.
    Test::TDialogAnswers again({path});
    {
        Test::TFileSizeLimit limit(100);
        editor.Trigger("Save");
    }
    QCOMPARE(Test::Read_File(path), Example);
    const QString failed =
        "The project was not saved: ERR  Cannot write file '" + path + "'.  Reason: File too large";
    QVERIFY2(editor.Status().startsWith(failed), qPrintable(editor.Status()));
}

QTEST_MAIN(TProjectFileTest)
#include "tst_projectfile.moc"
