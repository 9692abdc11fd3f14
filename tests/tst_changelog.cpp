#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTableWidget>
#include <QtTest>

#include <clocale>

#include "spec/changelogentry.h"
#include "changelogwidget.h"
#include "kestrelvantory.h"
#include "optionswidget.h"
#include "spec/specmacros.h"
#include "testsupport.h"
#include "variableswidget.h"

#include <pwd.h>
#include <unistd.h>

namespace
{
const QString Factory_Lines = "# Newest revisions added to the top; oldest revisions at the bottom.\n"
                              "* Sun Nov 6 2016 <author name>\n"
                              "- Initial RPM release";

QPlainTextEdit* Editor(const TKestrelvantory& window)
{
    return window.findChild<TChangeLogWidget*>()->findChild<QPlainTextEdit*>();
}

// Replaces the change log as a user would: select everything, then type.
void Type_Change_Log(const TKestrelvantory& window, const QString& text)
{
    QPlainTextEdit* editor = Editor(window);
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    for (const QChar character : text)
    {
        if (character == '\n')
            QTest::keyClick(editor, Qt::Key_Return);
        else
            QTest::sendKeyEvent(QTest::Click, editor, Qt::Key_unknown, character, Qt::NoModifier);
    }
}

// Opens the editor on the current HOME, runs `act` on it and closes it.
template <typename TAction>
void Run_Editor(TAction act)
{
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    act(window);
    QVERIFY(window.close());
}

QString Changes_At_Next_Start()
{
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    return window.findChild<TChangeLogWidget*>()->Changes();
}

QLineEdit* Packager_Edit(const TKestrelvantory& window)
{
    for (const QLabel* label : window.findChild<TOptionsWidget*>()->findChildren<QLabel*>())
        if (label->text() == "Packager:")
            return qobject_cast<QLineEdit*>(label->buddy());
    qFatal("the Options tab has no packager");
}

void Click_New_Entry(const TKestrelvantory& window)
{
    window.findChild<TChangeLogWidget*>()->findChild<QPushButton*>()->click();
}

// What rpm reads from a spec with this change log: one line per entry, its
// day and name as rpm sees them, and what it complained of.
QString Rpm_Reading(const QString& change_log)
{
    QTemporaryDir folder;
    Test::Write_File(folder.filePath("log.spec"),
                     "Name: log\nVersion: 1\nRelease: 1\nSummary: s\nLicense: MIT\n"
                     "%description\nd\n%changelog\n" + change_log.toUtf8());
    QProcess rpmspec;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LC_ALL", "C");  // its messages as the checks below expect them
    rpmspec.setProcessEnvironment(environment);
    rpmspec.start("rpmspec", {"-q", "--qf", "[%{CHANGELOGTIME:day}|%{CHANGELOGNAME}\n]",
                              folder.filePath("log.spec")});
    if (!rpmspec.waitForFinished(60000))
        qFatal("rpmspec did not finish");
    return QString::fromUtf8(rpmspec.readAllStandardOutput() + rpmspec.readAllStandardError()) +
           QString("exit %1").arg(rpmspec.exitCode());
}

// The user's git settings in a fresh HOME, read from a folder outside any repository.
void Set_Git_User(const Test::TFreshHome& home, const QByteArray& settings)
{
    qputenv("GIT_CONFIG_NOSYSTEM", "1");
    QDir::setCurrent(home.Path());
    Test::Write_File(home.Path() + "/.gitconfig", "[user]\n" + settings);
}
}

class TChangeLogTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartShowsAndStoresTheFactoryLines();
    void severalLinesSurviveARestart();
    void emptiedLogComesBackAsFactoryLines();
    void typedBreakTagSplitsTheLineAfterARestart();
    void pastedTextKeepsEmojiAndLosesOnlyControlCharacters();
    void unusableFilesGiveTheFactoryLines();
    void projectReaderLinesFollowTheHeader();
    void entryHeadIsWhatRpmReadsWhateverTheLocale();
    void versionAndReleaseComeFromTheVariables();
    void newEntryGoesOnTopWithTheCursorOnItsFirstChange();
    void packagerComesFromGitThenLoginAndIsKept();
};

void TChangeLogTest::firstStartShowsAndStoresTheFactoryLines()
{
    Test::TFreshHome home;
    Run_Editor([](TKestrelvantory& window) {
        QCOMPARE(window.findChild<TChangeLogWidget*>()->Changes(), Factory_Lines);
        QPlainTextEdit* editor = Editor(window);
        QCOMPARE(editor->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(editor->font().fixedPitch());
    });
    QCOMPARE(Test::Read_File(home.Data_Folder() + "/changes.xml"),
             QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                        "<Change_Data File_Version=\"1\">\n"
                        "    <Text># Newest revisions added to the top; oldest revisions at the "
                        "bottom.&lt;br>* Sun Nov 6 2016 &lt;author name>&lt;br>- Initial RPM "
                        "release</Text>\n"
                        "</Change_Data>\n"));
}

void TChangeLogTest::severalLinesSurviveARestart()
{
    const QString log = "* Tue Mar 4 2025 Jörg <jorg@example.org>\n"
                        "- Ship the xcb plug-in & its <fonts>\n"
                        "\n"
                        "  - indented line with a very long tail that the editor does not wrap "
                        "but scrolls sideways\n"
                        "* Sun Nov 6 2016 <author name>";
    Test::TFreshHome home;
    Run_Editor([&](TKestrelvantory& window) { Type_Change_Log(window, log); });
    QCOMPARE(Changes_At_Next_Start(), log);
}

void TChangeLogTest::emptiedLogComesBackAsFactoryLines()
{
    Test::TFreshHome home;
    Run_Editor([](TKestrelvantory& window) { Type_Change_Log(window, "x"); });
    Run_Editor([](TKestrelvantory& window) { Type_Change_Log(window, ""); });
    QVERIFY(Test::Read_File(home.Data_Folder() + "/changes.xml").contains("<Text></Text>"));
    QCOMPARE(Changes_At_Next_Start(), Factory_Lines);
}

void TChangeLogTest::typedBreakTagSplitsTheLineAfterARestart()
{
    Test::TFreshHome home;
    Run_Editor([](TKestrelvantory& window) {
        Type_Change_Log(window, "- one<br>- two\n- kept <BR> whole");
    });
    QCOMPARE(Changes_At_Next_Start(), QString("- one\n- two\n- kept <BR> whole"));
}

// Pasted from a coloured terminal: the escape characters cannot be stored,
// but the rest of the log, emoji included, survives the restart.
void TChangeLogTest::pastedTextKeepsEmojiAndLosesOnlyControlCharacters()
{
    Test::TFreshHome home;
    Run_Editor([](TKestrelvantory& window) {
        Editor(window)->setPlainText(QString::fromUtf8("- Launch \xF0\x9F\x9A\x80\n- \x1b[32mgreen\x1b[0m"));
    });
    QCOMPARE(Changes_At_Next_Start(), QString::fromUtf8("- Launch \xF0\x9F\x9A\x80\n- [32mgreen[0m"));
}

void TChangeLogTest::unusableFilesGiveTheFactoryLines()
{
    const QList<QByteArray> files = {
        "<?xml version=\"1.0\"?>\n<Change_Data File_Version=\"2\"><Text>a</Text></Change_Data>",
        "<?xml version=\"1.0\"?>\n<Change_Data><Text>a</Text></Change_Data>",
        "<?xml version=\"1.0\"?>\n<Options File_Version=\"1\"><Text>a</Text></Options>",
        "<?xml version=\"1.0\"?>\n<Change_Data File_Version=\"1\"><Txt>a</Txt></Change_Data>",
        "<?xml version=\"1.0\"?>\n<Change_Data File_Version=\"1\"><Text>a</Text>",
    };
    QTemporaryDir folder;
    TChangeLogWidget panel(nullptr, Qt::WindowFlags());
    for (const QByteArray& contents : files)
    {
        Test::Write_File(folder.path() + "/changes.xml", contents);
        panel.Add_Changelog_Line("left over");
        QVERIFY2(!panel.Load_Defaults(folder.path()), contents.constData());
        QCOMPARE(panel.Changes(), Factory_Lines);
    }
    QVERIFY(!panel.Save_Defaults(folder.path() + "/missing"));
}

void TChangeLogTest::projectReaderLinesFollowTheHeader()
{
    TChangeLogWidget panel(nullptr, Qt::WindowFlags());
    panel.Add_Changelog_Line("stale");
    panel.Clear_Changelog();
    panel.Add_Changelog_Line("* Mon Jan 1 2024 A <a@b>");
    panel.Add_Changelog_Line("- Rebuilt");
    QCOMPARE(panel.Changes(),
             QString("# Newest revisions added to the top; oldest revisions at the bottom.\n"
                     "* Mon Jan 1 2024 A <a@b>\n- Rebuilt"));
}

// Run once more by ctest under a German system locale, where Qt's and the C
// library's dates are German.
void TChangeLogTest::entryHeadIsWhatRpmReadsWhateverTheLocale()
{
    if (qEnvironmentVariable("LC_ALL") == "de_DE.UTF-8")
    {
        QCOMPARE(QLocale::system().toString(QDate(2026, 12, 7), "ddd MMM"), QString("Mo. Dez."));
        QCOMPARE(QString(setlocale(LC_TIME, nullptr)), QString("de_DE.UTF-8"));
    }
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const struct
    {
        QDate Date;
        QString Packager;
        QString Head;
    } entries[] = {
        {QDate(2026, 12, 7), "Zoë Ray <zoe@example.org>",
         "* Mon Dec 07 2026 Zoë Ray <zoe@example.org> - 2.0-3"},
        {QDate(2024, 2, 29), "  packager   with  gaps ",
         "* Thu Feb 29 2024 packager with gaps - 2.0-3"},
        {QDate(2016, 11, 6), "", "* Sun Nov 06 2016 - 2.0-3"},
        {QDate(2000, 1, 1), "root", "* Sat Jan 01 2000 root - 2.0-3"},
        {QDate(1999, 12, 31), "   ", "* Fri Dec 31 1999 - 2.0-3"},
    };
    QString log;
    QString expected;
    for (const auto& entry : entries)
    {
        const QString head = Change_Log_Entry_Head(entry.Date, entry.Packager, "2.0-3");
        QCOMPARE(head, entry.Head);
        log += head + "\n- change\n\n";
        expected += head.mid(2, 15) + "|" + head.mid(18) + "\n";
    }
    QLocale::setDefault(QLocale::c());
    QCOMPARE(Rpm_Reading(log), expected + "exit 0");
    // The check itself: rpm tells a wrong weekday and a missing name.
    QVERIFY(Rpm_Reading("* Sun Dec 07 2026 A - 1\n- x\n").contains("bogus date"));
    QVERIFY(Rpm_Reading("* Mon Dec 07 2026\n- x\n").contains("missing name"));
}

void TChangeLogTest::versionAndReleaseComeFromTheVariables()
{
    const auto version_release = [](const std::vector<TSpecVariable>& variables) {
        return Package_Version_Release(variables);
    };
    // The factory variables: "%define" first, the tags refer to them.
    QCOMPARE(version_release({{"%define release", "1"}, {"%define version", "1.0"},
                              {"Version:", "%{version}"}, {"Release:", "%{release}"}}),
             QString("1.0-1"));
    // Chains of definitions, "%global", optional and unknown macros.
    QCOMPARE(version_release({{"%global major", "2"}, {"%define minor", "%{major}.4"},
                              {"%define version", "%{minor}.%{patch}"},
                              {"%define release", "7%{?dist}%{?snapshot}"},
                              {"%define snapshot", ".git%{commit}"}, {"%define commit", "abc"}}),
             QString("2.4.%{patch}-7.gitabc"));
    // Tags alone, with other letter case and spacing; the first definition counts.
    QCOMPARE(version_release({{"name:", "demo"}, {"VERSION: ", "%{name}-3"}, {"Release:", "2"},
                              {"Version:", "9"}}),
             QString("demo-3-2"));
    // A loop of definitions is followed until it comes back, then stops.
    QCOMPARE(version_release({{"%define version", "%{release}"}, {"%define release", "%{version}"},
                              {"Version:", "%{version}"}}),
             QString("%{release}-%{version}"));
    QCOMPARE(version_release({{"%define version", "1.0"}}), QString("1.0"));
}

void TChangeLogTest::newEntryGoesOnTopWithTheCursorOnItsFirstChange()
{
    Test::TFreshHome home;
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    auto* variables = window.findChild<TVariablesWidget*>();
    variables->Clear_Variables();
    variables->Add_Variable({"%define base", "4.2"});
    variables->Add_Variable({"Version:", "%{base}.1"});
    variables->Add_Variable({"Release:", "%{build}"});
    variables->Update_Table();
    // Typed into the table but not yet read back by the panel.
    variables->findChild<QTableWidget*>()->item(0, 0)->setText("5.0");
    Packager_Edit(window)->setText("Ana Lima <ana@example.org>");

    const QString head = "* " + QLocale::c().toString(QDate::currentDate(), "ddd MMM dd yyyy") +
                         " Ana Lima <ana@example.org> - 5.0.1-%{build}";
    Click_New_Entry(window);
    QPlainTextEdit* editor = Editor(window);
    const QString first = "# Newest revisions added to the top; oldest revisions at the bottom.\n" +
                          head + "\n- ";
    QCOMPARE(editor->toPlainText(),
             first + "\n\n* Sun Nov 6 2016 <author name>\n- Initial RPM release");
    QCOMPARE(editor->textCursor().position(), first.size());

    // Typing goes on the new line; a log of comments alone gets its entry below them.
    QTest::keyClicks(editor, "Fixed");
    QVERIFY(editor->toPlainText().contains(head + "\n- Fixed\n\n* Sun Nov 6 2016"));
    editor->setPlainText("# one\n# two");
    Click_New_Entry(window);
    QCOMPARE(editor->toPlainText(), "# one\n# two\n" + head + "\n- \n\n");
}

void TChangeLogTest::packagerComesFromGitThenLoginAndIsKept()
{
    const QString login = QString::fromLocal8Bit(::getpwuid(::geteuid())->pw_name);
    const QString old_folder = QDir::currentPath();
    {
        Test::TFreshHome home;
        Set_Git_User(home, "name = Ana Lima\nemail = ana@example.org\n");
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        QCOMPARE(Packager_Edit(window)->text(), QString("Ana Lima <ana@example.org>"));
    }
    Test::TFreshHome home;
    Set_Git_User(home, "");
    Run_Editor([&](TKestrelvantory& window) {
        QCOMPARE(Packager_Edit(window)->text(), login);
        Packager_Edit(window)->clear();
    });
    QDir::setCurrent(old_folder);
    qunsetenv("GIT_CONFIG_NOSYSTEM");
    QCOMPARE(QSettings(home.Data_Folder() + "/settings.ini", QSettings::IniFormat)
                 .value("Packager", "missing").toString(),
             QString());

    // An emptied packager is kept, and the entry still names no one.
    Set_Git_User(home, "name = Ana Lima\n");
    Run_Editor([](TKestrelvantory& window) {
        QVERIFY(Packager_Edit(window)->text().isEmpty());
        Click_New_Entry(window);
        QVERIFY(Editor(window)->toPlainText().contains(
            QRegularExpression("\n\\* \\w{3} \\w{3} \\d\\d \\d{4} - 1\\.0-1\n- \n\n")));
    });
    QDir::setCurrent(old_folder);
    qunsetenv("GIT_CONFIG_NOSYSTEM");
}

QTEST_MAIN(TChangeLogTest)
#include "tst_changelog.moc"
