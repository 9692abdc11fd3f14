#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTableWidget>
#include <QtTest>
#include <QStorageInfo>

#include "changelogwidget.h"
#include "datafiles/librariesfile.h"
#include "datafiles/packagesettingsfile.h"
#include "datafiles/xmlfile.h"
#include "editorcommandline.h"
#include "editordriver.h"
#include "optionswidget.h"
#include "requireswidget.h"
#include "smallfilesystem.h"
#include "standins.h"
#include "testsupport.h"
#include "variableswidget.h"

namespace
{
struct TCliRun
{
    int Exit;
    QString Out;
    QString Err;
};

// Runs the command-line tool with no display of any kind in its environment.
TCliRun Run_Cli(const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(KV_CLI_PATH, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit)
        qFatal("the command-line tool did not finish");
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// What the command-line tool shows on a terminal, its standard output left out.
QString Terminal_Output(const QStringList& arguments)
{
    QStringList command = {"'" KV_CLI_PATH "'"};
    for (const QString& argument : arguments)
        command.append("'" + argument + "'");
    QProcess terminal;
    terminal.start("/usr/bin/script", {"-qec", command.join(' ') + " >/dev/null", "/dev/null"});
    terminal.closeWriteChannel();
    if (!terminal.waitForFinished(60000))
        qFatal("the command-line tool did not finish on a terminal");
    return QString::fromUtf8(terminal.readAllStandardOutput());
}

// What the editor's Create writes for the stored state, after opening
// `project` when one is given; on failure the status bar's text instead.
QByteArray Editor_Spec(const QString& folder, const QString& project = QString())
{
    Test::TEditor editor;
    if (!project.isEmpty())
    {
        Test::TDialogAnswers answers({project});
        editor.Trigger("Open");
    }
    const QString file_name = folder + "/editor.spec";
    Test::TDialogAnswers answers({file_name});
    const QString status = editor.Create();
    if (!status.startsWith("Spec file written"))
        return status.toUtf8();
    return Test::Read_File(file_name);
}

// What the command-line tool writes for the stored state; on failure its
// messages instead.
QByteArray Cli_Spec(const QString& folder, const QStringList& options = QStringList())
{
    const QString file_name = folder + "/cli.spec";
    const TCliRun run = Run_Cli(QStringList{"create", "--output", file_name} + options);
    if (run.Exit != 0)
        return run.Err.toUtf8();
    return Test::Read_File(file_name);
}

// A shared-libraries folder whose files the "ldd" stand-in lists, and the
// packages the "rpm" stand-in names for their libraries.
void Prepare_Scan(Test::TStandIns* stand_ins, const QString& folder)
{
    QDir(folder).mkpath("lib");
    QDir(folder).mkpath("platforms");
    Test::Write_File(folder + "/lib/libQt5Core.so.5.15.2", Test::Listing({"/lib/libz.so.1"}));
    Test::Write_File(folder + "/platforms/libqxcb.so",
                     Test::Listing({"/lib/libxcb.so.1", "/lib/libz.so.1", "/lib/libm.so.6"}));
    stand_ins->Set_Providers({{"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"},
                              {"/lib/libxcb.so.1", "libxcb1-1.15-1.x86_64"},
                              {"/lib/libm.so.6", "glibc-2.36-9.x86_64"}});
}

// Edits every panel through its widgets, picks the shared-libraries folder,
// and closes the editor so that all of it is stored.
void Store_Edited_State(const QString& shared_libs, int generator, int requires_mode)
{
    Test::TEditor editor;
    auto* variables = editor.Panel<TVariablesWidget>();
    variables->findChild<QTableWidget*>()->item(1, 0)->setText("démo");
    variables->findChild<QPlainTextEdit*>()->setPlainText("A demo.\nSecond line — ü.");
    editor.Expression(0)->setText("%{buildroot}/opt/%{name}");
    editor.Expression(1)->setText("%{buildroot}/opt/build/bin");
    editor.Options_Combo(0)->setCurrentIndex(generator);
    editor.Options_Combo(1)->setCurrentIndex(requires_mode);
    editor.Check_Libraries({"lib", "platforms", "imageformats"},
                           {"libQt5Core.so.5.15.2", "libQt5Gui.so.5.15.2", "libqxcb.so",
                            "libqjpeg.so", "libqgif.so"});
    editor.Panel<TChangeLogWidget>()->findChild<QPlainTextEdit*>()->setPlainText(
        "* Mon Dec 7 2026 Zoë <zoe@example.org>\n- Second release");
    Test::TDialogAnswers answers({shared_libs});
    editor.Browse_Shared_Libs_Path();
    editor.Window().close();
}

// `text` with `from` replaced once; fails the test when `from` is missing.
QString Replaced(QString text, const QString& from, const QString& to)
{
    if (!text.contains(from))
        qFatal("expected text not found: %s", qPrintable(from));
    return text.replace(from, to);
}

// Every file of the folder with its size and time of change.
QStringList Snapshot(const QString& folder)
{
    QStringList files;
    for (const QFileInfo& file : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        files << QString("%1 %2 %3").arg(file.fileName()).arg(file.size())
                     .arg(file.lastModified().toMSecsSinceEpoch());
    return files;
}
}

class TCommandLineTest : public QObject
{
    Q_OBJECT

private slots:
    void factoryStateGivesTheEditorsSpec();
    void editedStateGivesTheEditorsSpec_data();
    void editedStateGivesTheEditorsSpec();
    void projectFileIsAppliedAsTheEditorOpensIt();
    void requiresPrintsAFreshScan();
    void failuresWriteNothing();
    void unreadableDataFileFailsByName_data();
    void unreadableDataFileFailsByName();
    void absentDataFilesAreToldWhenTheFolderIsNamed();
    void fullDiskLeavesTheEarlierSpec();
    void wrongUsageIsTold();
    void setChangesVariablesForOneRun();
    void editorDataFolderIsWhatThePipelineReads();
    void initAndPanelFlagsGiveTheEditorsSpec();
    void initThatRunsOutOfSpaceCanBeRepeated();
    void expressionFlagsWriteWhatTheEditorWrites();
    void initStoresTheWholeSetup();
    void packageRefusesNamesRpmRefusesBeforeWriting();
};

void TCommandLineTest::factoryStateGivesTheEditorsSpec()
{
    Test::TFreshHome home;
    const QByteArray editor_spec = Editor_Spec(home.Path());
    QVERIFY2(editor_spec.startsWith("%define"), editor_spec.constData());
    QCOMPARE(Cli_Spec(home.Path()), editor_spec);
}

void TCommandLineTest::editedStateGivesTheEditorsSpec_data()
{
    QTest::addColumn<int>("generator");
    QTest::addColumn<int>("requires_mode");
    for (int generator : {0, 1})
        for (int mode : {0, 1, 2})
            QTest::addRow("generator %d, requirements %d", generator, mode) << generator << mode;
}

void TCommandLineTest::editedStateGivesTheEditorsSpec()
{
    QFETCH(int, generator);
    QFETCH(int, requires_mode);
    Test::TFreshHome home;
    Test::TStandIns stand_ins;
    Prepare_Scan(&stand_ins, home.Path() + "/shared");
    Store_Edited_State(home.Path() + "/shared", generator, requires_mode);

    const QStringList data_folder = {"--data-folder", home.Data_Folder()};
    const QByteArray editor_spec = Editor_Spec(home.Path());
    const QByteArray snapshot = Snapshot(home.Data_Folder()).join('\n').toUtf8();
    QVERIFY2(editor_spec.startsWith("%define"), editor_spec.constData());
    QVERIFY(editor_spec.contains("imageformats/libqjpeg.so"));
    if (requires_mode == 0)
        QVERIFY(editor_spec.contains("zlib\n"));

    QCOMPARE(Cli_Spec(home.Path(), data_folder), editor_spec);
    QCOMPARE(Snapshot(home.Data_Folder()).join('\n').toUtf8(), snapshot);
}

void TCommandLineTest::projectFileIsAppliedAsTheEditorOpensIt()
{
    Test::TFreshHome home;
    const QString project = home.Path() + "/demo.spec_data";
    {
        Test::TEditor editor;
        editor.Check_Libraries({"lib", "platforms"}, {"libQt5Core.so.5.15.2", "libqxcb.so"});
        editor.Panel<TVariablesWidget>()->findChild<QTableWidget*>()->item(2, 0)->setText("2.5");
        Test::TDialogAnswers answers({project});
        editor.Trigger("Save");
        // What is stored afterwards differs from the project.
        editor.Check_Libraries({"lib"}, {"libQt5Widgets.so.5.15.2"});
        editor.Options_Combo(1)->setCurrentIndex(1);
        editor.Window().close();
    }
    const QByteArray editor_spec = Editor_Spec(home.Path(), project);
    QVERIFY(editor_spec.contains("libqxcb.so"));
    QCOMPARE(Cli_Spec(home.Path(), {"--project", project}), editor_spec);
}

void TCommandLineTest::requiresPrintsAFreshScan()
{
    Test::TFreshHome home;
    Test::TStandIns stand_ins;
    Prepare_Scan(&stand_ins, home.Path() + "/shared");
    Store_Edited_State(home.Path() + "/elsewhere", 0, 1);

    Test::TEditor editor;
    editor.Panel<TRequiresWidget>()->d_shared_libs_path = home.Path() + "/shared";
    emit editor.Panel<TRequiresWidget>()->Refresh();
    QVERIFY(editor.Panel<TRequiresWidget>()->Wait_For_Scan());
    const QStringList scanned = editor.Panel<TRequiresWidget>()->Required_Packages();
    QCOMPARE(scanned, QStringList({"zlib", "libxcb1"}));

    const TCliRun run = Run_Cli({"requires", "--shared-libs", home.Path() + "/shared"});
    QCOMPARE(run.Exit, 0);
    QCOMPARE(run.Out, scanned.join('\n') + "\n");
    QVERIFY2(!run.Err.contains("Scanning"), qPrintable(run.Err));
    QVERIFY2(Terminal_Output({"requires", "--shared-libs", home.Path() + "/shared"})
                 .contains("\rScanning requirements: 2 of 2 files\r\n"),
             "a terminal shows no progress");

    stand_ins.Remove("rpm");
    const TCliRun without_rpm = Run_Cli({"requires", "--shared-libs", home.Path() + "/shared"});
    QCOMPARE(without_rpm.Exit, 1);
    QVERIFY2(without_rpm.Err.contains("\"rpm\" could not be started"), qPrintable(without_rpm.Err));
}

void TCommandLineTest::failuresWriteNothing()
{
    Test::TFreshHome home;
    const QString output = home.Path() + "/out.spec";

    TCliRun run = Run_Cli({"create", "--project", home.Path() + "/missing.spec_data", "--output", output});
    QCOMPARE(run.Exit, 1);
    QVERIFY2(run.Err.contains("ERR:  Cannot open file '" + home.Path() + "/missing.spec_data'"),
             qPrintable(run.Err));

    Test::Write_File(home.Path() + "/bad.spec_data", "Kestrelvantory:Version=2:Type=Spec_Data\n");
    run = Run_Cli({"create", "--project", home.Path() + "/bad.spec_data", "--output", output});
    QCOMPARE(run.Exit, 1);
    QVERIFY2(run.Err.contains("ERR:  File is not a Kestrelvantory spec_data file."), qPrintable(run.Err));

    // Only plug-ins active: there is no library directory to link against.
    Test::Write_File(home.Path() + "/plugins.spec_data",
                     "Kestrelvantory:Version=1:Type=Spec_Data\n"
                     "Active_Targets_Begin:\nplatforms\nActive_Targets_End:\n"
                     "Active_Libraries_Begin:\n[Target]:platforms\n[Plugin]:libqxcb.so\n"
                     "Active_Libraries_End:\n");
    run = Run_Cli({"create", "--project", home.Path() + "/plugins.spec_data", "--output", output});
    QCOMPARE(run.Exit, 1);
    QVERIFY2(run.Err.contains("ERR  Library path name not found."), qPrintable(run.Err));

    // A description line that rpmbuild would take for a scriptlet run as root.
    Test::Write_File(home.Path() + "/injected.spec_data",
                     "Kestrelvantory:Version=1:Type=Spec_Data\n"
                     "Description_Begin:\nA program.\n%pre\nrm -rf /\nDescription_End:\n");
    run = Run_Cli({"create", "--project", home.Path() + "/injected.spec_data", "--output", output});
    QCOMPARE(run.Exit, 1);
    QVERIFY2(run.Err.contains("ERR  Line 2 of the description begins with the spec section keyword "
                              "'%pre'."),
             qPrintable(run.Err));

    run = Run_Cli({"create", "--output", home.Path() + "/no/such/folder/out.spec"});
    QCOMPARE(run.Exit, 1);
    QVERIFY2(run.Err.contains("ERR  Cannot write file"), qPrintable(run.Err));

    QVERIFY(!QFileInfo::exists(output));
    QVERIFY(!QFileInfo::exists(home.Data_Folder()));
}

void TCommandLineTest::unreadableDataFileFailsByName_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("named");

    QTest::newRow("cut short") << "variables.xml" << QByteArray("<?xml version=\"1.0\"?>\n<Variable_")
                               << "XML parse error at line 2" << true;
    QTest::newRow("another version") << "options.xml" << QByteArray("<Options File_Version=\"2\"/>")
                                     << "Option datafile version not recognized" << true;
    QTest::newRow("element missing") << "changes.xml" << QByteArray("<Change_Data File_Version=\"1\"/>")
                                     << "Node 'Text' is missing" << true;
    QTest::newRow("deep nesting")
        << "libraries.xml" << "<Library_Data File_Version=\"1\">" + QByteArray("<a>").repeated(50000)
        << "its elements are nested deeper than 32 levels" << true;
    QTest::newRow("in the default folder")
        << "requires.xml" << QByteArray("<!DOCTYPE Requires><Requires File_Version=\"1\"/>")
        << "it holds a document type declaration" << false;
    QTest::newRow("invalid UTF-8")
        << "variables.xml"
        << QByteArray("<?xml version=\"1.0\"?>\n<Variable_Data File_Version=\"1\">"
                      "<Value>%\xFFname}</Value>")
        << "is refused: it is not valid UTF-8 (at byte 62)" << true;
    QTest::newRow("settings") << "settings.ini" << QByteArray() << "it is not a plain file" << true;
    QTest::newRow("Qt 4")
        << "options.xml"
        << QByteArray("<Options File_Version=\"1\"><Make_Generator>Generator_QMake</Make_Generator>"
                      "<Requires_Option>Requires_Auto_Update</Requires_Option><Qt_Installation>"
                      "<Major>4</Major><Prefix>/opt/qt4</Prefix></Qt_Installation></Options>")
        << "The element 'Qt_Installation/Major' of '/tmp/home/.kestrelvantory/options.xml' "
           "holds '4', but the Qt major version must be 5 or 6"
        << true;
    QTest::newRow("choice with a line break")
        << "libraries.xml"
        << QByteArray("<Library_Data File_Version=\"1\"><Targets/><Libraries/><Detection_Choices>"
                      "<With_Library>/lib/a.so&#10;Variables_Begin:</With_Library>"
                      "</Detection_Choices></Library_Data>")
        << "The element 'Detection_Choices/With_Library' of '/tmp/home/.kestrelvantory/"
           "libraries.xml' holds a line break or another control character: "
           "'/lib/a.so\\x0AVariables_Begin:'."
        << true;
}

// A build must not silently get a spec of factory contents.
void TCommandLineTest::unreadableDataFileFailsByName()
{
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QFETCH(bool, named);
    Test::TFreshHome home;
    reason.replace("/tmp/home/.kestrelvantory", home.Data_Folder());
    Store_Edited_State(home.Path() + "/shared", 0, 1);
    const QString path = home.Data_Folder() + "/" + file;
    QFile::remove(path);
    if (bytes.isEmpty())
        QDir().mkpath(path);
    else
        Test::Write_File(path, bytes);

    const QString output = home.Path() + "/out.spec";
    const QStringList folder = named ? QStringList{"--data-folder", home.Data_Folder()} : QStringList();
    for (const QStringList& command : {QStringList{"create", "--output", output}, QStringList{"requires"}})
    {
        const TCliRun run = Run_Cli(command + folder);
        QCOMPARE(run.Exit, 1);
        QVERIFY2(run.Err.contains("kestrelvantory-cli: cannot read \"" + path + "\": ")
                     && run.Err.contains(reason),
                 qPrintable(run.Err));
        QVERIFY(run.Out.isEmpty());
    }
    QVERIFY(!QFileInfo::exists(output));
}

// As in the editor, an absent file means factory contents; a pipeline that
// names its data folder learns which ones.
void TCommandLineTest::absentDataFilesAreToldWhenTheFolderIsNamed()
{
    Test::TFreshHome home;
    QDir().mkpath(home.Data_Folder());
    const QString output = home.Path() + "/out.spec";
    const QByteArray factory_spec = Cli_Spec(home.Path());
    QVERIFY2(factory_spec.startsWith("%define"), factory_spec.constData());

    TCliRun run = Run_Cli({"create", "--output", output});
    QCOMPARE(run.Exit, 0);
    QVERIFY2(!run.Err.contains("does not exist"), qPrintable(run.Err));
    run = Run_Cli({"create", "--output", output, "--data-folder", home.Data_Folder()});
    QCOMPARE(run.Exit, 0);
    QCOMPARE(Test::Read_File(output), factory_spec);
    for (const char* file : {"variables.xml", "expressions.xml", "options.xml", "libraries.xml",
                             "requires.xml", "changes.xml"})
        QVERIFY2(run.Err.contains(QString("\"%1/%2\" does not exist; its factory contents are used.")
                                      .arg(home.Data_Folder(), file)),
                 qPrintable(run.Err));
}

// The spec (some kilobytes, below the file's buffer) finds no room: before,
// the tool put an empty file in place of the earlier spec and exited 0.
void TCommandLineTest::fullDiskLeavesTheEarlierSpec()
{
    Test::TFreshHome home;
    const QString folder = home.Path() + "/specs";
    QDir().mkpath(folder);
    Test::TSmallFileSystem disk(folder, 64);
    if (!disk.Is_Mounted())
        QSKIP(qPrintable(disk.Why_Not()));
    const QString output = folder + "/demo.spec";
    Test::Write_File(output, "earlier spec\n");
    disk.Fill();

    const TCliRun run = Run_Cli({"create", "--output", output});
    disk.Unfill();
    QCOMPARE(run.Exit, 1);
    QVERIFY2(run.Err.contains("ERR  Cannot write file '" + output + "'.  Reason: No space left on device"),
             qPrintable(run.Err));
    QCOMPARE(Test::Read_File(output), QByteArray("earlier spec\n"));
    QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"demo.spec"});
}

// A disk that fills up part-way through init leaves no half data folder,
// which the next init would refuse.
void TCommandLineTest::initThatRunsOutOfSpaceCanBeRepeated()
{
    Test::TFreshHome home;
    const QString folder = home.Path() + "/project";
    QDir().mkpath(folder);
    Test::TSmallFileSystem disk(folder, 64);
    if (!disk.Is_Mounted())
        QSKIP(qPrintable(disk.Why_Not()));
    // Room for the two small panel files, not for the library list.
    const qint64 room = QStorageInfo(folder).bytesAvailable();
    Test::Write_File(folder + "/filler", QByteArray(int(room - 8192), 'x'));
    const QString data = folder + "/data";

    const TCliRun full = Run_Cli({"init", "--data-folder", data});
    QCOMPARE(full.Exit, 1);
    QVERIFY2(full.Err.contains("No space left on device"), qPrintable(full.Err));
    QCOMPARE(QDir(data).entryList(QDir::Files), QStringList());

    QVERIFY(QFile::remove(folder + "/filler"));
    const TCliRun again = Run_Cli({"init", "--data-folder", data});
    QVERIFY2(again.Exit == 0, qPrintable(again.Err));
}

void TCommandLineTest::wrongUsageIsTold()
{
    for (const QStringList& arguments :
         {QStringList(), QStringList{"create"}, QStringList{"create", "--bogus", "x"},
          QStringList{"create", "--output"}, QStringList{"publish"},
          QStringList{"requires", "--output", "x.spec"},
          QStringList{"create", "--sign", "KEY", "--repository", "repo", "--output", "x.spec"}})
    {
        const TCliRun run = Run_Cli(arguments);
        QCOMPARE(run.Exit, 2);
        QVERIFY2(run.Err.contains("Usage:"), qPrintable(arguments.join(' ')));
    }
    const TCliRun help = Run_Cli({"--help"});
    QCOMPARE(help.Exit, 0);
    QVERIFY(help.Out.startsWith("Usage:"));
    const TCliRun version = Run_Cli({"--version"});
    QCOMPARE(version.Exit, 0);
    QCOMPARE(version.Out, QString("kestrelvantory-cli 1.0\n"));
}

void TCommandLineTest::setChangesVariablesForOneRun()
{
    Test::TFreshHome home;
    const QString project = home.Path() + "/twice.spec_data";
    const QByteArray project_text = "Kestrelvantory:Version=1:Type=Spec_Data\nVariables_Begin:\n"
                                    "[Name]:%define name[Value]:demo\n"
                                    "[Name]:%define release[Value]:1\n"
                                    "[Name]:Requires:[Value]:glibc\n"
                                    "[Name]:Requires:[Value]:zlib\n"
                                    "Variables_End:\n";
    Test::Write_File(project, project_text);
    const QByteArray editor_spec = Editor_Spec(home.Path(), project);
    const QString snapshot = Snapshot(home.Data_Folder()).join('\n');
    const auto line = [](const QString& name, const QString& value) {
        return name.leftJustified(40) + value + "\n";
    };
    QString expected =
        Replaced(editor_spec, line("%define release", "1"), line("%define release", "43=x"));
    expected = Replaced(expected, line("Requires:", "glibc"), line("Requires:", "glibc >= 2.36"));
    QVERIFY(expected.contains(line("Requires:", "zlib")));

    QCOMPARE(Cli_Spec(home.Path(), {"--project", project, "--set", "%define release=42", "--set",
                                    "Requires:=glibc >= 2.36", "--set", "%define release=43=x"}),
             expected.toUtf8());
    QCOMPARE(Test::Read_File(project), project_text);
    QCOMPARE(Snapshot(home.Data_Folder()).join('\n'), snapshot);

    const QString output = home.Path() + "/not-written.spec";
    for (const QStringList& settings : {QStringList{"--set", "%define relase=2"},
                                        QStringList{"--set", "release=2"},
                                        QStringList{"--set", "%define release"},
                                        QStringList{"--set", "Requires:=x", "--set", "Name=y"}})
    {
        const TCliRun run = Run_Cli(QStringList{"create", "--project", project, "--output", output} +
                                    settings);
        QCOMPARE(run.Exit, 2);
        QVERIFY2(run.Err.contains("--set: "), qPrintable(run.Err));
        QVERIFY(!QFileInfo::exists(output));
    }
    QVERIFY(Run_Cli({"create", "--output", output, "--set", "%define relase=2"})
                .Err.contains("no variable is named \"%define relase\""));
    // A name of one line keeps the message on one line, and a long one is cut.
    const QString told = Run_Cli({"create", "--output", output, "--set",
                                  "%define\n" + QString(100000, 'r') + "=2"})
                             .Err;
    QVERIFY2(told.contains("no variable is named \"%define\\x0Arrr") &&
                 told.contains("... (100008 characters)\"") && told.size() < 1000,
             qPrintable(told.left(1000)));
    QCOMPARE(Run_Cli({"requires", "--set", "Name:=x"}).Exit, 2);
}

// The editor keeps its panels in the folder given, stores them at Create,
// and the pipeline reading that folder writes the same spec, the packager
// kept in the editor's settings included.
void TCommandLineTest::editorDataFolderIsWhatThePipelineReads()
{
    Test::TFreshHome home;
    const QString folder = home.Path() + "/project/kestrelvantory";
    TEditorCommandLine command_line;
    QCOMPARE(command_line.Parse({"kestrelvantory", "--data-folder", folder}),
             TEditorCommandLine::Run_Editor);
    QByteArray editor_spec;
    {
        Test::TEditor editor(command_line.Data_Folder());
        QCOMPARE(editor.Window().windowTitle(), "Kestrelvantory - " + folder);
        QVERIFY(QFileInfo(folder).isDir());
        editor.Options_Combo(1)->setCurrentIndex(1);
        editor.Panel<TVariablesWidget>()->findChild<QPlainTextEdit*>()->setPlainText("Team build.");
        // The packager stays with the editor's own settings, not in the folder.
        editor.Panel<TOptionsWidget>()->Set_Packager("Zoë Team <team@example.org>");
        Test::TDialogAnswers answers({home.Path() + "/editor.spec"});
        QVERIFY(editor.Create().startsWith("Spec file written"));
        editor_spec = Test::Read_File(home.Path() + "/editor.spec");
        QVERIFY(editor_spec.contains("Team build."));
        QVERIFY(editor_spec.contains("\nPackager:" + QByteArray(31, ' ') +
                                     "Zoë Team <team@example.org>\n"));
        QCOMPARE(Cli_Spec(home.Path(), {"--data-folder", folder}), editor_spec);

        editor.Panel<TChangeLogWidget>()->findChild<QPlainTextEdit*>()->setPlainText("- saved");
        Test::TDialogAnswers save_answers({home.Path() + "/team.spec_data"});
        QVERIFY(editor.Trigger("Save").startsWith("Project saved"));
        QVERIFY(Test::Read_File(folder + "/changes.xml").contains("- saved"));
    }
    // Only the window's own settings went to the default folder.
    QCOMPARE(QDir(home.Data_Folder()).entryList(QDir::Files), QStringList{"settings.ini"});
    {
        Test::TEditor editor(folder);
        QCOMPARE(editor.Panel<TVariablesWidget>()->Description(), QString("Team build."));
    }
    Test::TEditor editor;
    QCOMPARE(editor.Window().windowTitle(), QString("Kestrelvantory"));
    QVERIFY(editor.Panel<TVariablesWidget>()->Description() != "Team build.");
    QCOMPARE(TEditorCommandLine().Parse({"kestrelvantory", "--data-folder", ""}),
             TEditorCommandLine::Wrong_Usage);
    QCOMPARE(TEditorCommandLine().Parse({"kestrelvantory", "stray"}),
             TEditorCommandLine::Wrong_Usage);
}

// The name, version and release make the paths package writes to: one that
// rpmbuild would refuse, or that leads out of %{_topdir}, is told before
// anything is made, whether it comes from --set, the data folder or a
// project.
void TCommandLineTest::packageRefusesNamesRpmRefusesBeforeWriting()
{
    Test::TFreshHome home;
    const QString data = home.Path() + "/data";
    const QString top = home.Path() + "/work/top";
    QCOMPARE(Run_Cli({"init", "--data-folder", data}).Exit, 0);
    const QStringList package = {"package",   "--data-folder", data,          "--set",
                                 "%define _topdir=" + top,     "--requirements", "ignore",
                                 "--source",  home.Path()};
    const QString refused = "\", which rpmbuild refuses (it takes letters, digits and \"._+~^\")";
    const std::pair<QStringList, QString> cases[] = {
        {{"--set", "%define name=../../escape/evil"},
         "the name \"../../escape/evil\" makes no valid RPM name: it begins with \".\", which "
         "rpmbuild refuses there (it takes a letter, a digit or \"_\")"},
        {{"--set", "%define name=evil/../../../escape"},
         "the name \"evil/../../../escape\" makes no valid RPM name: it holds \"/\", which "
         "rpmbuild refuses (it takes letters, digits and \"._+-\")"},
        {{"--set", "%define version=../../x"},
         "the version \"../../x\" makes no valid RPM version: it holds \"/" + refused},
        {{"--set", "%define version=1.0/2"},
         "the version \"1.0/2\" makes no valid RPM version: it holds \"/" + refused},
        {{"--set", "%define version=1$x"}, "it holds \"$" + refused},
        {{"--set", "%define version=1\"2"}, "it holds \"\"" + refused},
        {{"--set", "%define version=1'2"}, "it holds \"'" + refused},
        {{"--set", "%define version=1;2"}, "it holds \";" + refused},
        {{"--set", "%define version=1`id`"}, "it holds \"`" + refused},
        {{"--set", "%define version=1..2"}, "it holds \"..\", which rpmbuild refuses"},
        {{"--set", "%define release=1/2"},
         "the release \"1/2\" makes no valid RPM release: it holds \"/" + refused},
        {{"--set", "%define release=1\n%pre"},
         "the release \"1\\x0A%pre\" makes no valid RPM release: it holds \"\\x0A" + refused}};
    for (const auto& [arguments, problem] : cases)
    {
        const TCliRun run = Run_Cli(package + arguments);
        QCOMPARE(run.Exit, 1);
        QVERIFY2(run.Err.contains(problem), qPrintable(run.Err));
    }

    // The same from the stored variables and from a project.
    const QString variables = data + "/variables.xml";
    const QByteArray stored = Test::Read_File(variables);
    QVERIFY(stored.contains("<Value>program_name</Value>"));
    Test::Write_File(variables, QByteArray(stored).replace("<Value>program_name</Value>",
                                                           "<Value>../evil</Value>"));
    TCliRun run = Run_Cli(package);
    QCOMPARE(run.Exit, 1);
    QVERIFY2(run.Err.contains("\n  the name \"../evil\" makes no valid RPM name"),
             qPrintable(run.Err));
    Test::Write_File(variables, stored);
    const QString project = home.Path() + "/evil.spec_data";
    Test::Write_File(project, "Kestrelvantory:Version=1:Type=Spec_Data\nVariables_Begin:\n"
                              "[Name]:%define name[Value]:demo\n"
                              "[Name]:%define version[Value]:1.0/../../x\n"
                              "[Name]:%define _topdir[Value]:" + top.toUtf8() + "\n"
                              "[Name]:Name:[Value]:%{name}\n[Name]:Source:[Value]:x.tar.gz\n"
                              "Variables_End:\n");
    run = Run_Cli({"package", "--data-folder", data, "--project", project, "--source", home.Path()});
    QCOMPARE(run.Exit, 1);
    QVERIFY2(run.Err.contains("\n  the version \"1.0/../../x\" makes no valid RPM version"),
             qPrintable(run.Err));
    for (const QString& written : {top, home.Path() + "/escape", home.Path() + "/work/escape"})
        QVERIFY2(!QFileInfo::exists(written), qPrintable(written));
}

// A path expression is named as in expressions.xml or as labelled; for one
// run, the spec is the one the editor writes after the same edits.
void TCommandLineTest::expressionFlagsWriteWhatTheEditorWrites()
{
    Test::TFreshHome home;
    QByteArray editor_spec;
    {
        Test::TEditor editor;
        editor.Expression(0)->setText("%{buildroot}/opt/%{name}");
        editor.Expression(1)->setText("%{buildroot}/opt/build/bin");
        editor.Options_Combo(0)->setCurrentIndex(1);
        Test::TDialogAnswers answers({home.Path() + "/editor.spec"});
        QVERIFY(editor.Create().startsWith("Spec file written"));
        editor_spec = Test::Read_File(home.Path() + "/editor.spec");
    }
    const QString data = home.Path() + "/data";
    QVERIFY(Run_Cli({"init", "--data-folder", data}).Exit == 0);
    QCOMPARE(Cli_Spec(home.Path(), {"--data-folder", data, "--generator", "cmake", "--expression",
                                    "Build_Path=%{buildroot}/opt/%{name}", "--expression",
                                    "cmake bin path:=%{buildroot}/opt/build/bin"}),
             editor_spec);
    QVERIFY(Test::Read_File(data + "/expressions.xml").contains("%{_libdir}/%{name}/bin"));

    for (const QStringList& wrong :
         {QStringList{"create", "--output", "x.spec", "--expression", "Bin_Path=/x"},
          QStringList{"create", "--output", "x.spec", "--expression", "Build_Path"},
          QStringList{"requires", "--expression", "Build_Path=/x"},
          QStringList{"detect", "--program", "/bin/true", "--expression", "Build_Path=/x"}})
    {
        const TCliRun run = Run_Cli(wrong);
        QCOMPARE(run.Exit, 2);
        QVERIFY2(run.Err.contains("--expression"), qPrintable(run.Err));
    }
    QVERIFY(Run_Cli({"create", "--output", "x.spec", "--expression", "Bin_Path=/x"})
                .Err.contains("the names are Build_Path, CMake_Bin_Path,"));
    QVERIFY(!QFileInfo::exists("x.spec"));
}

// init stores every panel flag, the plug-in choices and the packaging setup
// with absolute paths: create then writes from the folder what the same
// flags write for one run, and package reads the setup back.
void TCommandLineTest::initStoresTheWholeSetup()
{
    Test::TFreshHome home;
    Test::Write_File(home.Path() + "/description", "Said once.\n");
    Test::Write_File(home.Path() + "/changes", "* Mon Dec 07 2026 Ana <ana@example.org>\n- once\n");
    const QStringList panels = {"--set", "%define release=7", "--generator", "cmake",
                                "--requirements", "ignore", "--description-file",
                                home.Path() + "/description", "--changelog-file",
                                home.Path() + "/changes", "--expression",
                                "Target Install Path=/opt", "--qt-version", "6"};
    const QString data = home.Path() + "/stored";
    const TCliRun init = Run_Cli(QStringList{"init", "--data-folder", data, "--program",
                                             "build/demo", "--source", "demo-src",
                                             "--qml-sources", home.Path() + "/qml",
                                             "--with-plugins", "sqldrivers", "--without-plugins",
                                             "imageformats/libqgif.so", "--repository", "repo",
                                             "--sign", "Ana Lima <ana@example.org>"} +
                                 panels);
    QVERIFY2(init.Exit == 0, qPrintable(init.Err));
    QVERIFY(Run_Cli({"init", "--data-folder", home.Path() + "/fresh"}).Exit == 0);
    const QByteArray stored_spec = Cli_Spec(home.Path(), {"--data-folder", data});
    QCOMPARE(stored_spec,
             Cli_Spec(home.Path(), QStringList{"--data-folder", home.Path() + "/fresh"} + panels));
    for (const char* expected : {"Said once.", "- once", "\ncmake ", "/opt/%{name}", "qmake6"})
        QVERIFY2(stored_spec.contains(expected) != (QByteArray(expected) == "qmake6"),
                 expected);

    TPackageSettings setup = TPackageSettingsFile::Read(data);
    QCOMPARE(setup.Program, QDir::current().absoluteFilePath("build/demo"));
    QCOMPARE(setup.Source, QDir::current().absoluteFilePath("demo-src"));
    QCOMPARE(setup.Qml_Sources, home.Path() + "/qml");
    QCOMPARE(setup.Output_Dir, QString());
    QCOMPARE(setup.Repository, QDir::current().absoluteFilePath("repo"));
    QCOMPARE(setup.Sign_Key, QString("Ana Lima <ana@example.org>"));
    const TDetectionChoices choices = TLibrariesFile::Read(data).Choices;
    QCOMPARE(choices.With_Plugins, QStringList{"sqldrivers"});
    QCOMPARE(choices.Without_Plugins, QStringList{"imageformats/libqgif.so"});

    // What cannot be stored is refused, and nothing is written.
    for (const QStringList& wrong :
         {QStringList{"--project", home.Path() + "/x.spec_data"},
          QStringList{"--expression", "Nowhere=/x"}, QStringList{"--set", "Nothing=1"},
          QStringList{"--collect-into", home.Path()}, QStringList{"--generator", "make"}})
    {
        const TCliRun run = Run_Cli(QStringList{"init", "--data-folder", home.Path() + "/no"} +
                                    wrong);
        QCOMPARE(run.Exit, 2);
        QVERIFY2(!QFileInfo::exists(home.Path() + "/no"), qPrintable(wrong.join(' ')));
    }

    // A stored setup that is not absolute is refused by name, before anything
    // is made; detection options need a program, given or stored.
    const QString broken = home.Path() + "/fresh";
    Test::Write_File(broken + "/package.xml",
                     "<?xml version=\"1.0\"?>\n<Package_Settings File_Version=\"1\">"
                     "<Source>relative/src</Source></Package_Settings>\n");
    const TCliRun refused = Run_Cli({"package", "--data-folder", broken});
    QCOMPARE(refused.Exit, 1);
    QVERIFY2(refused.Err.contains("cannot read \"" + broken + "/package.xml\": the setting "
                                  "\"Source\" is not an absolute path"),
             qPrintable(refused.Err));
    QVERIFY(QFile::remove(broken + "/package.xml"));
    const TCliRun no_program =
        Run_Cli({"package", "--data-folder", broken, "--qml-sources", home.Path()});
    QCOMPARE(no_program.Exit, 2);
    QVERIFY2(no_program.Err.contains("none is stored"), qPrintable(no_program.Err));
}

QTEST_MAIN(TCommandLineTest)
// A data folder started by init holds what the editor starts with, and the
// panel flags write what the same edits in the editor write.
void TCommandLineTest::initAndPanelFlagsGiveTheEditorsSpec()
{
    Test::TFreshHome home;
    const QString folder = home.Path() + "/team";
    const TCliRun init = Run_Cli({"init", "--data-folder", folder});
    QVERIFY2(init.Exit == 0, qPrintable(init.Err));
    const QByteArray factory_spec = Cli_Spec(home.Path(), {"--data-folder", folder});
    QCOMPARE(factory_spec, Cli_Spec(home.Path()));
    const TCliRun again = Run_Cli({"init", "--data-folder", folder});
    QCOMPARE(again.Exit, 1);
    QVERIFY2(again.Err.contains("is a data folder already"), qPrintable(again.Err));
    QCOMPARE(Run_Cli({"init"}).Exit, 2);
    QCOMPARE(Run_Cli({"init", "--data-folder", folder, "--output", "x.spec"}).Exit, 2);

    QByteArray editor_spec;
    {
        Test::TEditor editor(folder);
        editor.Options_Combo(0)->setCurrentIndex(1);
        editor.Options_Combo(1)->setCurrentIndex(2);
        editor.Panel<TVariablesWidget>()->findChild<QPlainTextEdit*>()->setPlainText(
            "Flags only.\nSecond line.");
        editor.Panel<TChangeLogWidget>()->findChild<QPlainTextEdit*>()->setPlainText(
            "* Mon Dec 07 2026 Ana <ana@example.org>\n- flags");
        Test::TDialogAnswers answers({home.Path() + "/editor.spec"});
        QVERIFY(editor.Create().startsWith("Spec file written"));
        editor_spec = Test::Read_File(home.Path() + "/editor.spec");
    }
    QVERIFY(editor_spec.contains("\ncmake ") && editor_spec.contains("Flags only."));
    QVERIFY(Run_Cli({"init", "--data-folder", home.Path() + "/fresh"}).Exit == 0);
    Test::Write_File(home.Path() + "/description", "Flags only.\nSecond line.\n");
    Test::Write_File(home.Path() + "/changes", "* Mon Dec 07 2026 Ana <ana@example.org>\n- flags\n");
    QCOMPARE(Cli_Spec(home.Path(), {"--data-folder", home.Path() + "/fresh", "--generator", "cmake",
                                    "--requirements", "ignore", "--description-file",
                                    home.Path() + "/description", "--changelog-file",
                                    home.Path() + "/changes"}),
             editor_spec);

    const TCliRun unreadable = Run_Cli({"create", "--output", home.Path() + "/no.spec",
                                        "--description-file", home.Path() + "/absent"});
    QCOMPARE(unreadable.Exit, 1);
    QVERIFY2(unreadable.Err.contains("cannot read \"" + home.Path() + "/absent\""),
             qPrintable(unreadable.Err));
    QVERIFY(!QFileInfo::exists(home.Path() + "/no.spec"));
    for (const QStringList& wrong : {QStringList{"--generator", "make"},
                                     QStringList{"--requirements", "never"}})
        QCOMPARE(Run_Cli(QStringList{"create", "--output", home.Path() + "/no.spec"} + wrong).Exit,
                 2);
    QCOMPARE(Run_Cli({"requires", "--generator", "cmake"}).Exit, 2);
}

#include "tst_commandline.moc"
