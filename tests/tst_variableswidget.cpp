#include <QtTest>

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include <functional>

#include "kestrelvantory.h"
#include "testsupport.h"
#include "variableeditor.h"
#include "variableswidget.h"

namespace
{
const QString Up = "Move selected variable up";
const QString Down = "Move selected variable down";
const QString Remove = "Remove selected variable";

const QStringList Factory_Rows = {
    "%define _topdir=%{getenv:HOME}/rpmbuild",
    "%define name=program_name",
    "%define release=1",
    "%define version=1.0",
    "%define buildroot=%{_topdir}/%{name}-%{version}-root",
    "Name:=%{name}",
    "Version:=%{version}",
    "Release:=%{release}",
    "Source:=%{name}-%{version}.tar.gz",
    "Summary:=summary of the program function",
    "License:=GPLv3+",
    "Group:=Applications",
    "URL:=https://www.example.org",
    "Requires:=glibc >= 2.31",
};

QTableWidget* Table(const TVariablesWidget* panel)
{
    return panel->findChild<QTableWidget*>();
}

// The rows as the table shows them, "name=value" each.
QStringList Table_Rows(const TVariablesWidget* panel)
{
    const QTableWidget* table = Table(panel);
    QStringList rows;
    for (int row = 0; row < table->rowCount(); ++row)
        rows << table->verticalHeaderItem(row)->text() + "=" + table->item(row, 0)->text();
    return rows;
}

// The rows as the spec writer and the project file read them.
QStringList Variable_Rows(TVariablesWidget* panel)
{
    panel->Update_Variables();
    QStringList rows;
    for (int index = 0; index < panel->Variable_Count(); ++index)
        rows << panel->Variable(index).Name + "=" + panel->Variable(index).Value;
    return rows;
}

QToolButton* Button(const TVariablesWidget* panel, const QString& tool_tip)
{
    for (QToolButton* button : panel->findChildren<QToolButton*>())
        if (button->toolTip() == tool_tip)
            return button;
    qFatal("no button \"%s\"", qPrintable(tool_tip));
}

QPlainTextEdit* Description_Box(const TVariablesWidget* panel)
{
    return panel->findChild<QPlainTextEdit*>();
}

QLineEdit* Line(const TVariableEditor* editor, const QString& name)
{
    return editor->findChild<QLineEdit*>(name);
}

QPushButton* Push(const TVariableEditor* editor, const QString& text)
{
    for (QPushButton* button : editor->findChildren<QPushButton*>())
        if (button->text() == text)
            return button;
    qFatal("no push button \"%s\"", qPrintable(text));
}

// Presses "Add new variable" and lets `answer` handle the modal dialog while
// it is open. A dialog that `answer` leaves open is cancelled.
void Answer_Add_Dialog(TVariablesWidget* panel,
                       const std::function<void(TVariableEditor*)>& answer)
{
    QTimer::singleShot(0, panel, [panel, &answer] {
        auto* editor = panel->findChild<TVariableEditor*>();
        QVERIFY(editor != nullptr && editor->isVisible());
        answer(editor);
        if (editor->isVisible())
            editor->reject();
    });
    Button(panel, "Add new variable")->click();
}

void Add(TVariablesWidget* panel, const QString& name, const QString& value)
{
    Answer_Add_Dialog(panel, [&](TVariableEditor* editor) {
        Line(editor, "Name")->setText(name);
        Line(editor, "Value")->setText(value);
        Push(editor, "Accept")->click();
    });
}

// Types `text` into the cell editor of `row` and leaves the editor open.
void Type_In_Cell(const TVariablesWidget* panel, int row, const QString& text)
{
    QTableWidget* table = Table(panel);
    table->setCurrentCell(row, 0);
    table->editItem(table->item(row, 0));
    auto* editor = table->viewport()->findChild<QLineEdit*>();
    QVERIFY(editor != nullptr);
    editor->setText(text);
}

void Select_Row(const TVariablesWidget* panel, int row)
{
    Table(panel)->setCurrentCell(row, 0);
}

QByteArray Variables_File(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + body;
}
}

class TVariablesWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void firstStartShowsTheFactoryList();
    void editsSurviveRestarts();
    void unusableFilesFallBackToTheFactoryList_data();
    void unusableFilesFallBackToTheFactoryList();
    void otherElementsAndEmptyTextsAreRead();

    void openCellEditIsStored();
    void movesKeepTheRowSelectedAndStopAtTheEnds();
    void moveAndRemoveNeedExactlyOneSelectedItem();
    void addDialogKeepsItsEntries();
    void projectFileAccessorsRebuildTheTable();

    void backupRestoresListAndDescription();
    void unusableBackupChangesNothing();

private:
    QString Folder() const { return d_folder->path(); }
    void Load(TVariablesWidget* panel, bool expected);

    std::unique_ptr<QTemporaryDir> d_folder;
};

void TVariablesWidgetTest::init()
{
    d_folder = std::make_unique<QTemporaryDir>();
}

void TVariablesWidgetTest::Load(TVariablesWidget* panel, bool expected)
{
    QCOMPARE(panel->Load_Defaults(Folder()), expected);
}

void TVariablesWidgetTest::firstStartShowsTheFactoryList()
{
    Test::TFreshHome home;
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    auto* panel = window.findChild<TVariablesWidget*>();
    QVERIFY(panel != nullptr);

    QCOMPARE(Table(panel)->columnCount(), 1);
    QCOMPARE(Table(panel)->horizontalHeaderItem(0)->text(), QString("Value"));
    QCOMPARE(Table_Rows(panel), Factory_Rows);
    QCOMPARE(Variable_Rows(panel), Factory_Rows);
    QCOMPARE(panel->Description(), QString("Description of the program"));
    QVERIFY(Description_Box(panel)->maximumHeight() <= 100);
    QVERIFY(!Button(panel, Up)->isEnabled());
    QVERIFY(!Button(panel, Down)->isEnabled());
    QVERIFY(!Button(panel, Remove)->isEnabled());

    QCOMPARE(panel->Load_Defaults(home.Data_Folder()), false);
    QCOMPARE(Table_Rows(panel), Factory_Rows);

    window.close();
    TVariablesWidget again(nullptr, Qt::WindowFlags());
    QCOMPARE(again.Load_Defaults(home.Data_Folder()), true);
    QCOMPARE(Table_Rows(&again), Factory_Rows);
}

void TVariablesWidgetTest::editsSurviveRestarts()
{
    Test::TFreshHome home;
    QStringList expected = Factory_Rows;
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        auto* panel = window.findChild<TVariablesWidget*>();
        Table(panel)->item(1, 0)->setText("kestrel <&> \"tools\"");
        expected[1] = "%define name=kestrel <&> \"tools\"";
        Add(panel, "Requires:", "zlib");
        Add(panel, "BuildRequires:", "gcc");
        expected << "Requires:=zlib" << "BuildRequires:=gcc";

        Select_Row(panel, 15);
        Button(panel, Up)->click();
        expected.swapItemsAt(14, 15);
        Select_Row(panel, 11);
        Button(panel, Remove)->click();
        expected.removeAt(11);

        Description_Box(panel)->setPlainText("First line\n  second line\n\nfourth line");
        window.close();
    }
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        auto* panel = window.findChild<TVariablesWidget*>();
        QCOMPARE(Table_Rows(panel), expected);
        QCOMPARE(panel->Description(), QString("First line\n  second line\n\nfourth line"));

        expected[0] = "%define _topdir=";
        Add(panel, " Packager: ", QString());
        expected << " Packager: =";
        Description_Box(panel)->clear();
        Type_In_Cell(panel, 0, QString());
        window.close();
    }
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    auto* panel = window.findChild<TVariablesWidget*>();
    QCOMPARE(Table_Rows(panel), expected);
    QCOMPARE(Variable_Rows(panel), expected);
    QCOMPARE(panel->Description(), QString());
}

void TVariablesWidgetTest::unusableFilesFallBackToTheFactoryList_data()
{
    QTest::addColumn<QByteArray>("body");
    const QByteArray variable = "<Variable><Name>Name:</Name><Value>kept</Value></Variable>";

    QTest::newRow("version 2") << Variables_File(
        "<Variable_Data File_Version=\"2\"><Description>d</Description><Variables>" + variable
        + "</Variables></Variable_Data>");
    QTest::newRow("no version") << Variables_File(
        "<Variable_Data><Description>d</Description><Variables>" + variable
        + "</Variables></Variable_Data>");
    QTest::newRow("wrong root") << Variables_File(
        "<Expression_Data File_Version=\"1\"><Description>d</Description><Variables>" + variable
        + "</Variables></Expression_Data>");
    QTest::newRow("no variable") << Variables_File(
        "<Variable_Data File_Version=\"1\"><Description>d</Description>"
        "<Variables><Other/></Variables></Variable_Data>");
    QTest::newRow("no description") << Variables_File(
        "<Variable_Data File_Version=\"1\"><Variables>" + variable + "</Variables></Variable_Data>");
    QTest::newRow("last value missing") << Variables_File(
        "<Variable_Data File_Version=\"1\"><Description>d</Description><Variables>" + variable
        + variable + "<Variable><Name>URL:</Name></Variable></Variables></Variable_Data>");
    QTest::newRow("malformed") << Variables_File(
        "<Variable_Data File_Version=\"1\"><Description>d</Description>");
}

void TVariablesWidgetTest::unusableFilesFallBackToTheFactoryList()
{
    QFETCH(QByteArray, body);
    Test::Write_File(Folder() + "/variables.xml", body);

    TVariablesWidget panel(nullptr, Qt::WindowFlags());
    Load(&panel, false);
    QCOMPARE(Table_Rows(&panel), Factory_Rows);
    QCOMPARE(Variable_Rows(&panel), Factory_Rows);
    QCOMPARE(panel.Description(), QString("Description of the program"));
}

void TVariablesWidgetTest::otherElementsAndEmptyTextsAreRead()
{
    Test::Write_File(Folder() + "/variables.xml",
                     Variables_File("<Variable_Data File_Version=\"1\">\n"
                                    "    <Description/>\n"
                                    "    <Variables>\n"
                                    "        <Variable><Name>A:</Name><Value>1</Value></Variable>\n"
                                    "        <Comment>not a variable</Comment>\n"
                                    "        <Variable><Name></Name><Value>2</Value></Variable>\n"
                                    "        <Variable><Name>C:</Name><Value/></Variable>\n"
                                    "    </Variables>\n"
                                    "</Variable_Data>\n"));

    TVariablesWidget panel(nullptr, Qt::WindowFlags());
    Load(&panel, true);
    const QStringList expected = {"A:=1", "=2", "C:="};
    QCOMPARE(Table_Rows(&panel), expected);
    QCOMPARE(Variable_Rows(&panel), expected);
    QCOMPARE(panel.Description(), QString());
}

void TVariablesWidgetTest::openCellEditIsStored()
{
    TVariablesWidget panel(nullptr, Qt::WindowFlags());
    Load(&panel, false);
    Type_In_Cell(&panel, 2, "7");
    QVERIFY(panel.Save_Defaults(Folder()));
    QCOMPARE(panel.Variable(2).Value, QString("7"));

    TVariablesWidget again(nullptr, Qt::WindowFlags());
    Load(&again, true);
    QCOMPARE(Table_Rows(&again)[2], QString("%define release=7"));
}

void TVariablesWidgetTest::movesKeepTheRowSelectedAndStopAtTheEnds()
{
    TVariablesWidget panel(nullptr, Qt::WindowFlags());
    Load(&panel, false);
    const int last = Factory_Rows.size() - 1;

    Select_Row(&panel, 0);
    QVERIFY(Button(&panel, Up)->isEnabled());
    Button(&panel, Up)->click();
    QCOMPARE(Table_Rows(&panel), Factory_Rows);

    QStringList expected = Factory_Rows;
    for (int row = 0; row < last; ++row)
    {
        Button(&panel, Down)->click();
        expected.move(row, row + 1);
        QCOMPARE(Table(&panel)->selectedItems().size(), 1);
        QCOMPARE(Table(&panel)->selectedItems().first()->row(), row + 1);
        QVERIFY(Button(&panel, Down)->isEnabled());
    }
    QCOMPARE(Table_Rows(&panel), expected);
    QCOMPARE(expected.last(), Factory_Rows.first());

    Button(&panel, Down)->click();
    QCOMPARE(Table_Rows(&panel), expected);

    Button(&panel, Up)->click();
    expected.move(last, last - 1);
    QCOMPARE(Table_Rows(&panel), expected);
    QCOMPARE(Table(&panel)->selectedItems().first()->row(), last - 1);
    QCOMPARE(Variable_Rows(&panel), expected);
}

void TVariablesWidgetTest::moveAndRemoveNeedExactlyOneSelectedItem()
{
    TVariablesWidget panel(nullptr, Qt::WindowFlags());
    Load(&panel, false);
    QTableWidget* table = Table(&panel);

    Select_Row(&panel, 3);
    table->selectionModel()->select(table->model()->index(5, 0), QItemSelectionModel::Select);
    QCOMPARE(table->selectedItems().size(), 2);
    QVERIFY(!Button(&panel, Up)->isEnabled());
    QVERIFY(!Button(&panel, Down)->isEnabled());
    QVERIFY(!Button(&panel, Remove)->isEnabled());

    table->clearSelection();
    QVERIFY(!Button(&panel, Remove)->isEnabled());

    Select_Row(&panel, 3);
    QVERIFY(Button(&panel, Remove)->isEnabled());
    Button(&panel, Remove)->click();
    QStringList expected = Factory_Rows;
    expected.removeAt(3);
    QCOMPARE(Table_Rows(&panel), expected);
    QCOMPARE(Variable_Rows(&panel), expected);
}

void TVariablesWidgetTest::addDialogKeepsItsEntries()
{
    TVariablesWidget panel(nullptr, Qt::WindowFlags());
    Load(&panel, false);

    Answer_Add_Dialog(&panel, [](TVariableEditor* editor) {
        QCOMPARE(editor->windowTitle(), QString("Variable Editor"));
        QVERIFY(!Push(editor, "Accept")->isEnabled());
        Line(editor, "Name")->setText("Summary:");
        QVERIFY(Push(editor, "Accept")->isEnabled());
        Push(editor, "Cancel")->click();
    });
    QCOMPARE(Table_Rows(&panel), Factory_Rows);

    Add(&panel, "BuildRequires:", "gcc");
    QCOMPARE(Table_Rows(&panel), Factory_Rows + QStringList("BuildRequires:=gcc"));

    Answer_Add_Dialog(&panel, [](TVariableEditor* editor) {
        QCOMPARE(editor->Name(), QString("BuildRequires:"));
        QCOMPARE(editor->Value(), QString("gcc"));
        QVERIFY(Push(editor, "Accept")->isEnabled());
        Line(editor, "Name")->clear();
        QVERIFY(!Push(editor, "Accept")->isEnabled());
        Line(editor, "Name")->setText("BuildRequires:");
        Push(editor, "Accept")->click();
    });
    const QStringList twice = {"BuildRequires:=gcc", "BuildRequires:=gcc"};
    QCOMPARE(Table_Rows(&panel), Factory_Rows + twice);
    QCOMPARE(panel.findChildren<TVariableEditor*>().size(), 1);
}

void TVariablesWidgetTest::projectFileAccessorsRebuildTheTable()
{
    TVariablesWidget panel(nullptr, Qt::WindowFlags());
    Load(&panel, false);

    panel.Clear_Variables();
    panel.Clear_Description();
    QCOMPARE(Table_Rows(&panel), Factory_Rows);
    panel.Add_Variable({"Name:", "tool"});
    panel.Add_Variable({"Name:", ""});
    panel.Add_Description_Line("one");
    panel.Add_Description_Line("");
    panel.Add_Description_Line("three");
    panel.Update_Table();

    const QStringList expected = {"Name:=tool", "Name:="};
    QCOMPARE(Table_Rows(&panel), expected);
    QCOMPARE(Variable_Rows(&panel), expected);
    QCOMPARE(Table(&panel)->horizontalHeaderItem(0)->text(), QString("Value"));
    QCOMPARE(panel.Description(), QString("one\n\nthree"));
}

void TVariablesWidgetTest::backupRestoresListAndDescription()
{
    TVariablesWidget panel(nullptr, Qt::WindowFlags());
    Load(&panel, false);
    Add(&panel, "Requires:", "zlib");
    Description_Box(&panel)->setPlainText("kept\nin the backup");
    const QStringList stored = Table_Rows(&panel);

    Button(&panel, "Save current variables to backup")->click();
    QVERIFY(QFileInfo::exists(Folder() + "/alternate_variables.xml"));
    QVERIFY(!QFileInfo::exists(Folder() + "/variables.xml"));

    Select_Row(&panel, 0);
    Button(&panel, Remove)->click();
    Table(&panel)->item(0, 0)->setText("changed");
    Description_Box(&panel)->setPlainText("changed");

    Button(&panel, "Load variables from backup")->click();
    QCOMPARE(Table_Rows(&panel), stored);
    QCOMPARE(Variable_Rows(&panel), stored);
    QCOMPARE(panel.Description(), QString("kept\nin the backup"));
}

void TVariablesWidgetTest::unusableBackupChangesNothing()
{
    TVariablesWidget panel(nullptr, Qt::WindowFlags());
    Load(&panel, false);
    Add(&panel, "Requires:", "zlib");
    Description_Box(&panel)->setPlainText("current");
    const QStringList current = Table_Rows(&panel);

    Button(&panel, "Load variables from backup")->click();
    QCOMPARE(Table_Rows(&panel), current);
    QCOMPARE(panel.Description(), QString("current"));

    Test::Write_File(Folder() + "/alternate_variables.xml",
                     Variables_File("<Variable_Data File_Version=\"2\"/>"));
    Button(&panel, "Load variables from backup")->click();
    QCOMPARE(Table_Rows(&panel), current);
    QCOMPARE(Variable_Rows(&panel), current);
    QCOMPARE(panel.Description(), QString("current"));
}

QTEST_MAIN(TVariablesWidgetTest)
#include "tst_variableswidget.moc"
