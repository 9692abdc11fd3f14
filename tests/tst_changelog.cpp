#include <QPlainTextEdit>
#include <QtTest>

#include "changelogwidget.h"
#include "kestrelvantory.h"
#include "testsupport.h"

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

QTEST_MAIN(TChangeLogTest)
#include "tst_changelog.moc"
