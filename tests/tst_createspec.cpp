#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QtTest>

#include "changelogwidget.h"
#include "expressionwidget.h"
#include "kestrelvantory.h"
#include "datafiles/librariesfile.h"
#include "librarieswidget.h"
#include "messagearea.h"
#include "optionswidget.h"
#include "requireswidget.h"
#include "editordriver.h"
#include "spechighlighter.h"
#include "specpreview.h"
#include "standins.h"
#include "demospec.h"
#include "testsupport.h"
#include "datafiles/variabledata.h"
#include "variableswidget.h"

#include <sys/stat.h>

namespace
{

const QString Requires_Glibc = "Requires:                               glibc\n";
const QString Packager_Line =
    "Packager:                               Ana Lima <ana@example.org>\n";

// `text` with `from` replaced once; fails the test when `from` is missing.
QString Replaced(QString text, const QString& from, const QString& to)
{
    if (!text.contains(from))
        qFatal("expected text not found: %s", qPrintable(from));
    return text.replace(from, to);
}

// A folder that the user "nobody" may enter and read.
void Open_To_Everyone(const QString& path, mode_t mode = 0755)
{
    if (chmod(QFile::encodeName(path).constData(), mode) != 0)
        qFatal("cannot change the permissions of %s", qPrintable(path));
}

// The demo project: three variables (the version typed into the table),
// the packager, qmake, manual requirements, Qt Core in "lib", the xcb plug-in in
// "platforms" and a one-line change log.
void Fill_Demo(Test::TEditor& editor)
{
    auto* variables = editor.Panel<TVariablesWidget>();
    variables->Clear_Variables();
    variables->Add_Variable({"%define name", "demo"});
    variables->Add_Variable({"Name:", "%{name}"});
    variables->Add_Variable({"Version:", "0.9"});
    variables->Update_Table();
    variables->findChild<QTableWidget*>()->item(2, 0)->setText("1.0.0");
    variables->findChild<QPlainTextEdit*>()->setPlainText("Demo program.");

    editor.Options_Combo(0)->setCurrentText("Using QMake");
    editor.Options_Combo(1)->setCurrentText("Manually Update Requirements");
    editor.Panel<TOptionsWidget>()->Set_Packager("Ana Lima <ana@example.org>");

    editor.Check_Libraries({"lib", "platforms"}, {"libQt5Core.so.5.15.2", "libqxcb.so"});
    editor.Panel<TChangeLogWidget>()->findChild<QPlainTextEdit*>()->setPlainText("- First build");
}

// The requirements list of an earlier run, holding "glibc", which the
// Requires panel's own scans never record.
void Store_Demo_Requirements(const Test::TFreshHome& home)
{
    QDir().mkpath(home.Data_Folder());
    Test::Write_File(home.Data_Folder() + "/requires.xml",
                     "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                     "<Requires File_Version=\"1\"><Package><Name>glibc</Name><Libraries>"
                     "<Name>/lib/x86_64-linux-gnu/libc.so.6</Name></Libraries></Package>"
                     "</Requires>\n");
}

// A shared-libraries folder whose files the "ldd" stand-in lists.
void Write_Shared_Libraries(const QString& folder)
{
    QDir(folder).mkpath("lib");
    QDir(folder).mkpath("platforms");
    Test::Write_File(folder + "/lib/libQt5Core.so.5.15.2", Test::Listing({"/lib/libz.so.1"}));
    Test::Write_File(folder + "/platforms/libqxcb.so",
                     Test::Listing({"/lib/libxcb.so.1", "/lib/libz.so.1"}));
    Test::Write_File(folder + "/platforms/readme.txt", "Not a library.\n");
}

QStringList Files_In(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden);
}

// The text of the open preview window.
QPlainTextEdit* Preview_Text(Test::TEditor& editor)
{
    auto* preview = editor.Window().findChild<TSpecPreview*>();
    if (preview == nullptr || !preview->isVisible())
        qFatal("no preview is shown");
    return preview->findChild<QPlainTextEdit*>();
}

// How the preview shows the character at `column` of the first line that
// starts with `line_start`.
QTextCharFormat Format_At(const QPlainTextEdit* view, const QString& line_start, int column)
{
    for (QTextBlock block = view->document()->begin(); block.isValid(); block = block.next())
    {
        if (!block.text().startsWith(line_start))
            continue;
        for (const QTextLayout::FormatRange& range : block.layout()->formats())
            if (range.start <= column && column < range.start + range.length)
                return range.format;
        return QTextCharFormat();
    }
    qFatal("no line starts with %s", qPrintable(line_start));
}
}

class TCreateSpecTest : public QObject
{
    Q_OBJECT

private slots:
    void demoProjectWithQMake();
    void demoProjectWithCMakeAndItsOwnBinPath();

    void automaticModeWritesTheListScannedNow();
    void ignoredModeWritesOnlyTheVariables();
    void suffixIsAddedAndTheFolderRemembered();

    void projectWithOnlyPluginsLeavesTheEarlierFile();
    void unwritableFolderIsToldBeforeAnyScan();
    void unsafeNamesAreRefused_data();
    void unsafeNamesAreRefused();
    void injectedSectionIsRefusedWhenLoading();

    void previewShowsWhatCreateWritesAndFollowsThePanels();
    void previewTellsWhyCreateWouldRefuse();
};

void TCreateSpecTest::demoProjectWithQMake()
{
    Test::TFreshHome home;
    Store_Demo_Requirements(home);
    Test::TEditor editor;
    Fill_Demo(editor);
    Test::TDialogAnswers answers({home.Path() + "/demo.spec"});

    QCOMPARE(editor.Create(), "Spec file written to \"" + home.Path() + "/demo.spec\".");
    QCOMPARE(Test::Read_File(home.Path() + "/demo.spec"), Test::Demo_Spec.toUtf8());

    QCOMPARE(answers.Requests.size(), 1);
    QCOMPARE(answers.Requests[0].Kind, TFileDialogRequest::Save_File);
    QCOMPARE(answers.Requests[0].Caption, QString("Create Spec File"));
    QCOMPARE(answers.Requests[0].Folder, home.Path());
    QCOMPARE(answers.Requests[0].Filter, QString("SPEC (*.spec)"));
}

void TCreateSpecTest::demoProjectWithCMakeAndItsOwnBinPath()
{
    Test::TFreshHome home;
    Store_Demo_Requirements(home);
    Test::TEditor editor;
    Fill_Demo(editor);
    editor.Options_Combo(0)->setCurrentText("Using CMake");
    QCOMPARE(editor.Expression(1)->text(), QString("%{buildroot}%{_libdir}/%{name}/bin"));
    editor.Expression(1)->setText("%{buildroot}/opt/demo-build/bin");
    Test::TDialogAnswers answers({home.Path() + "/demo.spec"});

    QCOMPARE(editor.Create(), "Spec file written to \"" + home.Path() + "/demo.spec\".");
    QString expected =
        Replaced(Test::Demo_Spec, "qmake PREFIX=%{_libdir}/%{name}\n",
                 "cmake -DCMAKE_BUILD_TYPE=Release "
                 "-DCMAKE_INSTALL_PREFIX:PATH=%{_libdir}/%{name} .\n");
    expected = Replaced(expected, "make install INSTALL_ROOT=%{buildroot}\n",
                        "make install DESTDIR=%{buildroot}\n");
    expected = Replaced(expected,
                        "patchelf --set-rpath '%{_libdir}/%{name}/lib' "
                        "%{buildroot}%{_libdir}/%{name}/%{name}\n"
                        "echo '[Paths]' > %{buildroot}%{_libdir}/%{name}/qt.conf\n"
                        "echo 'Prefix = .' >> %{buildroot}%{_libdir}/%{name}/qt.conf\n"
                        "echo 'Plugins = .' >> %{buildroot}%{_libdir}/%{name}/qt.conf\n",
                        "patchelf --set-rpath '%{_libdir}/%{name}/lib' "
                        "%{buildroot}/opt/demo-build/bin/%{name}\n"
                        "echo '[Paths]' > %{buildroot}/opt/demo-build/bin/qt.conf\n"
                        "echo 'Prefix = %{_libdir}/%{name}' >> "
                        "%{buildroot}/opt/demo-build/bin/qt.conf\n"
                        "echo 'Plugins = .' >> %{buildroot}/opt/demo-build/bin/qt.conf\n");
    expected = Replaced(expected,
                        "ln -sfr %{buildroot}%{_libdir}/%{name}/%{name} %{buildroot}%{_bindir}/%{name}\n",
                        "ln -sfr %{buildroot}/opt/demo-build/bin/%{name} %{buildroot}%{_bindir}/%{name}\n");
    QCOMPARE(Test::Read_File(home.Path() + "/demo.spec"), expected.toUtf8());
}

// The panel still shows "glibc" from before; the file gets what a scan of
// the shared-libraries folder finds at the moment of writing, and the status
// bar tells that one file could not be examined.
void TCreateSpecTest::automaticModeWritesTheListScannedNow()
{
    Test::TFreshHome home;
    Test::TStandIns stand_ins;
    stand_ins.Set_Providers({{"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"},
                             {"/lib/libxcb.so.1", "libxcb1-1.15-1.x86_64"}});
    Write_Shared_Libraries(home.Path() + "/shared");
    Store_Demo_Requirements(home);
    Test::TEditor editor;
    Fill_Demo(editor);
    editor.Options_Combo(1)->setCurrentText("Automatically Update Requirements");
    Test::TDialogAnswers answers({home.Path() + "/shared", home.Path() + "/demo.spec"});
    editor.Browse_Shared_Libs_Path();

    QCOMPARE(editor.Create(), "Spec file written to \"" + home.Path() +
                                  "/demo.spec\". The requirements scan was incomplete: 1 file "
                                  "could not be examined.");
    QCOMPARE(Test::Read_File(home.Path() + "/demo.spec"),
             Replaced(Test::Demo_Spec, Requires_Glibc,
                      "Requires:                               zlib\n"
                      "Requires:                               libxcb1\n")
                 .toUtf8());
    QCOMPARE(editor.Panel<TRequiresWidget>()->Required_Packages(),
             QStringList({"zlib", "libxcb1"}));
    QCOMPARE(stand_ins.Listed_Files().size(), 3);
}

void TCreateSpecTest::ignoredModeWritesOnlyTheVariables()
{
    Test::TFreshHome home;
    Store_Demo_Requirements(home);
    Test::TEditor editor;
    Fill_Demo(editor);
    auto* variables = editor.Panel<TVariablesWidget>();
    variables->Update_Variables();
    variables->Add_Variable({"Requires:", "bash"});
    variables->Update_Table();
    editor.Options_Combo(1)->setCurrentText("Ignore Requirements");
    Test::TDialogAnswers answers({home.Path() + "/demo.spec"});

    editor.Create();
    QCOMPARE(Test::Read_File(home.Path() + "/demo.spec"),
             Replaced(Test::Demo_Spec, Packager_Line + Requires_Glibc,
                      "Requires:                               bash\n" + Packager_Line)
                 .toUtf8());
}

// Each dialog starts in the folder of the file chosen last; a cancelled one
// changes nothing.
void TCreateSpecTest::suffixIsAddedAndTheFolderRemembered()
{
    Test::TFreshHome home;
    QDir(home.Path()).mkpath("one");
    QDir(home.Path()).mkpath("two");
    Store_Demo_Requirements(home);
    Test::TEditor editor;
    Fill_Demo(editor);
    Test::TDialogAnswers answers({home.Path() + "/one/program", home.Path() + "/two/program.Spec"});

    editor.Create();
    editor.Create();
    const QString status = editor.Create();
    editor.Create();

    QCOMPARE(Files_In(home.Path() + "/one"), QStringList({"program.spec"}));
    QCOMPARE(Files_In(home.Path() + "/two"), QStringList({"program.Spec"}));
    QCOMPARE(Test::Read_File(home.Path() + "/two/program.Spec"), Test::Demo_Spec.toUtf8());
    QCOMPARE(status, "Spec file written to \"" + home.Path() + "/two/program.Spec\".");
    QCOMPARE(answers.Requests.size(), 4);
    QCOMPARE(answers.Requests[0].Folder, home.Path());
    QCOMPARE(answers.Requests[1].Folder, home.Path() + "/one");
    QCOMPARE(answers.Requests[2].Folder, home.Path() + "/two");
    QCOMPARE(answers.Requests[3].Folder, home.Path() + "/two");
}

void TCreateSpecTest::projectWithOnlyPluginsLeavesTheEarlierFile()
{
    Test::TFreshHome home;
    Test::Write_File(home.Path() + "/demo.spec", "earlier\n");
    Store_Demo_Requirements(home);
    Test::TEditor editor;
    Fill_Demo(editor);
    editor.Check_Libraries({"platforms"}, {"libQt5Core.so.5.15.2", "libqxcb.so"});
    Test::TDialogAnswers answers({home.Path() + "/demo"});

    QVERIFY(editor.Create().startsWith("The spec file \"" + home.Path() +
                                       "/demo.spec\" was not written: ERR  Library path name "
                                       "not found. No active target holds"));
    QCOMPARE(Test::Read_File(home.Path() + "/demo.spec"), QByteArray("earlier\n"));
    QCOMPARE(Files_In(home.Path()), QStringList({"demo.spec"}));
}

// Runs as "nobody" so that the folder's permissions count. The second Create,
// into a writable folder, shows that the stand-ins do answer that user.
void TCreateSpecTest::unwritableFolderIsToldBeforeAnyScan()
{
    Test::TFreshHome home;
    Test::TStandIns stand_ins;
    stand_ins.Set_Providers({{"/lib/libz.so.1", "zlib-1.2.13-1.x86_64"}});
    QTemporaryDir folder;
    Open_To_Everyone(folder.path());
    Write_Shared_Libraries(folder.path() + "/shared");
    Open_To_Everyone(folder.path() + "/shared");
    Open_To_Everyone(folder.path() + "/shared/lib");
    Open_To_Everyone(folder.path() + "/shared/platforms");
    QDir(folder.path()).mkpath("read-only");
    Open_To_Everyone(folder.path() + "/read-only", 0555);
    QDir(folder.path()).mkpath("writable");
    Open_To_Everyone(folder.path() + "/writable", 0777);

    Store_Demo_Requirements(home);
    Test::TEditor editor;
    Fill_Demo(editor);
    editor.Options_Combo(1)->setCurrentText("Automatically Update Requirements");
    const QString refused = folder.path() + "/read-only/demo.spec";
    Test::TDialogAnswers answers(
        {folder.path() + "/shared", refused, folder.path() + "/writable/demo.spec"});
    editor.Browse_Shared_Libs_Path();

    Test::TUnprivileged nobody;
    const QString status = editor.Create();
    QVERIFY2(status.startsWith("The spec file \"" + refused + "\" was not written: ERR  Cannot "
                               "write file '" + refused + "'.  Reason: "),
             qPrintable(status));
    QCOMPARE(Files_In(folder.path() + "/read-only"), QStringList());
    QCOMPARE(stand_ins.Listed_Files(), QStringList());
    QCOMPARE(editor.Panel<TRequiresWidget>()->Required_Packages(), QStringList({"glibc"}));

    editor.Create();
    QCOMPARE(stand_ins.Listed_Files().size(), 3);
    QCOMPARE(editor.Panel<TRequiresWidget>()->Required_Packages(), QStringList({"zlib"}));
}

void TCreateSpecTest::unsafeNamesAreRefused_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("error");

    QTest::newRow("parent folder")
        << ".." << "libqxcb.so" << "ERR  Target name '..' is not a plain file name.";
    QTest::newRow("space") << "platforms" << "a b"
                           << "ERR  Library name 'a b' of target 'platforms' is not a plain file "
                              "name.";
    QTest::newRow("semicolon")
        << "x;y" << "libqxcb.so" << "ERR  Target name 'x;y' is not a plain file name.";
}

// Such names come only from a stored "libraries.xml"; they load, and Create
// refuses them.
void TCreateSpecTest::unsafeNamesAreRefused()
{
    QFETCH(QString, target);
    QFETCH(QString, library);
    QFETCH(QString, error);

    Test::TFreshHome home;
    QDir().mkpath(home.Data_Folder());
    TLibrariesFile::Write(home.Data_Folder(), {{"lib", true}, {target, true}},
                          {{"lib", "libQt5Core.so.5.15.2", TTypes::Library_Dylib, true},
                           {target, library, TTypes::Library_Plugin, true}});
    Test::TEditor editor;
    editor.Options_Combo(1)->setCurrentText("Manually Update Requirements");
    Test::TDialogAnswers answers({home.Path() + "/demo.spec"});

    QCOMPARE(editor.Create(),
             "The spec file \"" + home.Path() + "/demo.spec\" was not written: " + error);
    QCOMPARE(Files_In(home.Path()), QStringList());
}

void TCreateSpecTest::previewShowsWhatCreateWritesAndFollowsThePanels()
{
    Test::TFreshHome home;
    Store_Demo_Requirements(home);
    Test::TEditor editor;
    Fill_Demo(editor);
    editor.Trigger("Preview");
    QPlainTextEdit* view = Preview_Text(editor);
    QCOMPARE(view->toPlainText(), Test::Demo_Spec);
    QVERIFY(view->isReadOnly());
    QVERIFY(view->font().fixedPitch());
    QVERIFY(view->textInteractionFlags() & Qt::TextSelectableByKeyboard);

    QCOMPARE(Format_At(view, "%install", 0).fontWeight(), int(QFont::Bold));
    QCOMPARE(Format_At(view, "%changelog", 9), TSpecHighlighter::Section_Format());
    QCOMPARE(Format_At(view, "%define name", 3), TSpecHighlighter::Macro_Format());
    QCOMPARE(Format_At(view, "ln -sfr %{buildroot}", 8), TSpecHighlighter::Macro_Format());
    QCOMPARE(Format_At(view, "ln -sfr %{buildroot}", 5), QTextCharFormat());
    QCOMPARE(Format_At(view, "make install", 0), QTextCharFormat());

    // A change shows once the user pauses, including a value typed into the
    // variables table that the panel has not read back yet.
    editor.Panel<TVariablesWidget>()->findChild<QPlainTextEdit*>()->setPlainText("Changed.");
    editor.Panel<TVariablesWidget>()->findChild<QTableWidget*>()->item(2, 0)->setText("1.1.0");
    QCOMPARE(view->toPlainText(), Test::Demo_Spec);
    const QString changed =
        Replaced(Replaced(Test::Demo_Spec, "Demo program.", "Changed."), "1.0.0", "1.1.0");
    QTRY_COMPARE(view->toPlainText(), changed);

    Test::TDialogAnswers answers({home.Path() + "/demo.spec"});
    editor.Create();
    QCOMPARE(Test::Read_File(home.Path() + "/demo.spec"), view->toPlainText().toUtf8());

    // Closed, it is brought back with what the panels hold then.
    editor.Window().findChild<TSpecPreview*>()->close();
    editor.Panel<TChangeLogWidget>()->findChild<QPlainTextEdit*>()->setPlainText("- Second build");
    editor.Trigger("Preview");
    QCOMPARE(Preview_Text(editor)->toPlainText(),
             Replaced(changed, "- First build", "- Second build"));
    QCOMPARE(editor.Window().findChildren<TSpecPreview*>().size(), 1);
}

void TCreateSpecTest::previewTellsWhyCreateWouldRefuse()
{
    Test::TFreshHome home;
    Store_Demo_Requirements(home);
    Test::TEditor editor;
    Fill_Demo(editor);
    editor.Trigger("Preview");
    QPlainTextEdit* view = Preview_Text(editor);

    editor.Check_Libraries({"platforms"}, {"libQt5Core.so.5.15.2", "libqxcb.so"});
    QTRY_VERIFY(view->toPlainText().startsWith("ERR  Library path name not found. No active "
                                               "target holds a versioned shared library"));
    QVERIFY(view->toPlainText().contains("\"platforms\" ("));
    Test::TDialogAnswers answers({home.Path() + "/demo.spec"});
    QVERIFY(editor.Create().endsWith(" was not written: " + view->toPlainText()));

    editor.Check_Libraries({"lib", "platforms"}, {"libQt5Core.so.5.15.2", "libqxcb.so"});
    QTRY_COMPARE(view->toPlainText(), Test::Demo_Spec);
}

// A value with a line break in a stored file refuses the file: the panel
// starts from its factory contents, the file is kept aside, and nothing of
// the value reaches a spec.
void TCreateSpecTest::injectedSectionIsRefusedWhenLoading()
{
    Test::TFreshHome home;
    QDir().mkpath(home.Data_Folder());
    TVariableData data = TVariablesFile::Factory_Data();
    QCOMPARE(data.Variables[9].Name, QString("Summary:"));
    data.Variables[9].Value = "summary\n%pre\nrm -rf /";
    TVariablesFile::Write(home.Data_Folder(), data);

    Test::TEditor editor;
    const QString listed = editor.Window().findChild<TMessageArea*>()->Text();
    QVERIFY2(listed.contains("\"variables.xml\" (kept as"), qPrintable(listed));
    editor.Panel<TVariablesWidget>()->Update_Variables();
    QCOMPARE(editor.Panel<TVariablesWidget>()->Variable(9).Value,
             TVariablesFile::Factory_Data().Variables[9].Value);
    editor.Options_Combo(1)->setCurrentText("Manually Update Requirements");
    const QString file_name = home.Path() + "/demo.spec";
    Test::TDialogAnswers answers({file_name});
    QVERIFY(editor.Create().startsWith("Spec file written"));
    QVERIFY(!Test::Read_File(file_name).contains("\n%pre\n"));
}

QTEST_MAIN(TCreateSpecTest)
#include "tst_createspec.moc"
