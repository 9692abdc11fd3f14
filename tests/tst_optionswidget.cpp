#include <QtTest>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QToolButton>

#include "editordriver.h"
#include "kestrelvantory.h"
#include "optionswidget.h"
#include "requireswidget.h"
#include "testsupport.h"

namespace
{
QByteArray Options_File(const QByteArray& version, const QByteArray& generator,
                        const QByteArray& requires)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Options File_Version=\"" + version +
           "\">\n    <Make_Generator>" + generator + "</Make_Generator>\n    <Requires_Option>" +
           requires + "</Requires_Option>\n</Options>\n";
}

template <typename TField>
TField* Field(const QWidget* panel, const QString& label_text)
{
    for (const QLabel* label : panel->findChildren<QLabel*>())
        if (label->text() == label_text)
            return qobject_cast<TField*>(label->buddy());
    return nullptr;
}

QComboBox* Generator_Combo(const QWidget* panel)
{
    return Field<QComboBox>(panel, "Make File Generator:");
}

QComboBox* Requires_Combo(const QWidget* panel)
{
    return Field<QComboBox>(panel, "Requires Package:");
}

QLineEdit* Path_Edit(const QWidget* panel)
{
    return Field<QLineEdit>(panel, "Shared Libs Path:");
}

void Browse(const QWidget* panel)
{
    panel->findChild<QToolButton*>()->click();
}

QString Stored_Shared_Libs_Path(const Test::TFreshHome& home)
{
    return QSettings(home.Data_Folder() + "/settings.ini", QSettings::IniFormat)
        .value("Shared_Libs_Path")
        .toString();
}
}

class TOptionsWidgetTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void firstStartChoosesQMakeAndAutomaticRequirements();
    void optionsSurviveRestart();
    void sharedLibsPathIsLinkedToTheLibrariesPath();
    void rejectedFilesFallBack_data();
    void rejectedFilesFallBack();
    void failedSaveReportsFalse();
    void qtInstallationIsKeptWhenSound();

    void pickedFolderIsAnnouncedOnce();
    void cancelledDialogChangesNothing();
    void typedPathIsAnnouncedWhenFinished();
    void pickedOrTypedPathReachesSettingsAndNextStart();

private:
    std::unique_ptr<QTemporaryDir> d_folder;
};

void TOptionsWidgetTest::init()
{
    d_folder = std::make_unique<QTemporaryDir>();
}

void TOptionsWidgetTest::firstStartChoosesQMakeAndAutomaticRequirements()
{
    Test::TFreshHome home;
    TKestrelvantory window(nullptr, Qt::WindowFlags());
    const auto* options = window.findChild<TOptionsWidget*>();

    QCOMPARE(Generator_Combo(options)->currentText(), QString("Using QMake"));
    QCOMPARE(options->Generator_Type(), TTypes::Generator_QMake);
    QCOMPARE(Requires_Combo(options)->currentText(), QString("Automatically Update Requirements"));
    QCOMPARE(options->Requires_Type(), TTypes::Requires_Auto_Update);
    QCOMPARE(options->Shared_Libs_Path(), QDir::homePath() + "/rpmbuild/shared_libs");
    QCOMPARE(Field<QComboBox>(options, "Build Against:")->currentText(),
             QString("Unknown (plain qmake)"));

    window.close();
    QCOMPARE(Test::Read_File(home.Data_Folder() + "/options.xml"),
             Options_File("1", "Generator_QMake", "Requires_Auto_Update"));
}

void TOptionsWidgetTest::optionsSurviveRestart()
{
    Test::TFreshHome home;
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        auto* options = window.findChild<TOptionsWidget*>();
        options->Set_Generator_Type(TTypes::Generator_CMake);
        options->Set_Requires_Type(TTypes::Requires_Ignored);
        Field<QComboBox>(options, "Build Against:")->setCurrentText("Qt 6");
        Field<QLineEdit>(options, "Qt Prefix:")->setText("/opt/Qt/6.5.0/gcc_64");
        window.close();
    }
    QCOMPARE(Test::Read_File(home.Data_Folder() + "/options.xml"),
             Options_File("1", "Generator_CMake", "Requires_Ignored")
                 .replace("</Options>", "    <Qt_Installation>\n        <Major>6</Major>\n"
                                        "        <Prefix>/opt/Qt/6.5.0/gcc_64</Prefix>\n"
                                        "    </Qt_Installation>\n</Options>"));

    TKestrelvantory window(nullptr, Qt::WindowFlags());
    const auto* options = window.findChild<TOptionsWidget*>();
    QCOMPARE(Generator_Combo(options)->currentText(), QString("Using CMake"));
    QCOMPARE(options->Generator_Type(), TTypes::Generator_CMake);
    QCOMPARE(Requires_Combo(options)->currentText(), QString("Ignore Requirements"));
    QCOMPARE(options->Requires_Type(), TTypes::Requires_Ignored);
    QCOMPARE(options->Qt_Build(), (TQtBuild{6, "/opt/Qt/6.5.0/gcc_64"}));
}

// The Options tab tells whether Detect copies into the folder the spec takes
// the libraries from, and makes them one folder on request; the Qt choice
// names what CMake does.
void TOptionsWidgetTest::sharedLibsPathIsLinkedToTheLibrariesPath()
{
    Test::TFreshHome home;
    Test::TEditor editor;
    auto* options = editor.Panel<TOptionsWidget>();
    const auto* note = options->findChild<QLabel*>("library_path_note");
    QVERIFY2(note->text().contains("this is the Expressions tab's \"Libraries Path\" too"),
             qPrintable(note->text()));

    QSignalSpy changed(options, &TOptionsWidget::Shared_Libs_Path_Changed);
    options->Set_Shared_Libs_Path("/srv/libs");
    editor.Expression(3)->setText("/srv/collected");
    emit options->Shared_Libs_Path_Changed("/srv/libs");
    const QString expected = "the spec takes them from the Expressions tab's \"Libraries Path\", "
                             "\"/srv/collected\"";
    QVERIFY2(note->text().contains(expected), qPrintable(note->text()));
    QPushButton* use = options->findChild<QPushButton*>();
    QVERIFY(use->isVisibleTo(options));
    use->click();
    QCOMPARE(options->Shared_Libs_Path(), QString("/srv/collected"));
    QCOMPARE(changed.last().first().toString(), QString("/srv/collected"));
    QVERIFY(!use->isVisibleTo(options));

    options->Set_Generator_Type(TTypes::Generator_CMake);
    QCOMPARE(Field<QComboBox>(options, "Build Against:")->itemText(0),
             QString("Unknown (the Qt CMake finds)"));
}

void TOptionsWidgetTest::rejectedFilesFallBack_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<int>("generator");
    QTest::addColumn<int>("requires");

    // Before each load the panel shows CMake and manual requirements; a file
    // refused as a whole resets the generator only.
    QTest::newRow("version 2") << Options_File("2", "Generator_CMake", "Requires_Ignored")
                               << false << int(TTypes::Generator_QMake)
                               << int(TTypes::Requires_Manual_Update);
    QTest::newRow("generator in other case")
        << Options_File("1", "generator_cmake", "Requires_Ignored") << false
        << int(TTypes::Generator_QMake) << int(TTypes::Requires_Manual_Update);
    QTest::newRow("unknown requirements mode")
        << Options_File("1", "Generator_CMake", "Requires_Never") << false
        << int(TTypes::Generator_QMake) << int(TTypes::Requires_Manual_Update);
    QTest::newRow("requirements mode missing")
        << QByteArray("<Options File_Version=\"1\"><Make_Generator>Generator_CMake"
                      "</Make_Generator></Options>")
        << false << int(TTypes::Generator_QMake) << int(TTypes::Requires_Manual_Update);
    QTest::newRow("generator without text")
        << Options_File("1", "", "Requires_Ignored") << false << int(TTypes::Generator_QMake)
        << int(TTypes::Requires_Manual_Update);
    QTest::newRow("wrong root") << QByteArray("<Expression_Data File_Version=\"1\"/>") << false
                                << int(TTypes::Generator_QMake)
                                << int(TTypes::Requires_Manual_Update);
}

void TOptionsWidgetTest::rejectedFilesFallBack()
{
    QFETCH(QByteArray, file);
    QFETCH(bool, loaded);
    QFETCH(int, generator);
    QFETCH(int, requires);

    Test::Write_File(d_folder->filePath("options.xml"), file);
    TOptionsWidget options(nullptr, Qt::WindowFlags());
    options.Set_Generator_Type(TTypes::Generator_CMake);
    options.Set_Requires_Type(TTypes::Requires_Manual_Update);

    QCOMPARE(options.Load_Defaults(d_folder->path()), loaded);
    QCOMPARE(int(options.Generator_Type()), generator);
    QCOMPARE(int(options.Requires_Type()), requires);
}

// A Qt the spec could not use refuses the file, as any other value the
// panel does not know; the panel then starts from its factory contents.
void TOptionsWidgetTest::qtInstallationIsKeptWhenSound()
{
    const struct
    {
        QByteArray Element;
        bool Loaded;
        TQtBuild Read;
    } cases[] = {
        {"<Qt_Installation><Major>5</Major><Prefix>/usr</Prefix></Qt_Installation>", true,
         {5, "/usr"}},
        {"<Qt_Installation><Major>6</Major></Qt_Installation>", true, {6, ""}},
        {"<Qt_Installation><Major>0</Major><Prefix>/opt/Qt</Prefix></Qt_Installation>", true,
         {0, "/opt/Qt"}},
        {"<Qt_Installation/>", true, {}},
        {"<Qt_Installation><Major>4</Major><Prefix>/usr</Prefix></Qt_Installation>", false, {}},
        {"<Qt_Installation><Major>6</Major><Prefix>/opt/$(id)</Prefix></Qt_Installation>", false,
         {}},
    };
    for (const auto& stored : cases)
    {
        Test::Write_File(d_folder->filePath("options.xml"),
                         Options_File("1", "Generator_CMake", "Requires_Ignored")
                             .replace("</Options>", stored.Element + "</Options>"));
        TOptionsWidget options(nullptr, Qt::WindowFlags());
        options.Set_Qt_Build({5, "/elsewhere"});
        QCOMPARE(options.Load_Defaults(d_folder->path()), stored.Loaded);
        if (stored.Loaded)
            QVERIFY2(options.Qt_Build() == stored.Read, stored.Element);
        QCOMPARE(options.Generator_Type(),
                 stored.Loaded ? TTypes::Generator_CMake : TTypes::Generator_QMake);
    }
}

void TOptionsWidgetTest::failedSaveReportsFalse()
{
    TOptionsWidget options(nullptr, Qt::WindowFlags());
    QVERIFY(!options.Save_Defaults(d_folder->filePath("missing")));
}

void TOptionsWidgetTest::pickedFolderIsAnnouncedOnce()
{
    TOptionsWidget options(nullptr, Qt::WindowFlags());
    options.Set_Shared_Libs_Path("/srv/libs");
    QSignalSpy changed(&options, &TOptionsWidget::Shared_Libs_Path_Changed);
    Test::TDialogAnswers answers({"/srv/build/shared_libs"});

    Browse(&options);

    QCOMPARE(answers.Requests.size(), 1);
    QCOMPARE(answers.Requests[0].Kind, TFileDialogRequest::Existing_Directory);
    QCOMPARE(answers.Requests[0].Caption, QString("Select Libraries Path"));
    QCOMPARE(answers.Requests[0].Folder, QString("/srv/libs"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toString(), Path_Edit(&options)->text());
    QCOMPARE(options.Shared_Libs_Path(), QString("/srv/build/shared_libs"));
}

void TOptionsWidgetTest::cancelledDialogChangesNothing()
{
    TOptionsWidget options(nullptr, Qt::WindowFlags());
    options.Set_Shared_Libs_Path("/srv/libs");
    QSignalSpy changed(&options, &TOptionsWidget::Shared_Libs_Path_Changed);
    Test::TDialogAnswers answers({});

    Browse(&options);

    QCOMPARE(answers.Requests.size(), 1);
    QCOMPARE(changed.size(), 0);
    QCOMPARE(options.Shared_Libs_Path(), QString("/srv/libs"));
}

// Set_Shared_Libs_Path is silent; a typed path is announced once its editing
// is finished, and only when it differs from the path in use.
void TOptionsWidgetTest::typedPathIsAnnouncedWhenFinished()
{
    TOptionsWidget options(nullptr, Qt::WindowFlags());
    QSignalSpy changed(&options, &TOptionsWidget::Shared_Libs_Path_Changed);

    options.Set_Shared_Libs_Path("/srv/libs");
    QTest::keyClick(Path_Edit(&options), Qt::Key_Return);
    QTest::keyClicks(Path_Edit(&options), "/typed");
    QCOMPARE(changed.size(), 0);

    QTest::keyClick(Path_Edit(&options), Qt::Key_Return);
    QTest::keyClick(Path_Edit(&options), Qt::Key_Return);
    QCOMPARE(options.Shared_Libs_Path(), QString("/srv/libs/typed"));
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed[0][0].toString(), QString("/srv/libs/typed"));
}

void TOptionsWidgetTest::pickedOrTypedPathReachesSettingsAndNextStart()
{
    Test::TFreshHome home;
    const QString picked = home.Path() + "/shared_libs";
    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        Test::TDialogAnswers answers({picked});
        Browse(window.findChild<TOptionsWidget*>());
        QCOMPARE(window.findChild<TRequiresWidget*>()->d_shared_libs_path, picked);
        window.close();
    }
    QCOMPARE(Stored_Shared_Libs_Path(home), picked);

    {
        TKestrelvantory window(nullptr, Qt::WindowFlags());
        auto* options = window.findChild<TOptionsWidget*>();
        QCOMPARE(options->Shared_Libs_Path(), picked);
        QCOMPARE(window.findChild<TRequiresWidget*>()->d_shared_libs_path, picked);

        Path_Edit(options)->clear();
        QTest::keyClicks(Path_Edit(options), home.Path() + "/typed");
        QTest::keyClick(Path_Edit(options), Qt::Key_Return);
        QCOMPARE(window.findChild<TRequiresWidget*>()->d_shared_libs_path, home.Path() + "/typed");
        window.close();
    }
    QCOMPARE(Stored_Shared_Libs_Path(home), home.Path() + "/typed");
}

QTEST_MAIN(TOptionsWidgetTest)
#include "tst_optionswidget.moc"
