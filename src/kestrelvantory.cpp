#include "kestrelvantory.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QTimer>
#include <QSettings>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>
#include <QVBoxLayout>

#include "changelogwidget.h"
#include "datafiles/datafilenames.h"
#include "datafiles/datafolder.h"
#include "buildpackagewindow.h"
#include "detectcommand.h"
#include "editorwords.h"
#include "expressionwidget.h"
#include "spec/filenames.h"
#include "librarieswidget.h"
#include "messagearea.h"
#include "messagebox.h"
#include "optionswidget.h"
#include "spec/packager.h"
#include "requireswidget.h"
#include "specpreview.h"
#include "datafiles/settingsfile.h"
#include "datafiles/staletemporaries.h"
#include "variableswidget.h"
#include "windowgeometry.h"

namespace
{
const char* const Key_Position = "Mainwindow_Position";
const char* const Key_Size = "Mainwindow_Size";
const char* const Key_Working_Path = "Working_Path";
}

TKestrelvantory::TKestrelvantory(const QWidget* parent, Qt::WindowFlags flags,
                                 const QString& data_folder)
    : QMainWindow(const_cast<QWidget*>(parent), flags), d_message_area(new TMessageArea(this))
{
    Open_Data_Folder();
    Use_Data_Folder(data_folder);
    Remove_Stale_Temporary_Files(d_data_folder);
    if (d_settings_folder != d_data_folder)
        Remove_Stale_Temporary_Files(d_settings_folder);
    d_settings = new QSettings(Data_File_Names::Path(d_settings_folder, Data_File_Names::Settings),
                               QSettings::IniFormat, this);
    Restore_Geometry();
    d_working_path = d_settings->value(Key_Working_Path, QDir::homePath()).toString();

    Create_Actions();
    Create_Tabs();
    d_message_box = new TMessageBox(this);
    Load_Panel_Defaults();
    const QString shared_libs_path =
        Shared_Libs_Path_Or_Default(Stored_Shared_Libs_Path(*d_settings));
    d_requires_widget->d_shared_libs_path = shared_libs_path;
    d_options_widget->Set_Shared_Libs_Path(shared_libs_path);
    Load_Packager();

    Create_Menus();
    Create_Tool_Bar();
    const QString shown_folder = QDir::toNativeSeparators(d_data_folder);
    setWindowTitle(d_data_folder == d_settings_folder
                       ? QString("Kestrelvantory")
                       : QString("Kestrelvantory - %1").arg(shown_folder));
    Make_Connections();
    Show_Library_Link();
}

TKestrelvantory::~TKestrelvantory() = default;

void TKestrelvantory::Open_Data_Folder()
{
    const TDataFolder folder = ::Open_Data_Folder(QDir::homePath());
    d_settings_folder = folder.Path;
    d_data_folder = folder.Path;
    if (folder.Is_Fallback)
        Show_Status(QString("The folder \"%1\" could not be made; settings are kept in \"%2\".")
                        .arg(Default_Data_Folder(QDir::homePath()), d_data_folder));
}

// A folder of the user's choice holds the panels instead of the default one.
void TKestrelvantory::Use_Data_Folder(const QString& folder)
{
    if (folder.isEmpty())
        return;
    d_data_folder = QDir::cleanPath(QDir(folder).absolutePath());
    if (!QDir().mkpath(d_data_folder))
        Show_Status(QString("The data folder \"%1\" could not be made; the panels start from "
                            "their factory contents and cannot be stored.")
                        .arg(d_data_folder));
}

// Until the user sets it, the packager is the one the user's git names.
void TKestrelvantory::Load_Packager()
{
    d_options_widget->Set_Packager(Stored_Packager(*d_settings));
}

void TKestrelvantory::Restore_Geometry()
{
    const QRect stored(d_settings->value(Key_Position, QPoint(30, 30)).toPoint(),
                       d_settings->value(Key_Size, QSize(1000, 800)).toSize());
    const QRect geometry =
        Restored_Window_Geometry(stored, QGuiApplication::primaryScreen()->availableGeometry());
    resize(geometry.size());
    move(geometry.topLeft());
}

void TKestrelvantory::Create_Actions()
{
    d_action_create = new QAction(QIcon(":/actions/file_create_x32.png"), "Create", this);
    d_action_preview = new QAction(QIcon(":/actions/file_preview_x32.png"), "Preview", this);
    d_action_open = new QAction(QIcon(":/actions/file_open_x32.png"), "Open", this);
    d_action_save = new QAction(QIcon(":/actions/file_save_x32.png"), "Save", this);
    d_action_about = new QAction(QIcon(":/actions/help_about_x32.png"), "About", this);
    d_action_getting_started = new QAction(QIcon(":/actions/help_about_x32.png"),
                                           "Getting Started", this);
    d_action_quit = new QAction("Quit", this);
    d_action_detect =
        new QAction(QIcon(":/gui/edit_detect_x16.png"), "Detect from Program...", this);
    d_action_build_package =
        new QAction(QIcon(":/actions/file_package_x32.png"), "Build Package", this);

    Name_Steps();
    d_action_create->setShortcut(QKeySequence(Qt::CTRL + Qt::Key_E));
    d_action_open->setShortcut(QKeySequence::Open);
    d_action_save->setShortcut(QKeySequence::Save);
    d_action_quit->setShortcut(QKeySequence::Quit);
}

void TKestrelvantory::Create_Tabs()
{
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    d_tabs = new QTabWidget(central);

    d_variables_widget = new TVariablesWidget(nullptr, Qt::WindowFlags());
    d_expressions_widget = new TExpressionsWidget(nullptr, Qt::WindowFlags());
    d_libraries_widget = new TLibrariesWidget(nullptr, Qt::WindowFlags());
    d_requires_widget = new TRequiresWidget(nullptr, Qt::WindowFlags());
    d_changelog_widget = new TChangeLogWidget(nullptr, Qt::WindowFlags());
    d_options_widget = new TOptionsWidget(nullptr, Qt::WindowFlags());

    d_tabs->addTab(d_variables_widget, "Variables");
    d_tabs->addTab(d_expressions_widget, "Expressions");
    d_tabs->addTab(d_libraries_widget, "Libraries");
    d_tabs->addTab(d_requires_widget, "Requires");
    d_tabs->addTab(d_changelog_widget, "Change Log");
    d_tabs->addTab(d_options_widget, "Options");
    d_tabs->setCurrentIndex(0);

    auto* splitter = new QSplitter(Qt::Vertical, central);
    splitter->addWidget(d_tabs);
    splitter->addWidget(d_message_area);
    splitter->setStretchFactor(0, 4);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);
    layout->addWidget(splitter);
    setCentralWidget(central);
}

void TKestrelvantory::Create_Menus()
{
    auto* menu_bar = new QMenuBar(this);
    setMenuBar(menu_bar);

    QMenu* file_menu = menu_bar->addMenu("File");
    file_menu->addAction(d_action_create);
    file_menu->addAction(d_action_preview);
    file_menu->addAction(d_action_detect);
    file_menu->addAction(d_action_build_package);
    file_menu->addSeparator();
    file_menu->addAction(d_action_open);
    file_menu->addAction(d_action_save);
    file_menu->addSeparator();
    file_menu->addAction(d_action_quit);

    QMenu* help_menu = menu_bar->addMenu("Help");
    help_menu->addAction(d_action_getting_started);
    help_menu->addAction(d_action_about);
    menu_bar->resize(800, 22);
}

void TKestrelvantory::Create_Tool_Bar()
{
    auto* tool_bar = new QToolBar(this);
    tool_bar->setIconSize(QSize(32, 32));
    tool_bar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tool_bar->addAction(d_action_detect);
    tool_bar->addAction(d_action_preview);
    tool_bar->addAction(d_action_build_package);
    tool_bar->addSeparator();
    tool_bar->addAction(d_action_create);
    tool_bar->addAction(d_action_open);
    tool_bar->addAction(d_action_save);
    tool_bar->addSeparator();
    tool_bar->addAction(d_action_about);
    addToolBar(Qt::TopToolBarArea, tool_bar);
}

void TKestrelvantory::Make_Connections()
{
    connect(d_action_quit, &QAction::triggered, this, &QWidget::close);
    connect(d_action_create, &QAction::triggered, this, &TKestrelvantory::File_Create_Spec_File);
    connect(d_action_preview, &QAction::triggered, this, &TKestrelvantory::File_Preview_Spec);
    connect(d_action_build_package, &QAction::triggered, this,
            &TKestrelvantory::File_Build_Package);
    connect(d_changelog_widget, &TChangeLogWidget::New_Entry_Requested, this,
            &TKestrelvantory::Add_Change_Log_Entry);
    connect(d_action_save, &QAction::triggered, this, &TKestrelvantory::File_Save_Spec_Data);
    connect(d_action_open, &QAction::triggered, this, &TKestrelvantory::File_Open_Spec_Data);
    connect(d_action_about, &QAction::triggered, this, &TKestrelvantory::Help_About);
    connect(d_action_getting_started, &QAction::triggered, this,
            &TKestrelvantory::Help_Getting_Started);
    connect(d_requires_widget, &TRequiresWidget::Refresh, this,
            &TKestrelvantory::Update_Requirements);
    connect(d_requires_widget, &TRequiresWidget::Status_Message, this,
            &TKestrelvantory::Show_Status);
    connect(d_options_widget, &TOptionsWidget::Shared_Libs_Path_Changed, this,
            &TKestrelvantory::Update_Option_Shared_Libs_Path);
    connect(d_tabs, &QTabWidget::currentChanged, this, [this] {
        if (d_tabs->currentWidget() == d_options_widget)
            Show_Library_Link();
    });
    Connect_Detect_Command();
}

void TKestrelvantory::Connect_Detect_Command()
{
    d_detect_command = new TDetectCommand(this, d_libraries_widget,
                                          [this] { return d_requires_widget->d_shared_libs_path; });
    connect(d_action_detect, &QAction::triggered, d_detect_command, &TDetectCommand::Run);
    connect(d_libraries_widget, &TLibrariesWidget::Detect_Requested, d_detect_command,
            &TDetectCommand::Run);
    connect(d_detect_command, &TDetectCommand::Status_Message, this, &TKestrelvantory::Show_Status);
    connect(d_detect_command, &TDetectCommand::Shared_Libs_Path_Chosen, this,
            &TKestrelvantory::Use_Chosen_Shared_Libs_Path);
    connect(d_detect_command, &TDetectCommand::Qt_Build_Detected, d_options_widget,
            &TOptionsWidget::Set_Qt_Build);
    connect(d_detect_command, &TDetectCommand::Program_Applied, this,
            &TKestrelvantory::Use_Detected_Program);
}

void TKestrelvantory::Load_Panel_Defaults()
{
    QStringList kept;
    QString reason;
    using namespace Data_File_Names;
    const auto keep = [&](bool loaded, const char* file_name) {
        Keep_Refused_File(loaded, file_name, reason, &kept);
        reason.clear();
    };
    keep(d_variables_widget->Load_Defaults(d_data_folder, &reason), Variables);
    keep(d_expressions_widget->Load_Defaults(d_data_folder, &reason), Expressions);
    keep(d_libraries_widget->Load_Defaults(d_data_folder, &reason), Libraries);
    keep(d_requires_widget->Load_Defaults(d_data_folder, &reason), Requires);
    keep(d_changelog_widget->Load_Defaults(d_data_folder, &reason), Changes);
    keep(d_options_widget->Load_Defaults(d_data_folder, &reason), Options);
    Load_Package_Fields(&kept);
    if (!kept.isEmpty())
        Show_Result(QString("%1 stored panel files in \"%2\" could not be read, so their tabs "
                            "start from the factory contents:")
                        .arg(kept.size())
                        .arg(d_data_folder),
                    kept);
}

// A panel that refuses its defaults file starts from its factory contents and
// stores them over the file at close; a copy keeps what the file held.
void TKestrelvantory::Keep_Refused_File(bool loaded, const QString& file_name,
                                        const QString& reason, QStringList* kept) const
{
    const QString path = d_data_folder + "/" + file_name;
    if (loaded || !QFileInfo::exists(path))
        return;
    const QString copy =
        path + "." + QDateTime::currentDateTime().toString("yyyyMMdd-HHmmss") + ".refused";
    // Only a plain file is copied: reading a named pipe would wait forever.
    const QString why = Editor_Words(reason);
    if (QFileInfo(path).isFile() && QFile::copy(path, copy))
        kept->append(QString("\"%1\" (kept as \"%2\"): %3").arg(file_name, copy, why));
    else
        kept->append(QString("\"%1\" (no copy could be kept): %2").arg(file_name, why));
}

// Returns the names of the tabs whose contents could not be stored; the
// reasons are added to `reasons`.
QStringList TKestrelvantory::Save_Panel_Defaults(QStringList* reasons)
{
    QStringList failed;
    QString reason;
    const auto save = [&](bool saved, const QString& tab) {
        if (saved)
            return;
        failed.append(tab);
        reasons->append(reason);
    };
    save(d_variables_widget->Save_Defaults(d_data_folder, &reason), "Variables");
    save(d_expressions_widget->Save_Defaults(d_data_folder, &reason), "Expressions");
    save(d_libraries_widget->Save_Defaults(d_data_folder, &reason), "Libraries");
    save(d_requires_widget->Save_Defaults(d_data_folder, &reason), "Requires");
    save(d_changelog_widget->Save_Defaults(d_data_folder, &reason), "Change Log");
    save(d_options_widget->Save_Defaults(d_data_folder, &reason), "Options");
    return failed;
}

// What "settings.ini" holds after this session: whatever it held, with the
// window's place, the two folders and the packager of this session.
QVariantMap TKestrelvantory::Settings_Values() const
{
    QVariantMap values;
    for (const QString& key : d_settings->allKeys())
        values.insert(key, d_settings->value(key));
    values.insert(Key_Position, pos());
    values.insert(Key_Size, size());
    values.insert(Key_Working_Path, d_working_path);
    values.insert(Shared_Libs_Path_Key, d_requires_widget->d_shared_libs_path);
    values.insert(Packager_Settings_Key, d_options_widget->Packager());
    return values;
}

// Stores the panels and the window's settings; returns what could not be
// stored, with the reasons in `reasons`.
QStringList TKestrelvantory::Store_State(QStringList* reasons)
{
    QStringList failed = Save_Panel_Defaults(reasons);
    QString reason;
    if (!Store_Package_Fields(&reason))
    {
        failed.append("Build Package fields");
        reasons->append(reason);
    }
    const QString settings = Data_File_Names::Path(d_settings_folder, Data_File_Names::Settings);
    if (!Save_Settings_File(settings, Settings_Values(), &reason))
    {
        failed.append("window settings");
        reasons->append(QString("\"%1\" could not be written: %2").arg(settings, reason));
    }
    return failed;
}

// After Create and Save the stored state is what the user just used, so the
// command-line tool reads the same; a status text tells what failed.
QString TKestrelvantory::Store_State_Note()
{
    QStringList reasons;
    const QStringList failed = Store_State(&reasons);
    if (failed.isEmpty())
        return QString();
    return QString(" These could not be stored in \"%1\": %2.")
        .arg(d_data_folder, failed.join(", "));
}

// The window closes in any case; what could not be stored is told first, as
// it is lost once the window is gone.
void TKestrelvantory::closeEvent(QCloseEvent* event)
{
    if (!Running_Builds().isEmpty() && !Stop_Builds_Asked())
    {
        event->ignore();
        return;
    }
    d_requires_widget->Stop_Scan();
    QStringList reasons;
    const QStringList failed = Store_State(&reasons);
    if (!failed.isEmpty())
        Tell_Unsaved(failed, reasons);
    if (d_preview != nullptr)
        d_preview->close();
    event->accept();
}

void TKestrelvantory::Tell_Unsaved(const QStringList& failed, const QStringList& reasons)
{
    d_message_box->setText("Kestrelvantory");
    d_message_box->setInformativeText(
        QString("These could not be stored in \"%1\": %2. The files stored before are kept "
                "as they were, and this session's changes to them are lost.")
            .arg(d_data_folder.toHtmlEscaped(), failed.join(", ")));
    QStringList told;
    for (const QString& reason : reasons)
        told.append(Editor_Words(reason));
    d_message_box->setDetailedText(told.join("\n"));
    d_message_box->setStandardButtons(QMessageBox::Ok);
    d_message_box->setDefaultButton(QMessageBox::Ok);
    d_message_box->setIcon(QMessageBox::Warning);
    d_message_box->exec();
}

// The status bar shows the text's first line; the message area keeps it
// whole.
void TKestrelvantory::Show_Status(const QString& text)
{
    Show_Result(text, QStringList());
}

void TKestrelvantory::Show_Result(const QString& summary, const QStringList& details)
{
    statusBar()->showMessage(details.isEmpty() ? summary
                                               : summary + " (listed under Messages)");
    d_message_area->Add(summary, details);
}

// The file dialogs start where the user last chose a file.
void TKestrelvantory::Remember_Folder(const QString& file_name)
{
    if (file_name.contains('/'))
        d_working_path = Folder_Of(file_name);
}

void TKestrelvantory::Help_About()
{
    d_message_box->setText("Kestrelvantory");
    d_message_box->setInformativeText("Kestrelvantory - Version 1.0");
    d_message_box->setDetailedText(QString());
    d_message_box->setStandardButtons(QMessageBox::Ok);
    d_message_box->setDefaultButton(QMessageBox::Ok);
    d_message_box->setIcon(QMessageBox::Information);
    d_message_box->exec();
}

void TKestrelvantory::Update_Requirements() const
{
    d_requires_widget->Refresh_Required_Packages(d_libraries_widget->Active_Targets(true));
}

void TKestrelvantory::Update_Option_Shared_Libs_Path(const QString& path)
{
    d_requires_widget->d_shared_libs_path = path;
    Show_Library_Link();
}

// A folder chosen for the detected files is used as if picked in the Options
// panel.
void TKestrelvantory::Use_Chosen_Shared_Libs_Path(const QString& path)
{
    d_options_widget->Set_Shared_Libs_Path(path);
    Update_Option_Shared_Libs_Path(path);
}

// The build runs in a window of its own, from the panels as they are when
// its Build is pressed; the editor stays usable meanwhile, and the outcome
// is told here too.
void TKestrelvantory::File_Build_Package()
{
    auto* window = new TBuildPackageWindow(this, [this] { return Panels_State(); }, d_tabs);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->Set_Fields(d_package);
    connect(window, &TBuildPackageWindow::Fields_Used, this,
            &TKestrelvantory::Remember_Package_Fields);
    connect(window, &TBuildPackageWindow::Outcome, this,
            [this](const QString& summary, const QStringList& lines) {
                Show_Result("Build Package: " + summary, lines);
            });
    window->show();
}

QList<TBuildPackageWindow*> TKestrelvantory::Running_Builds() const
{
    QList<TBuildPackageWindow*> running;
    for (TBuildPackageWindow* window : findChildren<TBuildPackageWindow*>())
        if (window->Is_Running())
            running.append(window);
    return running;
}

// Closing stops the builds only when the user agrees.
bool TKestrelvantory::Stop_Builds_Asked()
{
    if (!TBuildPackageWindow::Stop_Asked(this, "Kestrelvantory"))
        return false;
    for (TBuildPackageWindow* window : Running_Builds())
        window->Stop_And_Close();
    return true;
}
