#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSysInfo>
#include <QtTest>

#include <functional>

#include "buildpackagewindow.h"
#include "buildsteps.h"
#include "datafiles/packagesettingsfile.h"
#include "editordriver.h"
#include "editorwords.h"
#include "folderdialog.h"
#include "librarieswidget.h"
#include "messagearea.h"
#include "messagebox.h"
#include "openfolder.h"
#include "package/sourceguess.h"
#include "progressrun.h"
#include "standinbuild.h"
#include "testsupport.h"
#include "variableswidget.h"

namespace
{
TBuildPackageWindow* Open_Window(Test::TEditor& editor)
{
    editor.Trigger("Build Package");
    return editor.Window().findChildren<TBuildPackageWindow*>().last();
}

QString Listed(const TBuildPackageWindow* window)
{
    const auto* list = window->findChild<QListWidget*>("problems");
    QStringList items;
    for (int row = 0; row < list->count(); ++row)
        items.append(list->item(row)->text());
    return items.join('\n');
}

QString Log(const TBuildPackageWindow* window)
{
    return window->findChild<QPlainTextEdit*>()->toPlainText();
}

QString Messages(Test::TEditor& editor)
{
    return editor.Window().findChild<TMessageArea*>()->Text();
}

void Set_Variable(TVariablesWidget* panel, const QString& name, const QString& value)
{
    TVariableData data = panel->Data();
    for (TSpecVariable& variable : data.Variables)
        if (variable.Name == name)
            variable.Value = value;
    panel->Set_Data(data);
}

bool Spec_Defines(const Test::TStandInBuild& build, const QString& name, const QString& value)
{
    const QRegularExpression line(
        QString("^%define %1 +%2$").arg(name, QRegularExpression::escape(value)),
        QRegularExpression::MultilineOption);
    return line.match(QString::fromUtf8(Test::Read_File(build.Spec()))).hasMatch();
}

bool Build_And_Wait(TBuildPackageWindow* window)
{
    QSignalSpy finished(window, &TBuildPackageWindow::Finished);
    window->Build();
    return finished.wait(60000);
}

// Answers the next modal message box named `name` by clicking the button
// with `text`, and keeps what it said.
class TBoxAnswer
{
public:
    TBoxAnswer(const QString& name, const QString& text)
    {
        QObject::connect(&d_poll, &QTimer::timeout, [this, name, text] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || box->objectName() != name)
                return;
            d_poll.stop();
            Said = box->informativeText();
            Geometry = box->frameGeometry();
            for (QAbstractButton* button : box->buttons())
                if (button->text() == text)
                    button->click();
        });
        d_poll.start(20);
    }

    QString Said;
    QRect Geometry;

private:
    QTimer d_poll;
};

// A process id that no process has any more.
qint64 Ended_Process()
{
    QProcess process;
    process.start("true", QStringList());
    process.waitForStarted();
    const qint64 pid = process.processId();
    process.waitForFinished();
    return pid;
}
}

class TBuildPackageWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void buildTakesThePanelsAsTheyAreWhenPressed();
    void oneBuildOfAPackageAtATime();
    void fieldsAreKeptWithTheProjectAndTheDataFolder();
    void placeholdersAreWarnedOfNotRefused();
    void dialogsOpenOverTheirWindow();
    void foldersAreMadeOnRequestAndToldWhenNotShown();
    void windowSpeaksItsOwnWords_data();
    void windowSpeaksItsOwnWords();
    void stepsFollowRpmbuildsLog();
    void sourceFolderIsFoundFromTheBuildFolder();
};

// The user fixes what the preflight found in the main window, and the open
// window checks and builds the fixed panels.
void TBuildPackageWindowTest::buildTakesThePanelsAsTheyAreWhenPressed()
{
    Test::TFreshHome home;
    Test::TStandInBuild build;
    Test::TEditor editor(build.Data());
    editor.Check_Libraries({"lib"}, {build.Library()});
    auto* variables = editor.Panel<TVariablesWidget>();
    Set_Variable(variables, "%define version", "1.0-beta");
    TBuildPackageWindow* window = Open_Window(editor);
    const QString refused = "The version \"1.0-beta\" makes no valid RPM version";
    QTRY_VERIFY2_WITH_TIMEOUT(Listed(window).contains(refused), qPrintable(Listed(window)), 30000);
    QVERIFY(Build_And_Wait(window));
    QVERIFY(!QFileInfo::exists(build.Spec()));
    QVERIFY2(Messages(editor).contains("Build Package: Not built: the check before building "
                                       "found problems.\n") &&
                 Messages(editor).contains(refused),
             qPrintable(Messages(editor)));

    Set_Variable(variables, "%define version", "1.0");
    QTRY_VERIFY2_WITH_TIMEOUT(!Listed(window).contains("1.0-beta"), qPrintable(Listed(window)),
                              30000);
    QVERIFY(Build_And_Wait(window));
    QVERIFY2(QFileInfo::exists(build.Spec()), qPrintable(Listed(window) + Log(window)));
    QVERIFY(Spec_Defines(build, "version", "1.0"));
    QVERIFY2(Log(window).contains("Failed: rpmbuild"), qPrintable(Log(window)));

    Set_Variable(variables, "%define release", "7");
    QVERIFY(Build_And_Wait(window));
    QVERIFY(Spec_Defines(build, "release", "7"));
    QVERIFY2(Messages(editor).count("Build Package: Failed after ") == 2,
             qPrintable(Messages(editor)));
}

// Two windows, or a window and the command-line tool, never build one
// package at once; the one refused names the run it waits for. A lock left
// by a process that ended is taken over. Closing the editor asks before it
// stops a build.
void TBuildPackageWindowTest::oneBuildOfAPackageAtATime()
{
    Test::TFreshHome home;
    Test::TStandInBuild build;
    build.Hold(true);
    Test::TEditor editor(build.Data());
    editor.Check_Libraries({"lib"}, {build.Library()});
    // The tool reads the panels from the data folder.
    QVERIFY(editor.Panel<TLibrariesWidget>()->Save_Defaults(build.Data()));
    QPointer<TBuildPackageWindow> first = Open_Window(editor);
    first->Build();
    QTRY_VERIFY_WITH_TIMEOUT(Log(first).contains("Executing(%prep)"), 30000);

    const QString holder = QString("another build of \"qtdemo\" is running: %1 (process %2), "
                                   "started ")
                               .arg(QCoreApplication::applicationName())
                               .arg(QCoreApplication::applicationPid());
    TBuildPackageWindow* second = Open_Window(editor);
    QVERIFY(Build_And_Wait(second));
    QVERIFY2(Log(second).contains("Failed: A" + holder.mid(1)), qPrintable(Log(second)));
    QVERIFY(first->Is_Running());

    QProcess tool;
    tool.start(KV_CLI_PATH, {"package", "--data-folder", build.Data()});
    QVERIFY(tool.waitForFinished(60000));
    const QString told = QString::fromLocal8Bit(tool.readAllStandardOutput());
    QCOMPARE(tool.exitCode(), 1);
    QVERIFY2(told.contains("FAILED: " + holder), qPrintable(told));

    {
        TBoxAnswer answer("stop_build_box", "Keep Building");
        QVERIFY(!editor.Window().close());
        QVERIFY(answer.Said.contains("Closing Kestrelvantory stops the build"));
    }
    QVERIFY(first->Is_Running());
    {
        TBoxAnswer answer("stop_build_box", "Stop the Build");
        QVERIFY(editor.Window().close());
    }
    QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 30000);
    QVERIFY2(Messages(editor).contains(
                 "Build Package: Cancelled: the build was stopped and no package was made."),
             qPrintable(Messages(editor)));
    QVERIFY(!QFileInfo::exists(build.Lock()));

    Test::Write_File(build.Lock(), QString("%1\nkestrelvantory-cli\n%2\n")
                                       .arg(Ended_Process())
                                       .arg(QSysInfo::machineHostName())
                                       .toUtf8());
    TBuildPackageWindow* third = Open_Window(editor);
    third->Build();
    QTRY_VERIFY_WITH_TIMEOUT(Log(third).contains("Executing(%prep)"), 30000);
    QSignalSpy finished(third, &TBuildPackageWindow::Finished);
    third->Cancel();
    QVERIFY(finished.wait(30000));
    QVERIFY2(!Log(third).contains("FAILED") && !Log(third).contains("Failed"),
             qPrintable(Log(third)));
}

// What a build was started with comes back in the next session, and with
// the project file in another data folder.
void TBuildPackageWindowTest::fieldsAreKeptWithTheProjectAndTheDataFolder()
{
    Test::TFreshHome home;
    Test::TStandInBuild build;
    const QString program = build.Top() + "/build/qtdemo";
    const QString source = build.Top() + "/qtdemo";
    const QString project = build.Top() + "/qtdemo.spec_data";
    {
        Test::TEditor editor(build.Data());
        TBuildPackageWindow* window = Open_Window(editor);
        QCOMPARE(window->Program(), QString());
        TPackageSettings fields;
        fields.Program = program;
        fields.Source = source;
        window->Set_Fields(fields);
        QVERIFY(Build_And_Wait(window));
        const TPackageSettings stored = TPackageSettingsFile::Read(build.Data());
        QCOMPARE(stored.Program, program);
        QCOMPARE(stored.Source, source);
        Test::TDialogAnswers answers({project});
        editor.Trigger("Save");
        QVERIFY2(Test::Read_File(project).endsWith(
                     QString("ChangeLog_End:\n\nPackage_Begin:\n[Program]:%1\n[Source]:%2\n"
                             "Package_End:\n")
                         .arg(program, source)
                         .toUtf8()),
                 Test::Read_File(project).constData());
    }
    {
        Test::TEditor editor(build.Data());
        TBuildPackageWindow* window = Open_Window(editor);
        QCOMPARE(window->Program(), program);
        QCOMPARE(window->Source(), source);
    }
    QTemporaryDir other;
    Test::TEditor editor(other.path());
    {
        Test::TDialogAnswers answers({project});
        editor.Trigger("Open");
    }
    TBuildPackageWindow* window = Open_Window(editor);
    QCOMPARE(window->Program(), program);
    QCOMPARE(window->Source(), source);

    // The repository folder and the signing key come and go with the
    // project too.
    Test::Write_File(project, Test::Read_File(project).replace(
                                  "Package_End:", "[Repository]:/srv/packages\n"
                                                  "[Sign_Key]:packager@example.org\n"
                                                  "Package_End:"));
    QTemporaryDir third;
    Test::TEditor reopened(third.path());
    {
        Test::TDialogAnswers answers({project});
        reopened.Trigger("Open");
    }
    const TPackageSettings fields = Open_Window(reopened)->Fields();
    QCOMPARE(fields.Repository, QString("/srv/packages"));
    QCOMPARE(fields.Sign_Key, QString("packager@example.org"));
    const QString saved = build.Top() + "/saved.spec_data";
    {
        Test::TDialogAnswers answers({saved});
        reopened.Trigger("Save");
    }
    QVERIFY2(Test::Read_File(saved).contains("[Repository]:/srv/packages\n"
                                             "[Sign_Key]:packager@example.org\nPackage_End:"),
             Test::Read_File(saved).constData());
}

// The factory texts would ship: the window and the tool say so, and build
// all the same.
void TBuildPackageWindowTest::placeholdersAreWarnedOfNotRefused()
{
    Test::TFreshHome home;
    Test::TStandInBuild build;
    Test::TEditor editor(build.Data());
    editor.Check_Libraries({"lib"}, {build.Library()});
    TBuildPackageWindow* window = Open_Window(editor);
    const QStringList warnings = {
        "Warning: The \"Summary:\" variable is still the example \"summary of the program "
        "function\"; the package would ship it.",
        "Warning: The description is still the example \"Description of the program\"; the "
        "package would ship it.",
        "Warning: The \"URL:\" variable is still the example \"https://www.example.org\"; the "
        "package would ship it.",
        "Warning: The change log still holds the example entry \"* Sun Nov 6 2016 <author "
        "name>\"; the package would ship it."};
    QTRY_COMPARE_WITH_TIMEOUT(Listed(window), warnings.join('\n'), 30000);

    Set_Variable(editor.Panel<TVariablesWidget>(), "Summary:", "A demonstration");
    QTRY_COMPARE_WITH_TIMEOUT(Listed(window), warnings.mid(1).join('\n'), 30000);
    QVERIFY(Build_And_Wait(window));
    QVERIFY(QFileInfo::exists(build.Spec()));

    QProcess tool;
    tool.start(KV_CLI_PATH, {"package", "--data-folder", build.Data()});
    QVERIFY(tool.waitForFinished(60000));
    const QString told = QString::fromLocal8Bit(tool.readAllStandardError());
    QVERIFY2(told.contains("kestrelvantory-cli: warning: the \"URL:\" variable is still the "
                           "example \"https://www.example.org\""),
             qPrintable(told));
}

// Also after a progress dialog, which left the next box at the screen's
// corner.
void TBuildPackageWindowTest::dialogsOpenOverTheirWindow()
{
    Test::TFreshHome home;
    Test::TEditor editor;
    TKestrelvantory& window = editor.Window();
    window.setGeometry(60, 50, 600, 450);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    TProgressRun(&window, "Working").Run([](const TBundleProgress&) {});
    auto* box = new TMessageBox(&window);
    box->setObjectName("placed_box");
    box->setText("Placed");
    box->setStandardButtons(QMessageBox::Ok);
    TBoxAnswer answer("placed_box", "OK");
    box->exec();
    const QRect over = window.frameGeometry();
    QVERIFY2(over.contains(answer.Geometry.topLeft()) &&
                 over.contains(answer.Geometry.center()),
             qPrintable(QString("%1,%2 over %3,%4")
                            .arg(answer.Geometry.x())
                            .arg(answer.Geometry.y())
                            .arg(over.x())
                            .arg(over.y())));

    TBuildPackageWindow* build = Open_Window(editor);
    QVERIFY(QTest::qWaitForWindowExposed(build));
    QVERIFY(over.contains(build->frameGeometry().center()));
    QCOMPARE(box->windowTitle(), QString("Kestrelvantory"));
}

void TBuildPackageWindowTest::foldersAreMadeOnRequestAndToldWhenNotShown()
{
    QTemporaryDir folder;
    const QString missing = folder.path() + "/one/two";
    {
        TFolderDialog dialog(nullptr, "Select Libraries Path", folder.path());
        dialog.selectFile(missing);
        TBoxAnswer answer("make_folder_box", "&No");
        dialog.accept();
        QVERIFY(answer.Said.contains(QString("The folder \"%1\" does not exist. Make it?")
                                         .arg(missing)));
        QVERIFY(!QFileInfo::exists(folder.path() + "/one"));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }
    TFolderDialog dialog(nullptr, "Select Libraries Path", folder.path());
    dialog.selectFile(missing);
    TBoxAnswer answer("make_folder_box", "&Yes");
    dialog.accept();
    QVERIFY(QFileInfo(missing).isDir());
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(dialog.selectedFiles(), QStringList(missing));

    // No file manager to start: the folder is told, and its path copied.
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(folder.path()));
    qunsetenv("BROWSER");
    QWidget parent;
    TBoxAnswer told("open_folder_box", "Copy Path");
    const bool opened = Open_Folder(&parent, missing);
    qputenv("PATH", path);
    QVERIFY(!opened);
    QVERIFY2(told.Said.contains(missing), qPrintable(told.Said));
    QCOMPARE(QGuiApplication::clipboard()->text(), missing);
}

void TBuildPackageWindowTest::windowSpeaksItsOwnWords_data()
{
    QTest::addColumn<QString>("internal");
    QTest::addColumn<QString>("told");
    QTest::newRow("write") << "ERR  Cannot write file '/a/b.xml'.  Reason: No space left on device"
                           << "\"/a/b.xml\" could not be written: No space left on device.";
    QTest::newRow("open") << "ERR:  Cannot open file '/a/p.spec_data' for reading."
                          << "\"/a/p.spec_data\" could not be opened for reading.";
    QTest::newRow("header") << "ERR:  File is not a Kestrelvantory spec_data file."
                            << "The file is not a Kestrelvantory project: its first line is not "
                               "\"Kestrelvantory:Version=1:Type=Spec_Data\".";
    QTest::newRow("xml") << "ERR:  Reference /d/x.xml XML parse error at line 3 column 7: "
                            "unexpected end of file"
                         << "It is not readable XML (line 3, column 7): unexpected end of file.";
    QTest::newRow("other") << "ERR  Target name 'a/b' is not a plain file name."
                           << "Target name \"a/b\" is not a plain file name.";
    QTest::newRow("source option")
        << "the source tarball \"/t/SOURCES/a.tar.gz\" does not exist and no --source was given"
        << "The source tarball \"/t/SOURCES/a.tar.gz\" does not exist and the \"Source folder\" "
           "field is empty.";
    QTest::newRow("source folder") << "the source folder \"/s\" does not exist"
                                   << "The \"Source folder\" \"/s\" does not exist.";
    QTest::newRow("program") << "rpmbuild failed (exit status 1)"
                             << "rpmbuild failed (exit status 1).";
    QTest::newRow("apostrophes kept") << "the program's icon is the user's own"
                                      << "The program's icon is the user's own.";
}

void TBuildPackageWindowTest::windowSpeaksItsOwnWords()
{
    QFETCH(QString, internal);
    QFETCH(QString, told);
    QCOMPARE(Editor_Words(internal), told);
}

void TBuildPackageWindowTest::stepsFollowRpmbuildsLog()
{
    using namespace Build_Steps;
    int step = From_Run_Step(4);
    QCOMPARE(step, int(Prep));
    const QList<QPair<QString, int>> lines = {
        {"Executing(%prep): /bin/sh -e /var/tmp/rpm-tmp.1", Prep},
        {"+ cd /top/BUILD", Prep},
        {"Executing(%build): /bin/sh -e /var/tmp/rpm-tmp.2", Build},
        {"-- Executing(%prep) named inside a build line", Build},
        {"Executing(%install): /bin/sh -e /var/tmp/rpm-tmp.3", Install},
        {"Processing files: qtdemo-1.0-1.x86_64", Files},
        {"Executing(%prep): a second package's", Files},
        {"Checking for unpackaged file(s): /usr/lib/rpm/check-files", Files},
    };
    for (const auto& line : lines)
    {
        step = From_Log_Line(line.first, step);
        QVERIFY2(step == line.second, qPrintable(line.first));
    }
    QCOMPARE(From_Run_Step(5), int(Checks));
    QCOMPARE(Name(Build), QString("Compiling the program (%build)"));
}

void TBuildPackageWindowTest::sourceFolderIsFoundFromTheBuildFolder()
{
    QTemporaryDir folder;
    const QString source = folder.path() + "/app";
    QDir().mkpath(source + "/build-cmake/bin");
    QDir().mkpath(source + "/build-qmake");
    QDir().mkpath(folder.path() + "/loose");
    Test::Write_File(source + "/app.pro", "");
    Test::Write_File(source + "/build-cmake/CMakeCache.txt",
                     ("# This is the CMakeCache file.\nCMAKE_HOME_DIRECTORY:INTERNAL=" + source +
                      "\n")
                         .toUtf8());
    Test::Write_File(source + "/build-qmake/Makefile",
                     "# Generated by qmake\n# Project:  ../app.pro\n# Template: app\n");
    QCOMPARE(Guessed_Source_Folder(source + "/build-cmake/bin/app"), source);
    QCOMPARE(Guessed_Source_Folder(source + "/build-qmake/app"), source);
    QCOMPARE(Guessed_Source_Folder(source + "/app"), source);
    QCOMPARE(Guessed_Source_Folder(folder.path() + "/loose/app"), QString());
    QCOMPARE(Guessed_Source_Folder(QString()), QString());
}

QTEST_MAIN(TBuildPackageWindowTest)
#include "tst_buildpackagewindow.moc"
