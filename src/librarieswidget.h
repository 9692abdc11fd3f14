#ifndef LIBRARIESWIDGET_H
#define LIBRARIESWIDGET_H

#include <QHash>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "bundle/bundleapplication.h"
#include "libraries/detectionchoices.h"
#include "libraryeditdialog.h"
#include "libraries/libraryrecords.h"
#include "datafiles/specdata.h"

class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The "Libraries" tab: the target folders and the libraries and plug-ins
// deployed into them, each with a check box, kept in "libraries.xml".
// The lists are the panel's data; the two trees show them in the order of
// Targets_In_Display_Order and Libraries_In_Display_Order and are copied back
// into the lists whenever the user changes a check box.
class TLibrariesWidget : public QWidget
{
    Q_OBJECT

public:
    using TTarget = TTargetRecord;
    using TLibrary = TLibraryRecord;

    TLibrariesWidget(const QWidget* parent, Qt::WindowFlags flags);

    QStringList Active_Targets(bool with_libraries) const;
    QStringList Active_Libraries(const QString& target) const;
    QHash<QString, QStringList> Active_Libraries_By_Target() const;
    QStringList Target_Names() const;
    TLibrary Library(const QString& target, const QString& name) const;
    const std::vector<TTarget>& Targets() const { return d_targets; }
    const std::vector<TLibrary>& Libraries() const { return d_libraries; }
    // Replaces both lists and shows them.
    void Set_Lists(const std::vector<TTarget>& targets, const std::vector<TLibrary>& libraries);
    bool Target_Exists(const QString& name) const;
    bool Library_Exists(const QString& target, const QString& name) const;
    bool Has_Libraries(const QString& target) const;
    QString Library_Plugins(const QString& name) const;

    // Marking by the project file; only the lists change until Update().
    void Unselect_Targets();
    void Unselect_Libaries();
    void Select_Target(const QString& name);
    void Select_Library(const QString& target, const QString& name);
    // As the two above for many names, without searching the lists each time.
    void Select_Targets(const QStringList& names);
    void Select_Libraries(const std::vector<TSpecDataSelection>& selections);
    void Update();

    // Makes a detected bundle the panel's active targets and libraries; the
    // libraries named in `kept` ("<target>/<file>") stay checked.
    TBundleApplication Apply_Bundle(const TBundle& bundle, const QStringList& kept = QStringList());

    // The user's choices for detection, kept in "libraries.xml": every
    // library the user checks or adds by hand joins the "with" list as
    // "<target>/<file>", and leaves it when unchecked.
    const TDetectionChoices& Detection_Choices() const { return d_choices; }
    void Set_Detection_Choices(const TDetectionChoices& choices) { d_choices = choices; }

    void Target_Remove(const QString& name);
    void Library_Remove(const QString& target, const QString& name);
    void Library_Rename(const QString& name, const QString& new_name);

    void Update_Target_Tree();
    void Update_Library_Tree();
    void Update_Target_Data();
    void Update_Library_Data();
    void Update_Library_Tree_Status(const QStringList& targets);

    void Initialize();
    // False when the file was refused, with the reason in `reason` when given.
    bool Load_Defaults(const QString& folder, QString* reason = nullptr);
    bool Save_Defaults(const QString& folder, QString* error = nullptr);

signals:
    // The user asked to detect the libraries and plug-ins of a program.
    void Detect_Requested();

private slots:
    void Target_Item_Changed();
    void Target_Selection_Changed();
    void Library_Item_Changed(QTreeWidgetItem* item);
    void Library_Selection_Changed();
    void Add_Target();
    void Remove_Target();
    void Add_Library();
    void Remove_Library();
    void Edit_Library();

private:
    void Create_Layout();
    void Make_Connections();
    void Start_Editor(TTypes::TEditorType editor_type);
    bool Editor_Accepted() const;
    bool Accepted_New_Library(TLibraryEditDialog::TData* data) const;
    void Edit_Single_Library(QTreeWidgetItem* item);
    void Edit_Library_Versions(const QList<QTreeWidgetItem*>& items);

    QTreeWidget* d_target_tree;
    QTreeWidget* d_library_tree;
    QToolButton* d_add_target;
    QToolButton* d_remove_target;
    QToolButton* d_add_library;
    QToolButton* d_remove_library;
    QToolButton* d_edit_library;
    QToolButton* d_detect_program;
    TLibraryEditDialog* d_editor = nullptr;
    std::vector<TTarget> d_targets;
    std::vector<TLibrary> d_libraries;
    TDetectionChoices d_choices;
    QString d_last_error;
    // Set while the panel itself fills or greys the trees, so that only the
    // user's check-box changes are copied back into the lists.
    bool d_refreshing = false;
};

#endif
