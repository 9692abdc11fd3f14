#ifndef KESTRELVANTORY_H
#define KESTRELVANTORY_H

#include <QMainWindow>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include "datafiles/packagesettingsfile.h"
#include "datafiles/specdata.h"
#include "state/editorstate.h"

class QAction;
class QCloseEvent;
class QSettings;
class QTabWidget;
class TChangeLogWidget;
class TDetectCommand;
class TExpressionsWidget;
class TBuildPackageWindow;
class TGettingStarted;
class TLibrariesWidget;
class TMessageArea;
class TMessageBox;
class TOptionsWidget;
class TRequiresWidget;
class TSpecPreview;
class TVariablesWidget;
struct TSpecText;

// The editor's one main window: the six panels as tabs, the file actions,
// the per-user data folder with "settings.ini", and the close sequence that
// keeps every panel's contents for the next run. The panels may be kept in a
// folder of their own (`data_folder`); "settings.ini" stays per user.
class TKestrelvantory : public QMainWindow
{
    Q_OBJECT

public:
    TKestrelvantory(const QWidget* parent, Qt::WindowFlags flags,
                    const QString& data_folder = QString());
    ~TKestrelvantory() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private slots:
    void File_Create_Spec_File();
    void File_Save_Spec_Data();
    void File_Open_Spec_Data();
    void File_Preview_Spec();
    void File_Build_Package();
    void Add_Change_Log_Entry();
    void Help_About();
    void Help_Getting_Started();
    void Show_Result(const QString& summary, const QStringList& details);
    void Update_Requirements() const;
    void Update_Option_Shared_Libs_Path(const QString& path);
    void Use_Detected_Program(const QString& program);
    void Remember_Package_Fields(const TPackageSettings& fields);
    void Load_Package_Fields(QStringList* kept);
    bool Store_Package_Fields(QString* reason);
    void Use_Chosen_Shared_Libs_Path(const QString& path);

private:
    bool Write_Spec_Data_File(const QString& file_name) const;
    bool Read_Spec_Data_File(const QString& file_name);
    TSpecData Gather_Spec_Data() const;
    TEditorState Panels_State() const;
    void Apply_Spec_Data(const TSpecDataContents& contents);

    void Open_Data_Folder();
    void Use_Data_Folder(const QString& folder);
    void Load_Packager();
    void Restore_Geometry();
    void Create_Actions();
    void Name_Steps();
    void Create_Tabs();
    void Create_Menus();
    void Create_Tool_Bar();
    void Make_Connections();
    void Connect_Detect_Command();
    void Load_Panel_Defaults();
    void Keep_Refused_File(bool loaded, const QString& file_name, const QString& reason,
                           QStringList* kept) const;
    bool Stop_Builds_Asked();
    QList<TBuildPackageWindow*> Running_Builds() const;
    void Show_Getting_Started_Once();
    QString Shared_Libs_Path_Or_Default(const QString& stored) const;
    void Show_Library_Link() const;
    QStringList Save_Panel_Defaults(QStringList* reasons);
    QVariantMap Settings_Values() const;
    QStringList Store_State(QStringList* reasons);
    QString Store_State_Note();
    void Tell_Unsaved(const QStringList& failed, const QStringList& reasons);
    void Show_Status(const QString& text);
    void Remember_Folder(const QString& file_name);
    bool Write_Spec_File(const QString& file_name) const;
    TSpecText Compose_Panels_Spec() const;

    QAction* d_action_quit;
    QAction* d_action_create;
    QAction* d_action_preview;
    QAction* d_action_save;
    QAction* d_action_open;
    QAction* d_action_about;
    QAction* d_action_getting_started;
    QAction* d_action_detect;
    QAction* d_action_build_package;
    TDetectCommand* d_detect_command;
    QTabWidget* d_tabs;
    TVariablesWidget* d_variables_widget;
    TExpressionsWidget* d_expressions_widget;
    TLibrariesWidget* d_libraries_widget;
    TRequiresWidget* d_requires_widget;
    TChangeLogWidget* d_changelog_widget;
    TOptionsWidget* d_options_widget;
    QSettings* d_settings;
    TMessageBox* d_message_box;
    TMessageArea* d_message_area;
    TGettingStarted* d_getting_started = nullptr;
    TSpecPreview* d_preview = nullptr;
    QString d_settings_folder;
    QString d_data_folder;
    QString d_working_path;
    // The Build Package window's fields, as Detect or the last build left
    // them, and as the data folder holds them.
    TPackageSettings d_package;
    TPackageSettings d_package_stored;
    bool d_package_refused = false;  // the stored file is to be replaced
    mutable QString d_last_error;
    // Why the requirements scan of the last spec file written was incomplete.
    mutable QString d_scan_problems;
};

#endif
