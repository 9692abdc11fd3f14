#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "libraryeditdialog.h"

namespace
{
const QStringList Known_Targets = {"lib", "platforms", "lib dir"};
const QString Only_Plain = "may hold only letters, digits and . _ + - , @.";

// The dialog's widgets, found as the user meets them.
struct TDialog
{
    TDialog()
        : Dialog(nullptr, Qt::WindowFlags()),
          Target(Dialog.findChild<QLineEdit*>("target_name")),
          Library(Dialog.findChild<QLineEdit*>("library_name")),
          Type(Dialog.findChild<QComboBox*>("library_type")),
          Accept(Dialog.findChild<QPushButton*>("accept")),
          Cancel(Dialog.findChild<QPushButton*>("cancel")),
          Problem(Dialog.findChild<QLabel*>("problem"))
    {
    }

    QLabel* Label(const QString& text) const
    {
        for (QLabel* label : Dialog.findChildren<QLabel*>())
        {
            if (label->text() == text)
                return label;
        }
        qFatal("no label %s", qPrintable(text));
    }

    TLibraryEditDialog Dialog;
    QLineEdit* Target;
    QLineEdit* Library;
    QComboBox* Type;
    QPushButton* Accept;
    QPushButton* Cancel;
    QLabel* Problem;
};

// Replaces the field's text by typing, as the user does.
void Type_Into(QLineEdit* field, const QString& text)
{
    field->selectAll();
    if (field->hasSelectedText())
        QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// Which of the three fields, with their labels, can be edited.
QString Enabled_Fields(const TDialog& dialog)
{
    QString fields;
    const bool target = dialog.Target->isEnabled();
    const bool library = dialog.Library->isEnabled();
    const bool type = dialog.Type->isEnabled();
    if (dialog.Label("Target Name:")->isEnabled() != target ||
        dialog.Label("Library Name:")->isEnabled() != library ||
        dialog.Label("Library Type:")->isEnabled() != type)
        return "label differs from field";
    return QString(target ? "T" : "-") + (library ? "L" : "-") + (type ? "Y" : "-");
}
}

class TLibraryEditDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void newDialogRefusesUntilEdited();
    void addTargetRefusesKnownTargetsInAnyCase();
    void libraryModesNeedKnownTargetAndSo_data();
    void libraryModesNeedKnownTargetAndSo();
    void versionModeChecksOnlyTheLibraryName();
    void resetAndSettersKeepEntriesAndAccept();
    void returnKeyAcceptsNothing();
    void unsafeNamesAreRefusedWithTheReason_data();
    void unsafeNamesAreRefusedWithTheReason();
};

void TLibraryEditDialogTest::newDialogRefusesUntilEdited()
{
    TDialog dialog;
    QCOMPARE(dialog.Dialog.windowTitle(), QString("Library Editor"));
    QCOMPARE(dialog.Dialog.size(), QSize(409, 226));
    QVERIFY(!dialog.Accept->isEnabled());
    QVERIFY(dialog.Cancel->isEnabled());
    QCOMPARE(dialog.Type->count(), 2);
    QCOMPARE(dialog.Type->itemText(0), QString("Library"));
    QCOMPARE(dialog.Type->itemData(0).toInt(), int(TTypes::Library_Dylib));
    QCOMPARE(dialog.Type->itemText(1), QString("Plugin"));
    QCOMPARE(dialog.Type->itemData(1).toInt(), int(TTypes::Library_Plugin));
    QCOMPARE(dialog.Label("Target Name:")->alignment(), Qt::AlignRight | Qt::AlignVCenter);

    // Before the first Reset the dialog works as for a new target.
    Type_Into(dialog.Target, "mytarget");
    QVERIFY(dialog.Accept->isEnabled());
    QCOMPARE(dialog.Dialog.Data().Target_Name, QString("mytarget"));
}

void TLibraryEditDialogTest::addTargetRefusesKnownTargetsInAnyCase()
{
    TDialog dialog;
    dialog.Dialog.Reset(TTypes::Editor_Add_Target, Known_Targets);
    QCOMPARE(dialog.Dialog.windowTitle(), QString("Add Target"));
    QCOMPARE(Enabled_Fields(dialog), QString("T--"));

    Type_Into(dialog.Target, "platforms");
    QVERIFY(!dialog.Accept->isEnabled());
    Type_Into(dialog.Target, "PLATFORMS");
    QVERIFY(!dialog.Accept->isEnabled());
    Type_Into(dialog.Target, "mytarget");
    QVERIFY(dialog.Accept->isEnabled());
    QCOMPARE(dialog.Problem->text(), QString());
    Type_Into(dialog.Target, "");
    QVERIFY(!dialog.Accept->isEnabled());

    // A library left in the dialog plays no part in a new target.
    dialog.Dialog.Set_Library_Name("libfoo.so");
    dialog.Dialog.Set_Library_Type(TTypes::Library_Plugin);
    Type_Into(dialog.Target, "Styles");
    const TLibraryEditDialog::TData data = dialog.Dialog.Data();
    QCOMPARE(data.Target_Name, QString("Styles"));
    QCOMPARE(data.Library_Name, QString());
    QCOMPARE(data.Library_Type, TTypes::Library_Dylib);
}

void TLibraryEditDialogTest::libraryModesNeedKnownTargetAndSo_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("library");
    QTest::addColumn<bool>("accepted");
    for (const int mode : {TTypes::Editor_Add_Library, TTypes::Editor_Edit_Library})
    {
        const QByteArray prefix = mode == TTypes::Editor_Add_Library ? "add: " : "edit: ";
        auto row = [&](const char* name) -> QTestData& { return QTest::newRow(prefix + name) << mode; };
        row("known target") << "lib" << "libfoo.so" << true;
        row("target in other case") << "LIB" << "libfoo.so" << true;
        row("unknown target") << "mytarget" << "libfoo.so" << false;
        row("empty target") << "" << "libfoo.so" << false;
        row("target with a space") << " lib" << "libfoo.so" << false;
        row("upper-case SO") << "lib" << "libfoo.SO.1" << false;
        row("versioned") << "lib" << "libfoo.so.1.2.3" << true;
        row("so inside") << "lib" << "libfoo.sox" << true;
        row("no so") << "lib" << "libfoo" << false;
    }
}

void TLibraryEditDialogTest::libraryModesNeedKnownTargetAndSo()
{
    QFETCH(int, mode);
    QFETCH(QString, target);
    QFETCH(QString, library);
    QFETCH(bool, accepted);
    TDialog dialog;
    dialog.Dialog.Reset(TTypes::TEditorType(mode), Known_Targets);
    QCOMPARE(dialog.Dialog.windowTitle(),
             QString(mode == TTypes::Editor_Add_Library ? "Add Library" : "Edit Library"));
    QCOMPARE(Enabled_Fields(dialog), QString("TLY"));

    // The order of typing does not matter.
    Type_Into(dialog.Library, library);
    Type_Into(dialog.Target, target);
    QCOMPARE(dialog.Accept->isEnabled(), accepted);
    Type_Into(dialog.Target, "");
    Type_Into(dialog.Library, "");
    Type_Into(dialog.Target, target);
    Type_Into(dialog.Library, library);
    QCOMPARE(dialog.Accept->isEnabled(), accepted);
    QCOMPARE(dialog.Dialog.Entries_Acceptable(), accepted);

    dialog.Type->setCurrentIndex(1);
    const TLibraryEditDialog::TData data = dialog.Dialog.Data();
    QCOMPARE(data.Target_Name, target);
    QCOMPARE(data.Library_Name, library);
    QCOMPARE(data.Library_Type, TTypes::Library_Plugin);
}

void TLibraryEditDialogTest::versionModeChecksOnlyTheLibraryName()
{
    TDialog dialog;
    dialog.Dialog.Reset(TTypes::Editor_Edit_Library_Version, Known_Targets);
    QCOMPARE(dialog.Dialog.windowTitle(), QString("Edit Library Version"));
    QCOMPARE(Enabled_Fields(dialog), QString("-L-"));

    dialog.Dialog.Set_Target_Name("");
    Type_Into(dialog.Library, "libfoo.so.1");
    QVERIFY(dialog.Accept->isEnabled());
    dialog.Dialog.Set_Target_Name("no such target");
    Type_Into(dialog.Library, "libfoo");
    QVERIFY(!dialog.Accept->isEnabled());

    // The text only carries the version, so it is not checked as a name.
    Type_Into(dialog.Library, "<library_name>.so.2.0.0");
    QVERIFY(dialog.Accept->isEnabled());
    QCOMPARE(dialog.Problem->text(), QString());
    QCOMPARE(dialog.Dialog.Data().Library_Name, QString("<library_name>.so.2.0.0"));
}

void TLibraryEditDialogTest::resetAndSettersKeepEntriesAndAccept()
{
    TDialog dialog;
    dialog.Dialog.Reset(TTypes::Editor_Add_Library, Known_Targets);
    Type_Into(dialog.Target, "lib");
    Type_Into(dialog.Library, "libfoo.so");
    dialog.Dialog.Set_Library_Type(TTypes::Library_Plugin);
    QCOMPARE(dialog.Type->currentText(), QString("Plugin"));
    QVERIFY(dialog.Accept->isEnabled());

    dialog.Dialog.Reset(TTypes::Editor_Add_Target, Known_Targets);
    QCOMPARE(dialog.Target->text(), QString("lib"));
    QCOMPARE(dialog.Library->text(), QString("libfoo.so"));
    QCOMPARE(dialog.Type->currentText(), QString("Plugin"));
    QVERIFY(dialog.Accept->isEnabled());
    QVERIFY(!dialog.Dialog.Entries_Acceptable());

    dialog.Dialog.Reset(TTypes::Editor_Edit_Library, Known_Targets);
    dialog.Dialog.Set_Target_Name("unknown");
    dialog.Dialog.Set_Library_Name("nothing");
    QVERIFY(dialog.Accept->isEnabled());
    QVERIFY(!dialog.Dialog.Entries_Acceptable());
    Type_Into(dialog.Library, "still nothing");
    QVERIFY(!dialog.Accept->isEnabled());
    dialog.Dialog.Set_Target_Name("lib");
    dialog.Dialog.Set_Library_Name("libbar.so");
    QVERIFY(!dialog.Accept->isEnabled());
    QVERIFY(dialog.Dialog.Entries_Acceptable());

    dialog.Dialog.Set_Library_Type(TTypes::Library_Dylib);
    QCOMPARE(dialog.Type->currentText(), QString("Library"));
    QCOMPARE(dialog.Dialog.Data().Library_Type, TTypes::Library_Dylib);
    dialog.Dialog.Set_Library_Type(TTypes::TLibraryType(7));
    QCOMPARE(dialog.Type->currentText(), QString("Library"));
}

void TLibraryEditDialogTest::returnKeyAcceptsNothing()
{
    TDialog dialog;
    dialog.Dialog.Reset(TTypes::Editor_Add_Target, Known_Targets);
    dialog.Dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog.Dialog));
    dialog.Target->setFocus();
    Type_Into(dialog.Target, "mytarget");
    QVERIFY(dialog.Accept->isEnabled());

    QTest::keyClick(dialog.Target, Qt::Key_Return);
    QTest::keyClick(dialog.Target, Qt::Key_Enter);
    dialog.Accept->setFocus();
    QTest::keyClick(dialog.Accept, Qt::Key_Return);
    dialog.Cancel->setFocus();
    QTest::keyClick(dialog.Cancel, Qt::Key_Return);
    QVERIFY(dialog.Dialog.isVisible());

    QTest::mouseClick(dialog.Accept, Qt::LeftButton);
    QVERIFY(!dialog.Dialog.isVisible());
    QCOMPARE(dialog.Dialog.result(), int(QDialog::Accepted));
}

void TLibraryEditDialogTest::unsafeNamesAreRefusedWithTheReason_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("library");
    QTest::addColumn<QString>("problem");
    const int add_target = TTypes::Editor_Add_Target;
    const int add_library = TTypes::Editor_Add_Library;
    const int edit_library = TTypes::Editor_Edit_Library;
    QTest::newRow("target with a space") << add_target << "my dir" << ""
                                         << "Target name " + Only_Plain;
    QTest::newRow("target dot dot") << add_target << ".." << ""
                                    << "Target name must not be \".\" or \"..\".";
    QTest::newRow("target path") << add_target << "../../etc" << ""
                                 << "Target name " + Only_Plain;
    QTest::newRow("known unsafe target") << add_library << "lib dir" << "libfoo.so"
                                         << "Target name " + Only_Plain;
    QTest::newRow("library with a command") << add_library << "lib" << "libfoo.so;rm -rf ~"
                                            << "Library name " + Only_Plain;
    QTest::newRow("library with a quote") << edit_library << "lib" << "libfoo'.so"
                                          << "Library name " + Only_Plain;
    QTest::newRow("both unsafe") << edit_library << "lib dir" << "lib$.so"
                                 << "Target name " + Only_Plain;
}

void TLibraryEditDialogTest::unsafeNamesAreRefusedWithTheReason()
{
    QFETCH(int, mode);
    QFETCH(QString, target);
    QFETCH(QString, library);
    QFETCH(QString, problem);
    TDialog dialog;
    dialog.Dialog.Reset(TTypes::TEditorType(mode), Known_Targets);
    Type_Into(dialog.Target, "lib");
    Type_Into(dialog.Library, "libsafe.so");
    QCOMPARE(dialog.Problem->text(), QString());

    Type_Into(dialog.Target, target);
    Type_Into(dialog.Library, library);
    QVERIFY(!dialog.Accept->isEnabled());
    QVERIFY(!dialog.Dialog.Entries_Acceptable());
    QCOMPARE(dialog.Problem->text(), problem);

    // The explanation goes once the name is mended, and a new use starts
    // without it.
    Type_Into(dialog.Target, mode == TTypes::Editor_Add_Target ? "my_dir-2" : "lib");
    Type_Into(dialog.Library, "libfoo.so");
    QVERIFY(dialog.Accept->isEnabled());
    QCOMPARE(dialog.Problem->text(), QString());
    Type_Into(dialog.Target, target);
    Type_Into(dialog.Library, library);
    dialog.Dialog.Reset(TTypes::TEditorType(mode), Known_Targets);
    QCOMPARE(dialog.Problem->text(), QString());
}

QTEST_MAIN(TLibraryEditDialogTest)
#include "tst_libraryeditdialog.moc"
