#include <QtTest>

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

#include "expressionwidget.h"
#include "kestrelvantory.h"
#include "testsupport.h"

namespace
{
const QStringList Labels = {"Build Root Path:",       "CMake Bin Path:",
                            "QMake Bin Path:",        "Libraries Path:",
                            "Desktop Menu Path:",     "Target Install Path:",
                            "Target Desktop Menu Path:"};

const QStringList Factory_Values = {
    "%{buildroot}%{_libdir}/%{name}", "%{buildroot}%{_libdir}/%{name}/bin",
    "%{buildroot}%{_libdir}/%{name}", "%{_topdir}/shared_libs",
    "%{_topdir}/desktop_menu",        "%{_libdir}",
    "%{_datadir}"};

const QByteArray Factory_File =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
    "<Expression_Data File_Version=\"1\">\n"
    "    <Build_Path>%{buildroot}%{_libdir}/%{name}</Build_Path>\n"
    "    <CMake_Bin_Path>%{buildroot}%{_libdir}/%{name}/bin</CMake_Bin_Path>\n"
    "    <QMake_Bin_Path>%{buildroot}%{_libdir}/%{name}</QMake_Bin_Path>\n"
    "    <Library_Path>%{_topdir}/shared_libs</Library_Path>\n"
    "    <Desktop_Menu_Path>%{_topdir}/desktop_menu</Desktop_Menu_Path>\n"
    "    <Target_Install_Path>%{_libdir}</Target_Install_Path>\n"
    "    <Target_Desktop_Menu_Path>%{_datadir}</Target_Desktop_Menu_Path>\n"
    "</Expression_Data>\n";

// The seven accessors, in the order of the rows.
QStringList Accessed(const TExpressionsWidget* panel)
{
    return {panel->Build_Path(),          panel->CMake_Bin_Path(),
            panel->QMake_Bin_Path(),      panel->Library_Path(),
            panel->Desktop_Menu_Path(),   panel->Target_Install_Path(),
            panel->Target_Desktop_Menu_Path()};
}

// The labels and their line edits as the grid shows them, rows 1 to 7.
QList<QPair<QString, QLineEdit*>> Rows(const TExpressionsWidget* panel)
{
    auto* grid = qobject_cast<QGridLayout*>(panel->layout());
    QList<QPair<QString, QLineEdit*>> rows;
    for (int row = 1; row <= 7; ++row)
    {
        const auto* label = qobject_cast<QLabel*>(grid->itemAtPosition(row, 0)->widget());
        auto* edit = qobject_cast<QLineEdit*>(grid->itemAtPosition(row, 1)->widget());
        rows.append({label->text(), edit});
    }
    return rows;
}

QStringList Shown(const TExpressionsWidget* panel)
{
    QStringList shown;
    for (const auto& row : Rows(panel))
        shown.append(row.second->text());
    return shown;
}

void Type(const TExpressionsWidget* panel, const QStringList& values)
{
    const auto rows = Rows(panel);
    for (int i = 0; i < rows.size(); ++i)
    {
        rows[i].second->clear();
        QTest::keyClicks(rows[i].second, values[i]);
    }
}
}

class TExpressionsWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void firstStartShowsFactoryExpressions();
    void editedExpressionsSurviveRestart();
    void elementsAreLookedUpByName();
    void rejectedFilesRestoreAllFactoryValues_data();
    void rejectedFilesRestoreAllFactoryValues();
};

void TExpressionsWidgetTest::firstStartShowsFactoryExpressions()
{
    Test::TFreshHome home;
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    const auto* panel = window.findChild<TExpressionsWidget*>();

    QStringList labels;
    for (const auto& row : Rows(panel))
        labels.append(row.first);
    QCOMPARE(labels, Labels);
    QCOMPARE(Shown(panel), Factory_Values);
    QCOMPARE(Accessed(panel), Factory_Values);

    window.close();
    QCOMPARE(Test::Read_File(home.Data_Folder() + "/expressions.xml"), Factory_File);
}

void TExpressionsWidgetTest::editedExpressionsSurviveRestart()
{
    const QStringList edited = {"%{buildroot}/opt/<app>", "a & b", "", "%{_topdir}/libs",
                                " spaced ", "%{_prefix}", "\"%{_datadir}\" > 'x'"};
    Test::TFreshHome home;
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        Type(window.findChild<TExpressionsWidget*>(), edited);
        window.close();
    }
    const QByteArray stored = Test::Read_File(home.Data_Folder() + "/expressions.xml");
    QVERIFY(stored.contains("<Build_Path>%{buildroot}/opt/&lt;app></Build_Path>"));
    QVERIFY(stored.contains("<CMake_Bin_Path>a &amp; b</CMake_Bin_Path>"));

    for (int start = 0; start < 2; ++start)
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        QCOMPARE(Accessed(window.findChild<TExpressionsWidget*>()), edited);
        window.close();
    }
}

void TExpressionsWidgetTest::elementsAreLookedUpByName()
{
    QTemporaryDir folder;
    Test::Write_File(folder.filePath("expressions.xml"),
                     "<Expression_Data File_Version=\"1\">"
                     "<Target_Desktop_Menu_Path>g</Target_Desktop_Menu_Path>"
                     "<Target_Install_Path>f</Target_Install_Path>"
                     "<Desktop_Menu_Path>e</Desktop_Menu_Path>"
                     "<Unknown>x</Unknown>"
                     "<Library_Path>d</Library_Path>"
                     "<QMake_Bin_Path>c</QMake_Bin_Path>"
                     "<CMake_Bin_Path>b</CMake_Bin_Path>"
                     "<Build_Path>a</Build_Path>"
                     "</Expression_Data>");
    TExpressionsWidget panel(nullptr, Qt::WindowFlags());

    QVERIFY(panel.Load_Defaults(folder.path()));
    QCOMPARE(Accessed(&panel), QStringList({"a", "b", "c", "d", "e", "f", "g"}));
    QCOMPARE(Shown(&panel), Accessed(&panel));
}

void TExpressionsWidgetTest::rejectedFilesRestoreAllFactoryValues_data()
{
    QTest::addColumn<QByteArray>("file");

    QByteArray edited = Factory_File;
    edited.replace("%{_libdir}", "/usr/lib64");
    QByteArray lacking = edited;
    lacking.replace("    <Target_Desktop_Menu_Path>%{_datadir}</Target_Desktop_Menu_Path>\n", "");
    QTest::newRow("one expression missing") << lacking;
    QTest::newRow("version 2") << QByteArray(edited).replace("File_Version=\"1\"",
                                                             "File_Version=\"2\"");
    QTest::newRow("no version") << QByteArray(edited).replace(" File_Version=\"1\"", "");
    QTest::newRow("wrong root") << QByteArray(edited).replace("Expression_Data", "Options");
    QTest::newRow("malformed") << edited.left(edited.size() / 2);
}

void TExpressionsWidgetTest::rejectedFilesRestoreAllFactoryValues()
{
    QFETCH(QByteArray, file);
    QTemporaryDir folder;
    Test::Write_File(folder.filePath("expressions.xml"), file);
    TExpressionsWidget panel(nullptr, Qt::WindowFlags());
    Type(&panel, QStringList({"1", "2", "3", "4", "5", "6", "7"}));

    QVERIFY(!panel.Load_Defaults(folder.path()));
    QCOMPARE(Accessed(&panel), Factory_Values);
}

QTEST_MAIN(TExpressionsWidgetTest)
#include "tst_expressionswidget.moc"
