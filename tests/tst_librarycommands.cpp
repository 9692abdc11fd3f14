#include <QtTest>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDirIterator>
#include <QListWidget>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "familydialog.h"
#include "librariespanel.h"
#include "librarieswidget.h"
#include "libraryeditdialog.h"
#include "livepreflight.h"
#include "optionswidget.h"
#include "requireswidget.h"
#include "testsupport.h"

using namespace Test;

namespace
{
// What the test saw of the library edit dialog it answered.
struct TSeen
{
    bool Opened = false;
    QString Title;
    QString Target;
    QString Library;
    QString Type;
    bool Accept_Enabled = false;
};

using TEdit = std::function<void(TLibraryEditDialog*)>;

void Type_Into(TLibraryEditDialog* dialog, const QString& field_name, const QString& text)
{
    auto* field = dialog->findChild<QLineEdit*>(field_name);
    field->selectAll();
    if (field->hasSelectedText())
        QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

TEdit Type_Target(const QString& text)
{
    return [text](TLibraryEditDialog* dialog) { Type_Into(dialog, "target_name", text); };
}

TEdit Type_Library(const QString& target, const QString& library, int type = 0)
{
    return [=](TLibraryEditDialog* dialog) {
        Type_Into(dialog, "target_name", target);
        Type_Into(dialog, "library_name", library);
        dialog->findChild<QComboBox*>("library_type")->setCurrentIndex(type);
    };
}

TEdit Type_Version(const QString& text)
{
    return [text](TLibraryEditDialog* dialog) { Type_Into(dialog, "library_name", text); };
}

const TEdit No_Edit = [](TLibraryEditDialog*) {};

// Clicks `button` and answers the library edit dialog it opens: `edit` works
// on the entries as the user would, then "Accept" is clicked when asked for
// and enabled, otherwise "Cancel".
std::shared_ptr<TSeen> Run(QToolButton* button, const TEdit& edit, bool accept = true)
{
    auto seen = std::make_shared<TSeen>();
    QTimer::singleShot(0, [=] {
        auto* dialog = qobject_cast<TLibraryEditDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        seen->Opened = true;
        seen->Title = dialog->windowTitle();
        seen->Target = dialog->findChild<QLineEdit*>("target_name")->text();
        seen->Library = dialog->findChild<QLineEdit*>("library_name")->text();
        seen->Type = dialog->findChild<QComboBox*>("library_type")->currentText();
        edit(dialog);
        auto* accept_button = dialog->findChild<QPushButton*>("accept");
        seen->Accept_Enabled = accept_button->isEnabled();
        const bool accepting = accept && seen->Accept_Enabled;
        QTest::mouseClick(accepting ? accept_button : dialog->findChild<QPushButton*>("cancel"),
                          Qt::LeftButton);
    });
    QTest::mouseClick(button, Qt::LeftButton);
    QCoreApplication::processEvents();
    return seen;
}

void Select(QTreeWidget* tree, const QList<QTreeWidgetItem*>& items)
{
    tree->clearSelection();
    for (QTreeWidgetItem* item : items)
        item->setSelected(true);
}

QTreeWidgetItem* Library_Row(const QTreeWidget* tree, const QString& target, const QString& name)
{
    for (QTreeWidgetItem* item : Rows_Of(tree, target))
    {
        if (item->text(2) == name)
            return item;
    }
    qFatal("no library %s in %s", qPrintable(name), qPrintable(target));
}

bool Is_Sorted(const QStringList& texts)
{
    return std::is_sorted(texts.begin(), texts.end());
}

// The detection's question as the test saw it; answered with "Apply" or
// "Cancel" as soon as it shows, after the detection has run. The window
// answering meanwhile shows that the detection ran off the GUI thread.
class TDetectionQuestion
{
public:
    explicit TDetectionQuestion(QMessageBox::StandardButton answer)
    {
        QObject::connect(&d_poll, &QTimer::timeout, [this, answer] {
            QWidget* modal = QApplication::activeModalWidget();
            if (qobject_cast<QProgressDialog*>(modal) != nullptr && modal->isVisible())
                Saw_Progress = true;
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr)
                return;
            d_poll.stop();
            Geometry = box->frameGeometry();
            Window = box->parentWidget()->window()->frameGeometry();
            Text = box->informativeText();
            Details = box->detailedText().split('\n');
            box->button(answer)->click();
        });
        d_poll.start(20);
    }

    bool Shown() const { return !Details.isEmpty(); }

    QRect Geometry;  // the question's, and its window's
    QRect Window;

    QString Text;
    QStringList Details;
    bool Saw_Progress = false;

private:
    QTimer d_poll;
};

// Asks for more plug-in families at the first question, ticks `families`
// among those offered and applies at the second question.
class TFamilyQuestion
{
public:
    explicit TFamilyQuestion(const QStringList& families)
    {
        QObject::connect(&d_poll, &QTimer::timeout, [this, families] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* dialog = qobject_cast<TFamilyDialog*>(modal))
            {
                auto* list = dialog->findChild<QListWidget*>("family_list");
                for (int row = 0; row < list->count(); ++row)
                {
                    Offered.append(list->item(row)->text());
                    if (families.contains(list->item(row)->text()))
                        list->item(row)->setCheckState(Qt::Checked);
                }
                dialog->accept();
            }
            auto* box = qobject_cast<QMessageBox*>(modal);
            if (box == nullptr)
                return;
            Details = box->detailedText().split('\n');
            for (QAbstractButton* button : box->buttons())
            {
                if (Offered.isEmpty() && button->text() == "Add Plug-in Families...")
                    return button->click();
            }
            d_poll.stop();
            box->button(QMessageBox::Apply)->click();
        });
        d_poll.start(20);
    }

    QStringList Offered;
    QStringList Details;  // of the last question

private:
    QTimer d_poll;
};

// Every row of both trees with its check state.
QStringList Panel_Rows(const TLibrariesEditor& editor)
{
    QStringList rows;
    for (const QTreeWidget* tree : {editor.Targets, editor.Libraries})
        for (int row = 0; row < tree->topLevelItemCount(); ++row)
        {
            const QTreeWidgetItem* item = tree->topLevelItem(row);
            rows.append(QString("%1 %2 %3").arg(item->text(0), item->text(2))
                            .arg(item->checkState(0)));
        }
    return rows;
}

// "<target>/<file>" for the panel's active libraries.
QStringList Active_Lines(const TLibrariesWidget* panel)
{
    QStringList lines;
    for (const QString& target : panel->Active_Targets(true))
        for (const QString& library : panel->Active_Libraries(target))
            lines.append(target + "/" + library);
    return lines;
}

QStringList Files_Below(const QString& folder)
{
    QStringList files;
    QDirIterator entries(folder, QDir::Files, QDirIterator::Subdirectories);
    while (entries.hasNext())
        files.append(entries.next().mid(folder.size() + 1));
    return files;
}

QStringList Sorted(QStringList texts)
{
    texts.sort();
    return texts;
}

QString Status(TLibrariesEditor& editor)
{
    return editor.Window.statusBar()->currentMessage();
}

// Runs "Detect from Program..." from the File menu.
void Trigger_Detection(TLibrariesEditor& editor)
{
    for (QAction* action : editor.Window.findChildren<QAction*>())
        if (action->text() == "Detect from Program...")
            action->trigger();
}

// This test program is a real Qt Widgets program to detect.
QString Qt_Program()
{
    return QCoreApplication::applicationFilePath();
}

// The Qt Quick sample built into `folder`; empty when it could not be built.
QString Built_Qt_Quick_Program(const QString& folder)
{
    for (const QStringList& arguments :
         {QStringList{"-S", KV_TEST_DATA "/qtquickdemo", "-B", folder},
          QStringList{"--build", folder}})
    {
        QProcess cmake;
        cmake.setProcessChannelMode(QProcess::MergedChannels);
        cmake.start("cmake", arguments);
        if (!cmake.waitForFinished(300000) || cmake.exitCode() != 0)
        {
            qWarning("%s", cmake.readAll().constData());
            return QString();
        }
    }
    return folder + "/qtquickdemo";
}

// The installed file behind a Qt library name such as "libQt5Core.so.5".
QString Installed_Qt_File(const QString& soname)
{
    return QFileInfo(QLibraryInfo::location(QLibraryInfo::LibrariesPath) + "/" + soname)
        .canonicalFilePath();
}
}

class TLibraryCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void addAndRemoveTargetsKeepTheUsersChecks();
    void addTargetIgnoresKnownAndCancelledNames();
    void addAndRemoveLibraries();
    void singleEditChangesTheRowInPlace();
    void versionEditRenamesEveryLibraryOfTheName();
    void staleAcceptAddsNothingTheRulesRefuse();
    void restartKeepsTheEditedLists();
    void detectionAppliesAndCopiesTheBundle();
    void detectionChangesNothingUntilAccepted();
    void detectionTellsWhyNothingWasFound();
    void tickedFamiliesAreBundledAndKept();
    void qtQuickProgramIsAskedForItsQmlSources();
};

void TLibraryCommandsTest::addAndRemoveTargetsKeepTheUsersChecks()
{
    TFreshHome home;
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    TLibrariesWidget* panel = editor.Panel;
    Click_Check_Box(editor.Targets, Row(editor.Targets, "lib", 0));
    Press_Space(editor.Targets, Row(editor.Targets, "styles", 0));

    // The libraries of a removed target stay listed.
    Select(editor.Targets, {Row(editor.Targets, "bearer", 0)});
    QCOMPARE(Run(editor.Button("remove_target"), No_Edit)->Opened, false);
    QVERIFY(!panel->Target_Exists("bearer"));
    QVERIFY(!Column(editor.Targets, 0).contains("bearer"));
    QCOMPARE(Rows_Of(editor.Libraries, "bearer").size(), 3);
    QVERIFY(!editor.Button("remove_target")->isEnabled());
    QCOMPARE(panel->Active_Targets(false),
             QStringList({"platforms", "styles", "xcbglintegrations"}));

    // Added again, the target is checked, sorted, and frees its libraries.
    const auto seen = Run(editor.Button("add_target"), Type_Target("bearer"));
    QCOMPARE(seen->Title, QString("Add Target"));
    QVERIFY(seen->Accept_Enabled);
    QCOMPARE(Column(editor.Targets, 0).first(), QString("bearer"));
    QVERIFY(Is_Sorted(Column(editor.Targets, 0)));
    QCOMPARE(panel->Active_Targets(false),
             QStringList({"bearer", "platforms", "styles", "xcbglintegrations"}));
    QCOMPARE(panel->Active_Targets(true), QStringList({"bearer", "platforms", "xcbglintegrations"}));
    for (const QTreeWidgetItem* item : Rows_Of(editor.Libraries, "bearer"))
        QVERIFY(!item->isDisabled());
    QVERIFY(Rows_Of(editor.Libraries, "lib").first()->isDisabled());

    Run(editor.Button("add_target"), Type_Target("a_new_dir"));
    QCOMPARE(Column(editor.Targets, 0).first(), QString("a_new_dir"));
    QCOMPARE(Checked_Rows(editor.Targets, 0),
             QStringList({"a_new_dir", "bearer", "platforms", "styles", "xcbglintegrations"}));

    Select(editor.Targets, {Row(editor.Targets, "platforms", 0)});
    Run(editor.Button("remove_target"), No_Edit);
    QCOMPARE(Checked_Rows(editor.Targets, 0),
             QStringList({"a_new_dir", "bearer", "styles", "xcbglintegrations"}));
    QCOMPARE(panel->Target_Names().size(), 12);
    QCOMPARE(editor.Panel->findChildren<TLibraryEditDialog*>().size(), 1);
}

void TLibraryCommandsTest::addTargetIgnoresKnownAndCancelledNames()
{
    TFreshHome home;
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    const QStringList targets = editor.Panel->Target_Names();
    QToolButton* add = editor.Button("add_target");

    QVERIFY(!Run(add, Type_Target("Lib"))->Accept_Enabled);
    QVERIFY(!Run(add, Type_Target("STYLES"))->Accept_Enabled);
    QVERIFY(Run(add, Type_Target("mytarget"), false)->Accept_Enabled);
    QCOMPARE(editor.Panel->Target_Names(), targets);

    // The dialog keeps the last entry and "Accept" as the user left them.
    const auto seen = Run(add, No_Edit);
    QCOMPARE(seen->Target, QString("mytarget"));
    QVERIFY(seen->Accept_Enabled);
    QCOMPARE(editor.Panel->Target_Names(), targets + QStringList("mytarget"));
    QVERIFY(Run(add, No_Edit)->Accept_Enabled);
    QCOMPARE(editor.Panel->Target_Names(), targets + QStringList("mytarget"));
    QCOMPARE(Column(editor.Targets, 0).count("mytarget"), 1);

    QVERIFY(!Run(add, Type_Target("my target"))->Accept_Enabled);
    QVERIFY(!Run(add, Type_Target(".."))->Accept_Enabled);
    QCOMPARE(editor.Panel->Target_Names().size(), 13);
}

void TLibraryCommandsTest::addAndRemoveLibraries()
{
    TFreshHome home;
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    TLibrariesWidget* panel = editor.Panel;
    QToolButton* add = editor.Button("add_library");

    auto seen = Run(add, Type_Library("lib", "libQt5Svg.so.5.15.2"));
    QCOMPARE(seen->Title, QString("Add Library"));
    QVERIFY(seen->Accept_Enabled);
    QTreeWidgetItem* svg = Library_Row(editor.Libraries, "lib", "libQt5Svg.so.5.15.2");
    QCOMPARE(svg->text(1), QString("Dylib"));
    QCOMPARE(svg->text(3), QString("iconengines"));
    QCOMPARE(svg->checkState(0), Qt::Checked);
    QVERIFY(!svg->isDisabled());
    QVERIFY(panel->Active_Libraries("lib").contains("libQt5Svg.so.5.15.2"));
    QVERIFY(Is_Sorted(Column(editor.Libraries, 0)));

    // A target typed in another case is the listed target.
    Run(add, Type_Library("IMAGEFORMATS", "libqsvg.so", 1));
    const TLibrariesWidget::TLibrary qsvg = panel->Library("imageformats", "libqsvg.so");
    QCOMPARE(qsvg.Type, TTypes::Library_Plugin);
    QVERIFY(qsvg.Checked);
    QVERIFY(Library_Row(editor.Libraries, "imageformats", "libqsvg.so")->isDisabled());
    QCOMPARE(Library_Row(editor.Libraries, "imageformats", "libqsvg.so")->text(3), QString());
    QVERIFY(!Column(editor.Libraries, 0).contains("IMAGEFORMATS"));

    // An existing library is not added twice.
    QCOMPARE(editor.Libraries->topLevelItemCount(), 44);
    QVERIFY(Run(add, Type_Library("platforms", "libqxcb.so", 1))->Accept_Enabled);
    QCOMPARE(editor.Libraries->topLevelItemCount(), 44);
    QVERIFY(!Run(add, Type_Library("nowhere", "libx.so"))->Accept_Enabled);
    QVERIFY(!Run(add, Type_Library("lib", "libx.SO"))->Accept_Enabled);
    Run(add, Type_Library("lib", "libx.so"), false);
    QCOMPARE(editor.Libraries->topLevelItemCount(), 44);

    Select(editor.Libraries, {Library_Row(editor.Libraries, "platforms", "libqvnc.so"),
                              Library_Row(editor.Libraries, "lib", "libQt5Xml.so.5.15.2"),
                              Library_Row(editor.Libraries, "lib", "libQt5Svg.so.5.15.2")});
    QCOMPARE(Run(editor.Button("remove_library"), No_Edit)->Opened, false);
    QCOMPARE(editor.Libraries->topLevelItemCount(), 41);
    QVERIFY(!panel->Library_Exists("platforms", "libqvnc.so"));
    QVERIFY(!panel->Library_Exists("lib", "libQt5Xml.so.5.15.2"));
    QVERIFY(!panel->Library_Exists("lib", "libQt5Svg.so.5.15.2"));
    QVERIFY(!Column(editor.Libraries, 2).contains("libqvnc.so"));
    QCOMPARE(panel->Active_Libraries("lib").size(), 13);
    QVERIFY(Is_Sorted(Column(editor.Libraries, 0)));
    QVERIFY(!editor.Button("remove_library")->isEnabled());
    QCOMPARE(editor.Panel->findChildren<TLibraryEditDialog*>().size(), 1);
}

void TLibraryCommandsTest::singleEditChangesTheRowInPlace()
{
    TFreshHome home;
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    TLibrariesWidget* panel = editor.Panel;
    QToolButton* edit = editor.Button("edit_library");
    QTreeWidgetItem* gui = Library_Row(editor.Libraries, "lib", "libQt5Gui.so.5.15.2");
    const int row = editor.Libraries->indexOfTopLevelItem(gui);
    Press_Space(editor.Libraries, gui);
    Select(editor.Libraries, {gui});

    // Changing only the type changes nothing.
    auto seen = Run(edit, Type_Library("lib", "libQt5Gui.so.5.15.2", 1));
    QCOMPARE(seen->Title, QString("Edit Library"));
    QCOMPARE(seen->Target, QString("lib"));
    QCOMPARE(seen->Library, QString("libQt5Gui.so.5.15.2"));
    QCOMPARE(seen->Type, QString("Library"));
    QVERIFY(seen->Accept_Enabled);
    QCOMPARE(gui->text(1), QString("Dylib"));
    QCOMPARE(panel->Library("lib", "libQt5Gui.so.5.15.2").Type, TTypes::Library_Dylib);

    // Naming another existing library changes nothing either.
    Run(edit, Type_Library("lib", "libQt5Core.so.5.15.2"));
    QCOMPARE(gui->text(2), QString("libQt5Gui.so.5.15.2"));
    QVERIFY(panel->Library_Exists("lib", "libQt5Gui.so.5.15.2"));

    // Moved to another target, the row keeps its place and its check box,
    // shows the plug-ins of its new name, and the list follows at once.
    Run(edit, Type_Library("Platforms", "libQt5Network.so.5.15.3"));
    QCOMPARE(editor.Libraries->indexOfTopLevelItem(gui), row);
    QCOMPARE(gui->text(0), QString("platforms"));
    QCOMPARE(gui->text(1), QString("Dylib"));
    QCOMPARE(gui->text(2), QString("libQt5Network.so.5.15.3"));
    QCOMPARE(gui->text(3), QString("bearer"));
    QCOMPARE(gui->checkState(0), Qt::Unchecked);
    QVERIFY(!panel->Library_Exists("lib", "libQt5Gui.so.5.15.2"));
    const TLibrariesWidget::TLibrary moved = panel->Library("platforms", "libQt5Network.so.5.15.3");
    QCOMPARE(moved.Type, TTypes::Library_Dylib);
    QVERIFY(!moved.Checked);
    QCOMPARE(editor.Libraries->topLevelItemCount(), 42);

    seen = Run(edit, Type_Library("platforms", "libqfoo.so", 1));
    QCOMPARE(seen->Target, QString("platforms"));
    QCOMPARE(gui->text(1), QString("Plugin"));
    QCOMPARE(gui->text(3), QString());
    QCOMPARE(panel->Library("platforms", "libqfoo.so").Type, TTypes::Library_Plugin);

    QVERIFY(!Run(edit, Type_Library("platforms", "lib foo.so"))->Accept_Enabled);
    Run(edit, Type_Library("lib", "libqbar.so"), false);
    QCOMPARE(gui->text(2), QString("libqfoo.so"));
    QVERIFY(panel->Library_Exists("platforms", "libqfoo.so"));
}

void TLibraryCommandsTest::versionEditRenamesEveryLibraryOfTheName()
{
    TFreshHome home;
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    TLibrariesWidget* panel = editor.Panel;
    QTreeWidget* tree = editor.Libraries;
    QToolButton* edit = editor.Button("edit_library");
    Run(editor.Button("add_library"), Type_Library("platforms", "libQt5Core.so.5.15.2"));
    Run(editor.Button("add_library"), Type_Library("lib", "libqxcb-egl.so.5.15.2", 1));
    auto select_four = [&] {
        Select(tree, {Library_Row(tree, "lib", "libQt5Gui.so.5.15.2"),
                      Library_Row(tree, "lib", "libQt5Core.so.5.15.2"),
                      Library_Row(tree, "platforms", "libqxcb.so"),
                      Library_Row(tree, "lib", "libqxcb-egl.so.5.15.2")});
    };

    // Cancelled, nothing changes and the tree is not rebuilt.
    select_four();
    Run(edit, Type_Version("libfoo.so.9.9.9"), false);
    QCOMPARE(tree->selectedItems().size(), 4);
    QVERIFY(panel->Library_Exists("lib", "libQt5Gui.so.5.15.2"));

    auto seen = Run(edit, No_Edit);
    QCOMPARE(seen->Title, QString("Edit Library Version"));
    QCOMPARE(seen->Target, QString());
    QCOMPARE(seen->Library, QString("<library_name>.so.1.2.3"));
    QCOMPARE(seen->Type, QString("Library"));
    QVERIFY(seen->Accept_Enabled);
    QVERIFY(panel->Library_Exists("lib", "libQt5Gui.so.1.2.3"));
    QVERIFY(panel->Library_Exists("lib", "libQt5Core.so.1.2.3"));
    QVERIFY(panel->Library_Exists("platforms", "libQt5Core.so.1.2.3"));
    QVERIFY(panel->Library_Exists("platforms", "libqxcb.so"));
    QVERIFY(panel->Library_Exists("lib", "libqxcb-egl.so.5.15.2"));
    QVERIFY(panel->Library_Exists("lib", "libQt5Widgets.so.5.15.2"));
    QCOMPARE(Library_Row(tree, "lib", "libQt5Gui.so.1.2.3")->text(3),
             QString("platforms, platforminputcontexts"));
    QVERIFY(tree->selectedItems().isEmpty());
    QVERIFY(Is_Sorted(Column(tree, 0)));

    Select(tree, {Library_Row(tree, "lib", "libQt5Gui.so.1.2.3"),
                  Library_Row(tree, "lib", "libQt5Widgets.so.5.15.2")});
    Run(edit, Type_Version("libfoo.so.007.1.2"));
    QVERIFY(panel->Library_Exists("lib", "libQt5Gui.so.7.1.2"));
    QVERIFY(panel->Library_Exists("lib", "libQt5Widgets.so.7.1.2"));

    // Two numbers rename nothing, but the tree is rebuilt.
    Select(tree, {Library_Row(tree, "lib", "libQt5Gui.so.7.1.2"),
                  Library_Row(tree, "lib", "libQt5Widgets.so.7.1.2")});
    QVERIFY(Run(edit, Type_Version("libfoo.so.1.2"))->Accept_Enabled);
    QVERIFY(panel->Library_Exists("lib", "libQt5Gui.so.7.1.2"));
    QVERIFY(tree->selectedItems().isEmpty());
    QCOMPARE(tree->topLevelItemCount(), 44);
}

void TLibraryCommandsTest::staleAcceptAddsNothingTheRulesRefuse()
{
    TFreshHome home;
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    TLibrariesWidget* panel = editor.Panel;
    QTreeWidget* tree = editor.Libraries;
    Run(editor.Button("add_library"), Type_Library("lib", "libnew.so"));
    Select(tree, {Library_Row(tree, "lib", "libQt5Gui.so.5.15.2"),
                  Library_Row(tree, "lib", "libQt5Sql.so.5.15.2")});
    QVERIFY(Run(editor.Button("edit_library"), No_Edit)->Accept_Enabled);
    QVERIFY(panel->Library_Exists("lib", "libQt5Sql.so.1.2.3"));

    // The version edit left an empty target and the placeholder behind, with
    // "Accept" still enabled.
    auto seen = Run(editor.Button("add_target"), No_Edit);
    QCOMPARE(seen->Target, QString());
    QVERIFY(seen->Accept_Enabled);
    QCOMPARE(panel->Target_Names().size(), 12);
    QVERIFY(!panel->Target_Exists(""));

    seen = Run(editor.Button("add_library"), No_Edit);
    QCOMPARE(seen->Library, QString("<library_name>.so.1.2.3"));
    QVERIFY(seen->Accept_Enabled);
    QCOMPARE(tree->topLevelItemCount(), 43);
    QVERIFY(!Column(tree, 2).contains("<library_name>.so.1.2.3"));
}

void TLibraryCommandsTest::restartKeepsTheEditedLists()
{
    TFreshHome home;
    {
        TLibrariesEditor editor;
        QVERIFY(editor.Show());
        QTreeWidget* tree = editor.Libraries;
        Run(editor.Button("add_target"), Type_Target("mytarget"));
        Select(editor.Targets, {Row(editor.Targets, "bearer", 0)});
        Run(editor.Button("remove_target"), No_Edit);
        Run(editor.Button("add_library"), Type_Library("mytarget", "libmine.so.1.0.0", 1));
        Select(tree, {Library_Row(tree, "platforms", "libqvnc.so")});
        Run(editor.Button("remove_library"), No_Edit);
        Select(tree, {Library_Row(tree, "lib", "libQt5Gui.so.5.15.2")});
        Run(editor.Button("edit_library"), Type_Library("lib", "libQt5Gui.so.5.15.9"));
        Select(tree, {Library_Row(tree, "lib", "libQt5Core.so.5.15.2"),
                      Library_Row(tree, "lib", "libQt5Xml.so.5.15.2")});
        Run(editor.Button("edit_library"), Type_Version("x.so.6.0.1"));
        editor.Window.close();
    }

    const QByteArray saved = Read_File(home.Data_Folder() + "/libraries.xml");
    QVERIFY(saved.contains("        <Target>\n"
                           "            <Name>mytarget</Name>\n"
                           "            <Checked>Yes</Checked>\n"
                           "        </Target>\n"));
    QVERIFY(saved.contains("        <Library>\n"
                           "            <Target_Name>mytarget</Target_Name>\n"
                           "            <Name>libmine.so.1.0.0</Name>\n"
                           "            <Type>PLUGIN</Type>\n"
                           "            <Checked>Yes</Checked>\n"
                           "        </Library>\n"));
    QCOMPARE(Element_Texts(saved, "Target").size(), 0);
    QVERIFY(!Element_Texts(saved, "Name").contains("libqvnc.so"));

    TLibrariesEditor editor;
    TLibrariesWidget* panel = editor.Panel;
    QVERIFY(panel->Target_Exists("mytarget"));
    QVERIFY(!panel->Target_Exists("bearer"));
    QCOMPARE(panel->Target_Names().size(), 12);
    QCOMPARE(panel->Active_Libraries("mytarget"), QStringList({"libmine.so.1.0.0"}));
    QCOMPARE(panel->Library("mytarget", "libmine.so.1.0.0").Type, TTypes::Library_Plugin);
    QVERIFY(panel->Library_Exists("bearer", "libqconnmanbearer.so"));
    QVERIFY(!panel->Library_Exists("platforms", "libqvnc.so"));
    QVERIFY(panel->Library_Exists("lib", "libQt5Gui.so.5.15.9"));
    QVERIFY(panel->Library_Exists("lib", "libQt5Core.so.6.0.1"));
    QVERIFY(panel->Library_Exists("lib", "libQt5Xml.so.6.0.1"));
    QCOMPARE(editor.Libraries->topLevelItemCount(), 42);
}

void TLibraryCommandsTest::detectionAppliesAndCopiesTheBundle()
{
    TFreshHome home;
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    QTemporaryDir shared;
    QDir(shared.path()).mkpath("lib");
    Write_File(shared.path() + "/lib/notes.txt", "mine");
    {
        TDialogAnswers answers({shared.path()});
        editor.Window.findChild<TOptionsWidget*>()->findChild<QToolButton*>()->click();
    }

    QToolButton* detect = editor.Button("detect_program");
    QCOMPARE(detect->size(), QSize(16, 16));
    QVERIFY(!detect->icon().isNull());
    TDialogAnswers answers({Qt_Program()});
    TDetectionQuestion question(QMessageBox::Apply);
    QTest::mouseClick(detect, Qt::LeftButton);
    QCOMPARE(answers.Requests.size(), 1);
    QCOMPARE(answers.Requests.first().Kind, TFileDialogRequest::Open_File);
    QCOMPARE(answers.Requests.first().Caption, QString("Detect from Program"));
    QVERIFY(question.Shown());
    QVERIFY(question.Saw_Progress);

    // What was shown is what the panel now deploys and what was copied.
    const QStringList bundle = question.Details;
    QStringList needed = {"platforms/libqxcb.so", "xcbglintegrations/libqxcb-glx-integration.so"};
    for (const char* library : {"Core", "Test", "XcbQpa", "DBus"})
        needed.append("lib/" + QFileInfo(Installed_Qt_File(QString("libQt5%1.so.5").arg(library)))
                                   .fileName());
    for (const QString& file : needed)
        QVERIFY2(bundle.contains(file), qPrintable(file));
    const QString core = needed.at(2);
    QVERIFY(bundle.filter("libqoffscreen").isEmpty());
    // Qt's own needs beyond the base system are listed and copied alike.
    QVERIFY2(!bundle.filter(QRegularExpression("^lib/libicuuc[.]so[.][0-9]+$")).isEmpty(),
             qPrintable(bundle.join(' ')));
    QVERIFY(!bundle.contains("lib/libstdc++.so.6"));
    QVERIFY2(question.Text.contains(QString("needs %1 files: iconengines (").arg(bundle.size())),
             qPrintable(question.Text));
    QVERIFY2(question.Text.contains(
                 QString("copy them into the shared-libraries folder \"%1\"?")
                     .arg(shared.path())
                     .toHtmlEscaped()),
             qPrintable(question.Text));
    QCOMPARE(Sorted(Active_Lines(editor.Panel)), Sorted(bundle));
    QCOMPARE(Sorted(Files_Below(shared.path())), Sorted(bundle + QStringList("lib/notes.txt")));
    QCOMPARE(Read_File(shared.path() + "/" + core),
             Read_File(Installed_Qt_File("libQt5Core.so.5")));
    // The spec is to build against the Qt the program loads.
    const QString prefix = QFileInfo(QLibraryInfo::location(QLibraryInfo::PrefixPath))
                               .canonicalFilePath();
    QCOMPARE(editor.Window.findChild<TOptionsWidget*>()->Qt_Build(), (TQtBuild{5, prefix}));

    // The factory entries of other versions were renamed; the rest is kept
    // unchecked.
    TLibrariesWidget* panel = editor.Panel;
    QVERIFY(!panel->Library_Exists("lib", "libQt5Core.so.5.15.2"));
    QVERIFY(panel->Library_Exists("lib", "libQt5SerialPort.so.5.15.2"));
    QVERIFY(!panel->Library("lib", "libQt5SerialPort.so.5.15.2").Checked);
    QCOMPARE(Library_Row(editor.Libraries, "platforms", "libqoffscreen.so")->checkState(0),
             Qt::Unchecked);
    QVERIFY(Checked_Rows(editor.Targets, 0).contains("platforminputcontexts"));
    QVERIFY(Checked_Rows(editor.Targets, 0).contains("imageformats"));
    QVERIFY(!Checked_Rows(editor.Targets, 0).contains("sqldrivers"));
    QVERIFY(Is_Sorted(Column(editor.Targets, 0)));
    QVERIFY2(Status(editor).startsWith(
                 QString("Applied the %1 files \"%2\" needs to the Libraries panel (")
                     .arg(bundle.size())
                     .arg(QFileInfo(Qt_Program()).fileName())),
             qPrintable(Status(editor)));
    QVERIFY2(Status(editor).endsWith(QString("; into \"%1\": %2 copied, 0 already up to date.")
                                         .arg(shared.path())
                                         .arg(bundle.size())),
             qPrintable(Status(editor)));
    // Build Package starts from the program applied.
    for (QAction* action : editor.Window.findChildren<QAction*>())
        if (action->text() == "Build Package")
            action->trigger();
    auto* build = editor.Window.findChild<QDialog*>("build_package");
    QCOMPARE(build->findChild<QLineEdit*>("program")->text(), Qt_Program());
    build->close();

    // Again from the File menu: everything is in place already, and a
    // library the user checked by hand stays checked.
    Library_Row(editor.Libraries, "lib", "libQt5SerialPort.so.5.15.2")->setCheckState(0, Qt::Checked);
    QCOMPARE(panel->Detection_Choices().With_Plugins,
             QStringList("lib/libQt5SerialPort.so.5.15.2"));
    const QStringList rows = Panel_Rows(editor);
    TDialogAnswers again({Qt_Program()});
    TDetectionQuestion second(QMessageBox::Apply);
    Trigger_Detection(editor);
    QCOMPARE(second.Details, bundle);
    QVERIFY2(second.Text.contains("Kept as you checked them: lib/libQt5SerialPort.so.5.15.2."),
             qPrintable(second.Text));
    QCOMPARE(Panel_Rows(editor), rows);
    QVERIFY2(Status(editor).contains("(0 targets and 0 libraries added, 0 renamed, 0 unchecked, "
                                     "1 kept as checked by hand); into \"" + shared.path() +
                                     "\": 0 copied, " + QString::number(bundle.size()) +
                                     " already up to date."),
             qPrintable(Status(editor)));
}

void TLibraryCommandsTest::detectionChangesNothingUntilAccepted()
{
    TFreshHome home;
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    const QStringList rows = Panel_Rows(editor);
    {
        TDialogAnswers answers({Qt_Program()});
        TDetectionQuestion question(QMessageBox::Cancel);
        Trigger_Detection(editor);
        QVERIFY(question.Shown());
        QCOMPARE(answers.Requests.size(), 1);
        QCOMPARE(Status(editor), QString("The detected libraries and plug-ins were not applied."));
        QCOMPARE(Panel_Rows(editor), rows);
        QCOMPARE(editor.Window.findChild<TOptionsWidget*>()->Qt_Build(), TQtBuild());
    }

    // The home folder stands for none, as before a folder was chosen: the
    // user is asked, and refusing changes nothing.
    auto* options = editor.Window.findChild<TOptionsWidget*>();
    options->Set_Shared_Libs_Path(home.Path());
    emit options->Shared_Libs_Path_Changed(home.Path());
    {
        TDialogAnswers answers({Qt_Program()});
        TDetectionQuestion question(QMessageBox::Apply);
        Trigger_Detection(editor);
        QCOMPARE(answers.Requests.size(), 2);
        QCOMPARE(answers.Requests.last().Kind, TFileDialogRequest::Existing_Directory);
        QVERIFY(Status(editor).contains("not applied: no shared-libraries folder was chosen"));
        QCOMPARE(Panel_Rows(editor), rows);
        QCOMPARE(Files_Below(home.Path()).filter(QRegularExpression("^(lib|platforms)/")),
                 QStringList());
    }

    // A folder chosen there is the Shared Libs Path from then on.
    const QString shared = home.Path() + "/shared_libs";
    TDialogAnswers answers({Qt_Program(), shared});
    TDetectionQuestion question(QMessageBox::Apply);
    Trigger_Detection(editor);
    QVERIFY2(question.Text.contains("copy them into a shared-libraries folder, which you choose "
                                    "next?"),
             qPrintable(question.Text));
    QCOMPARE(editor.Window.findChild<TOptionsWidget*>()->Shared_Libs_Path(), shared);
    QCOMPARE(editor.Window.findChild<TRequiresWidget*>()->d_shared_libs_path, shared);
    QCOMPARE(Sorted(Files_Below(shared)), Sorted(question.Details));
    QVERIFY(Panel_Rows(editor) != rows);
}

void TLibraryCommandsTest::tickedFamiliesAreBundledAndKept()
{
    TFreshHome home;
    const QString shared = home.Path() + "/shared_libs";
    {
        TLibrariesEditor editor;
        QVERIFY(editor.Show());
        TDialogAnswers answers({Qt_Program(), shared});
        TFamilyQuestion question({"sqldrivers"});
        Trigger_Detection(editor);
        QVERIFY2(question.Offered.contains("sqldrivers"), qPrintable(question.Offered.join(',')));
        QVERIFY(!question.Offered.contains("platforms"));
        QVERIFY2(question.Details.contains("sqldrivers/libqsqlite.so"),
                 qPrintable(question.Details.join(',')));
        QVERIFY(question.Details.contains("lib/" + QFileInfo(Installed_Qt_File("libQt5Sql.so.5"))
                                                       .fileName()));
        QVERIFY(Active_Lines(editor.Panel).contains("sqldrivers/libqsqlite.so"));
        QVERIFY(editor.Panel->Save_Defaults(home.Data_Folder()));
    }

    // The choice is kept in the data folder: the next detection takes the
    // family without being asked.
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    QCOMPARE(editor.Panel->Detection_Choices().With_Plugins, QStringList("sqldrivers"));
    TDialogAnswers answers({Qt_Program()});
    TDetectionQuestion question(QMessageBox::Apply);
    Trigger_Detection(editor);
    QVERIFY(question.Details.contains("sqldrivers/libqsqlite.so"));
}

void TLibraryCommandsTest::detectionTellsWhyNothingWasFound()
{
    TFreshHome home;
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    const QStringList rows = Panel_Rows(editor);
    Write_File(home.Path() + "/script.sh", "#!/bin/sh\n");
    const QString no_qt = QStandardPaths::findExecutable("true");
    const QStringList programs = {home.Path() + "/script.sh", home.Path() + "/gone", no_qt};
    const QStringList reasons = {
        "\"" + programs[0] + "\" is not an ELF file, so not a built program",
        "\"" + programs[1] + "\" does not exist",
        "\"" + no_qt + "\" loads no Qt library, so there is nothing to bundle"};
    for (int index = 0; index < programs.size(); ++index)
    {
        TDialogAnswers answers({programs[index]});
        TDetectionQuestion question(QMessageBox::Apply);
        QTest::mouseClick(editor.Button("detect_program"), Qt::LeftButton);
        QCOMPARE(Status(editor), "Nothing was detected: " + reasons[index] + ".");
        QVERIFY(!question.Shown());
        QCOMPARE(Panel_Rows(editor), rows);
        QCOMPARE(answers.Requests.size(), 1);
    }
    QVERIFY(editor.Window.findChildren<QProgressDialog*>().isEmpty());
}

// A program that loads Qt QML is asked for its QML sources, which the next
// detection starts from; a cancelled choice leaves the modules out.
void TLibraryCommandsTest::qtQuickProgramIsAskedForItsQmlSources()
{
    TFreshHome home;
    QTemporaryDir build;
    const QString program = Built_Qt_Quick_Program(build.path());
    QVERIFY(!program.isEmpty());
    const QString sources = KV_TEST_DATA "/qtquickdemo/qml";
    // The factory shared-libraries folder, where the spec takes the files from.
    const QString shared = home.Path() + "/rpmbuild/shared_libs";
    TLibrariesEditor editor;
    QVERIFY(editor.Show());
    {
        TDialogAnswers answers({program, sources});
        TDetectionQuestion question(QMessageBox::Apply);
        Trigger_Detection(editor);
        QCOMPARE(answers.Requests.size(), 2);
        // After a progress dialog, the question is over the window all the same.
        QVERIFY(question.Window.contains(question.Geometry.topLeft()) &&
                question.Window.contains(question.Geometry.bottomRight()));
        QCOMPARE(answers.Requests[1].Kind, TFileDialogRequest::Existing_Directory);
        QCOMPARE(answers.Requests[1].Caption, QString("QML Sources of the Program"));
        QCOMPARE(answers.Requests[1].Folder, build.path());
        QVERIFY2(question.Details.contains("qml/QtQuick/Controls.2") &&
                     question.Details.contains("qml/QtQuick/Layouts"),
                 qPrintable(question.Details.join(' ')));
    }
    QCOMPARE(editor.Panel->Library("qml", "QtQuick/Controls.2").Type, TTypes::Library_Qml_Module);
    QCOMPARE(Row(editor.Targets, "qml", 0)->toolTip(0),
             QString("QML modules: each module folder is installed whole"));
    QVERIFY(QFileInfo(shared + "/qml/QtQuick/Controls.2/qmldir").isFile());

    // Build Package starts from the program and the source folder its build
    // names; with no program, the modules collected pass the preflight.
    for (QAction* action : editor.Window.findChildren<QAction*>())
        if (action->text() == "Build Package")
            action->trigger();
    auto* window = editor.Window.findChild<QDialog*>("build_package");
    QCOMPARE(window->findChild<QLineEdit*>("program")->text(), program);
    QCOMPARE(window->findChild<QLineEdit*>("source")->text(),
             QDir::cleanPath(KV_TEST_DATA "/qtquickdemo"));
    QSignalSpy checked(window->findChild<TLivePreflight*>(), &TLivePreflight::Checked);
    QTRY_COMPARE_WITH_TIMEOUT(checked.size(), 1, 60000);
    window->findChild<QLineEdit*>("program")->clear();
    QTRY_COMPARE_WITH_TIMEOUT(checked.size(), 2, 60000);
    auto* problems = window->findChild<QListWidget*>("problems");
    QVERIFY(!problems->findItems("desktop", Qt::MatchContains).isEmpty());
    QCOMPARE(problems->findItems("shared-libraries folder", Qt::MatchContains).size(), 0);
    window->close();

    TDialogAnswers answers({program});
    TDetectionQuestion question(QMessageBox::Cancel);
    Trigger_Detection(editor);
    QCOMPARE(answers.Requests.size(), 2);
    QCOMPARE(answers.Requests[1].Folder, sources);
    QVERIFY(question.Shown());
    QCOMPARE(question.Details.filter("qml/"), QStringList());
}

QTEST_MAIN(TLibraryCommandsTest)
#include "tst_librarycommands.moc"

