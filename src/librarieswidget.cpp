#include "librarieswidget.h"

#include <QFont>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QScopedValueRollback>
#include <QSpacerItem>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <initializer_list>

#include "libraryeditdialog.h"
#include "libraries/libraryfactory.h"
#include "libraries/libraryplugins.h"
#include "libraries/libraryselection.h"
#include "datafiles/librariesfile.h"
#include "librarytreetext.h"
#include "libraries/libraryversion.h"
#include "datafiles/xmlfileexception.h"

namespace
{
enum TLibraryColumn
{
    Column_Target = 0,
    Column_Type = 1,
    Column_Name = 2,
    Column_Plugins = 3
};

QLabel* Section_Label(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(15);
    font.setWeight(50);
    font.setItalic(true);
    font.setUnderline(true);
    label->setFont(font);
    return label;
}

QToolButton* Tool_Button(const QString& name, const QString& icon, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setFixedSize(16, 16);
    button->setIconSize(QSize(16, 16));
    button->setIcon(QIcon(icon));
    return button;
}

QHBoxLayout* Button_Row(std::initializer_list<QToolButton*> buttons)
{
    auto* row = new QHBoxLayout();
    row->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    for (QToolButton* button : buttons)
        row->addWidget(button);
    return row;
}

QTreeWidget* Tree(const QString& name, const QStringList& headers, QWidget* parent)
{
    auto* tree = new QTreeWidget(parent);
    tree->setObjectName(name);
    tree->setColumnCount(headers.size());
    tree->setHeaderLabels(headers);
    return tree;
}

Qt::CheckState Check_State(bool checked)
{
    return checked ? Qt::Checked : Qt::Unchecked;
}

bool Is_Checked(const QTreeWidgetItem* item)
{
    return item->checkState(0) == Qt::Checked;
}

// A target of QML modules keeps its kind in the row and says so.
QTreeWidgetItem* Target_Item(const TTargetRecord& target)
{
    auto* item = new QTreeWidgetItem();
    item->setCheckState(0, Check_State(target.Checked));
    item->setText(0, target.Name);
    item->setData(0, Qt::UserRole, target.Kind);
    if (target.Kind == TTypes::Target_Qml_Modules)
        item->setToolTip(0, "QML modules: each module folder is installed whole");
    return item;
}

TTargetRecord Target_Of_Item(const QTreeWidgetItem* item)
{
    return {item->text(0), Is_Checked(item),
            item->data(0, Qt::UserRole).toInt() == TTypes::Target_Qml_Modules
                ? TTypes::Target_Qml_Modules
                : TTypes::Target_Files};
}

// Shows a library's target, type, file name and suggested plug-ins in a row,
// leaving the row's check box alone.
void Show_Library(QTreeWidgetItem* item, const TLibraryRecord& library)
{
    item->setText(Column_Target, library.Target_Name);
    item->setText(Column_Type, Library_Type_Tree_Text(library.Type));
    item->setText(Column_Name, library.Name);
    item->setText(Column_Plugins, library.Type == TTypes::Library_Dylib
                                      ? Suggested_Plugins(library.Name)
                                      : QString());
}

QTreeWidgetItem* Library_Item(const TLibraryRecord& library)
{
    auto* item = new QTreeWidgetItem();
    item->setCheckState(Column_Target, Check_State(library.Checked));
    Show_Library(item, library);
    return item;
}

TLibraryRecord Library_Of_Item(const QTreeWidgetItem* item)
{
    return {item->text(Column_Target), item->text(Column_Name),
            Library_Type_From_Tree_Text(item->text(Column_Type)), Is_Checked(item)};
}

// The dialog takes a known target in any case; a library goes to the target
// as the list spells it, preferring an exact match.
QString Listed_Target_Name(const std::vector<TTargetRecord>& targets, const QString& typed)
{
    const auto same = [&](Qt::CaseSensitivity sensitivity) {
        return std::find_if(targets.begin(), targets.end(), [&](const TTargetRecord& target) {
            return target.Name.compare(typed, sensitivity) == 0;
        });
    };
    auto target = same(Qt::CaseSensitive);
    if (target == targets.end())
        target = same(Qt::CaseInsensitive);
    return target == targets.end() ? typed : target->Name;
}

template <typename TRecord, typename TMatch>
auto First(std::vector<TRecord>& records, TMatch match)
{
    return std::find_if(records.begin(), records.end(), match);
}

template <typename TRecord, typename TMatch>
bool Contains(const std::vector<TRecord>& records, TMatch match)
{
    return std::any_of(records.begin(), records.end(), match);
}
}

TLibrariesWidget::TLibrariesWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
    Create_Layout();
    Make_Connections();
}

void TLibrariesWidget::Create_Layout()
{
    d_target_tree = Tree("target_tree", {"Library and Plugin Directories"}, this);
    d_library_tree = Tree("library_tree", {"Directory", "Type", "Name", "Suggested Plugins"}, this);
    d_library_tree->setSelectionMode(QAbstractItemView::ExtendedSelection);

    d_add_target = Tool_Button("add_target", ":/gui/edit_add_x16.png", this);
    d_remove_target = Tool_Button("remove_target", ":/gui/edit_remove_x16.png", this);
    d_add_library = Tool_Button("add_library", ":/gui/edit_add_x16.png", this);
    d_remove_library = Tool_Button("remove_library", ":/gui/edit_remove_x16.png", this);
    d_edit_library = Tool_Button("edit_library", ":/gui/edit_edit_x16.png", this);
    d_detect_program = Tool_Button("detect_program", ":/gui/edit_detect_x16.png", this);
    d_detect_program->setToolTip("Detect from Program...");
    d_remove_target->setEnabled(false);
    d_remove_library->setEnabled(false);
    d_edit_library->setEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Section_Label("Target Library Directories:", this));
    layout->addWidget(d_target_tree);
    layout->addLayout(Button_Row({d_add_target, d_remove_target}));
    layout->addWidget(Section_Label("Source Libraries:", this));
    layout->addWidget(d_library_tree);
    layout->addLayout(
        Button_Row({d_add_library, d_remove_library, d_edit_library, d_detect_program}));
}

// Check boxes are followed through itemChanged, which the keyboard emits as
// well as the mouse.
void TLibrariesWidget::Make_Connections()
{
    connect(d_target_tree, &QTreeWidget::itemChanged, this, &TLibrariesWidget::Target_Item_Changed);
    connect(d_target_tree, &QTreeWidget::itemSelectionChanged, this,
            &TLibrariesWidget::Target_Selection_Changed);
    connect(d_library_tree, &QTreeWidget::itemChanged, this,
            &TLibrariesWidget::Library_Item_Changed);
    connect(d_library_tree, &QTreeWidget::itemSelectionChanged, this,
            &TLibrariesWidget::Library_Selection_Changed);
    connect(d_add_target, &QToolButton::clicked, this, &TLibrariesWidget::Add_Target);
    connect(d_remove_target, &QToolButton::clicked, this, &TLibrariesWidget::Remove_Target);
    connect(d_add_library, &QToolButton::clicked, this, &TLibrariesWidget::Add_Library);
    connect(d_remove_library, &QToolButton::clicked, this, &TLibrariesWidget::Remove_Library);
    connect(d_edit_library, &QToolButton::clicked, this, &TLibrariesWidget::Edit_Library);
    connect(d_detect_program, &QToolButton::clicked, this, &TLibrariesWidget::Detect_Requested);
}

QStringList TLibrariesWidget::Active_Targets(bool with_libraries) const
{
    return Active_Target_Names(d_targets, d_libraries, with_libraries);
}

QHash<QString, QStringList> TLibrariesWidget::Active_Libraries_By_Target() const
{
    return Active_Library_Names(d_libraries);
}

QStringList TLibrariesWidget::Active_Libraries(const QString& target) const
{
    return Active_Library_Names(d_libraries).value(target);
}

QStringList TLibrariesWidget::Target_Names() const
{
    QStringList names;
    for (const TTarget& target : d_targets)
        names.append(target.Name);
    return names;
}

TLibrariesWidget::TLibrary TLibrariesWidget::Library(const QString& target,
                                                     const QString& name) const
{
    for (const TLibrary& library : d_libraries)
    {
        if (library.Target_Name == target && library.Name == name)
            return library;
    }
    return TLibrary();
}

bool TLibrariesWidget::Target_Exists(const QString& name) const
{
    return Contains(d_targets, [&](const TTarget& target) { return target.Name == name; });
}

bool TLibrariesWidget::Library_Exists(const QString& target, const QString& name) const
{
    return Contains(d_libraries, [&](const TLibrary& library) {
        return library.Target_Name == target && library.Name == name;
    });
}

bool TLibrariesWidget::Has_Libraries(const QString& target) const
{
    return Has_Active_Libraries(d_libraries, target);
}

QString TLibrariesWidget::Library_Plugins(const QString& name) const
{
    return Suggested_Plugins(name);
}

void TLibrariesWidget::Unselect_Targets()
{
    ::Unselect_Targets(&d_targets);
}

void TLibrariesWidget::Unselect_Libaries()
{
    Unselect_Libraries(&d_libraries);
}

void TLibrariesWidget::Select_Target(const QString& name)
{
    ::Select_Target(&d_targets, name);
}

// The project file keeps names without their version, so the name given is
// the beginning of the file name.
void TLibrariesWidget::Select_Library(const QString& target, const QString& name)
{
    ::Select_Library(&d_libraries, target, name);
}

void TLibrariesWidget::Select_Targets(const QStringList& names)
{
    ::Select_Targets(&d_targets, names);
}

void TLibrariesWidget::Select_Libraries(const std::vector<TSpecDataSelection>& selections)
{
    ::Select_Libraries(&d_libraries, selections);
}

void TLibrariesWidget::Set_Lists(const std::vector<TTarget>& targets,
                                 const std::vector<TLibrary>& libraries)
{
    d_targets = targets;
    d_libraries = libraries;
    Update();
}

// Rebuilding the library tree also greys the rows of unchecked targets.
void TLibrariesWidget::Update()
{
    Update_Target_Tree();
    Update_Library_Tree();
}

// The check boxes as the user left them are taken first, so that what the
// bundle does not name keeps its place and only loses its check.
TBundleApplication TLibrariesWidget::Apply_Bundle(const TBundle& bundle, const QStringList& kept)
{
    Update_Target_Data();
    Update_Library_Data();
    const TBundleApplication application =
        ::Apply_Bundle(bundle, &d_targets, &d_libraries, kept);
    Update();
    return application;
}

void TLibrariesWidget::Target_Remove(const QString& name)
{
    const auto target = First(d_targets, [&](const TTarget& entry) { return entry.Name == name; });
    if (target != d_targets.end())
        d_targets.erase(target);
}

void TLibrariesWidget::Library_Remove(const QString& target, const QString& name)
{
    const auto library = First(d_libraries, [&](const TLibrary& entry) {
        return entry.Target_Name == target && entry.Name == name;
    });
    if (library != d_libraries.end())
        d_libraries.erase(library);
}

void TLibrariesWidget::Library_Rename(const QString& name, const QString& new_name)
{
    for (TLibrary& library : d_libraries)
    {
        if (library.Name == name)
            library.Name = new_name;
    }
}

void TLibrariesWidget::Update_Target_Tree()
{
    const QScopedValueRollback<bool> refreshing(d_refreshing, true);
    d_target_tree->clear();
    for (const TTarget& target : Targets_In_Display_Order(d_targets))
        d_target_tree->addTopLevelItem(Target_Item(target));
}

void TLibrariesWidget::Update_Library_Tree()
{
    const QScopedValueRollback<bool> refreshing(d_refreshing, true);
    d_library_tree->clear();
    for (const TLibrary& library : Libraries_In_Display_Order(d_libraries))
        d_library_tree->addTopLevelItem(Library_Item(library));
    for (int column = 0; column < d_library_tree->columnCount(); ++column)
        d_library_tree->resizeColumnToContents(column);
    Update_Library_Tree_Status(Active_Targets(false));
}

void TLibrariesWidget::Update_Target_Data()
{
    d_targets.clear();
    for (int row = 0; row < d_target_tree->topLevelItemCount(); ++row)
    {
        const QTreeWidgetItem* item = d_target_tree->topLevelItem(row);
        d_targets.push_back(Target_Of_Item(item));
    }
}

void TLibrariesWidget::Update_Library_Data()
{
    d_libraries.clear();
    for (int row = 0; row < d_library_tree->topLevelItemCount(); ++row)
        d_libraries.push_back(Library_Of_Item(d_library_tree->topLevelItem(row)));
}

// A library row can be toggled only while its target is checked.
void TLibrariesWidget::Update_Library_Tree_Status(const QStringList& targets)
{
    const QScopedValueRollback<bool> refreshing(d_refreshing, true);
    for (int row = 0; row < d_library_tree->topLevelItemCount(); ++row)
    {
        QTreeWidgetItem* item = d_library_tree->topLevelItem(row);
        const bool enabled = targets.contains(item->text(Column_Target), Qt::CaseSensitive);
        item->setFlags(enabled ? item->flags() | Qt::ItemIsEnabled
                               : item->flags() & ~Qt::ItemIsEnabled);
    }
}

void TLibrariesWidget::Initialize()
{
    d_targets = Factory_Targets();
    d_libraries = Factory_Libraries();
    d_choices = TDetectionChoices();
}

bool TLibrariesWidget::Load_Defaults(const QString& folder, QString* reason)
{
    d_targets.clear();
    d_libraries.clear();
    d_choices = TDetectionChoices();
    bool loaded = true;
    try
    {
        TLibrariesData read = TLibrariesFile::Read(folder);
        d_targets = std::move(read.Targets);
        d_libraries = std::move(read.Libraries);
        d_choices = std::move(read.Choices);
    }
    catch (const TXmlFileException& error)
    {
        if (reason != nullptr)
            *reason = error.Message;
        d_last_error = error.Message;
        Initialize();
        loaded = false;
    }
    Update();
    return loaded;
}

bool TLibrariesWidget::Save_Defaults(const QString& folder, QString* error)
{
    Update_Target_Data();
    Update_Library_Data();
    try
    {
        TLibrariesFile::Write(folder, d_targets, d_libraries, d_choices);
    }
    catch (const TXmlFileException& exception)
    {
        d_last_error = exception.Message;
        if (error != nullptr)
            *error = exception.Message;
        return false;
    }
    return true;
}

void TLibrariesWidget::Target_Item_Changed()
{
    if (d_refreshing)
        return;
    Update_Target_Data();
    Update_Library_Tree_Status(Active_Targets(false));
}

void TLibrariesWidget::Target_Selection_Changed()
{
    d_remove_target->setEnabled(d_target_tree->selectedItems().size() == 1);
}

// Only a changed check box changes the user's "with" list.
void TLibrariesWidget::Library_Item_Changed(QTreeWidgetItem* item)
{
    if (d_refreshing)
        return;
    const bool was_checked = Library(item->text(Column_Target), item->text(Column_Name)).Checked;
    Update_Library_Data();
    if (was_checked == Is_Checked(item))
        return;
    const QString entry = item->text(Column_Target) + "/" + item->text(Column_Name);
    d_choices.With_Plugins.removeAll(entry);
    if (Is_Checked(item))
        d_choices.With_Plugins.append(entry);
}

void TLibrariesWidget::Library_Selection_Changed()
{
    d_remove_library->setEnabled(!d_library_tree->selectedItems().isEmpty());
    d_edit_library->setEnabled(!d_library_tree->selectedItems().isEmpty());
}

// The target list follows the target tree's check boxes at once, so the
// rebuilt tree keeps what the user checked.
void TLibrariesWidget::Add_Target()
{
    Start_Editor(TTypes::Editor_Add_Target);
    if (!Editor_Accepted())
        return;
    const QString name = d_editor->Data().Target_Name;
    if (Target_Exists(name))
        return;
    d_targets.push_back({name, true});
    Update_Target_Tree();
    Update_Library_Tree_Status(Active_Targets(false));
}

// The target's libraries stay listed and count for it again when a target of
// the same name is added.
void TLibrariesWidget::Remove_Target()
{
    const QList<QTreeWidgetItem*> selected = d_target_tree->selectedItems();
    if (selected.size() != 1)
        return;
    Target_Remove(selected.first()->text(0));
    Update_Target_Tree();
}

void TLibrariesWidget::Add_Library()
{
    Start_Editor(TTypes::Editor_Add_Library);
    TLibraryEditDialog::TData data;
    if (!Accepted_New_Library(&data))
        return;
    d_libraries.push_back({data.Target_Name, data.Library_Name, data.Library_Type, true});
    d_choices.With_Plugins.append(data.Target_Name + "/" + data.Library_Name);
    Update_Library_Tree();
}

void TLibrariesWidget::Remove_Library()
{
    for (const QTreeWidgetItem* item : d_library_tree->selectedItems())
        Library_Remove(item->text(Column_Target), item->text(Column_Name));
    Update_Library_Tree();
}

// One selected row is edited as a whole; several rows get a new version.
void TLibrariesWidget::Edit_Library()
{
    const QList<QTreeWidgetItem*> selected = d_library_tree->selectedItems();
    if (selected.size() == 1)
        Edit_Single_Library(selected.first());
    else if (selected.size() > 1)
        Edit_Library_Versions(selected);
}

void TLibrariesWidget::Start_Editor(TTypes::TEditorType editor_type)
{
    if (d_editor == nullptr)
        d_editor = new TLibraryEditDialog(this, Qt::WindowFlags());
    d_editor->Reset(editor_type, Target_Names());
}

// "Accept" may still be enabled from an earlier use of the dialog; entries
// that break the rule of the current mode are not applied.
bool TLibrariesWidget::Editor_Accepted() const
{
    return d_editor->exec() == QDialog::Accepted && d_editor->Entries_Acceptable();
}

// The dialog's entries once accepted, with the target spelt as listed; false
// when the user cancelled or that library is already there.
bool TLibrariesWidget::Accepted_New_Library(TLibraryEditDialog::TData* data) const
{
    if (!Editor_Accepted())
        return false;
    *data = d_editor->Data();
    data->Target_Name = Listed_Target_Name(d_targets, data->Target_Name);
    return !Library_Exists(data->Target_Name, data->Library_Name);
}

// The row changes in place and keeps its check box and its place in the
// tree; an edit that names an existing library changes nothing.
void TLibrariesWidget::Edit_Single_Library(QTreeWidgetItem* item)
{
    Start_Editor(TTypes::Editor_Edit_Library);
    d_editor->Set_Target_Name(item->text(Column_Target));
    d_editor->Set_Library_Name(item->text(Column_Name));
    d_editor->Set_Library_Type(Library_Type_From_Tree_Text(item->text(Column_Type)));
    TLibraryEditDialog::TData data;
    if (!Accepted_New_Library(&data))
        return;
    {
        const QScopedValueRollback<bool> refreshing(d_refreshing, true);
        Show_Library(item,
                     {data.Target_Name, data.Library_Name, data.Library_Type, Is_Checked(item)});
    }
    Update_Library_Data();
}

// Every library named like a selected one, under any target, gets the new
// version; names without a plain three-number version keep theirs.
void TLibrariesWidget::Edit_Library_Versions(const QList<QTreeWidgetItem*>& items)
{
    Start_Editor(TTypes::Editor_Edit_Library_Version);
    d_editor->Set_Target_Name(QString());
    d_editor->Set_Library_Name("<library_name>.so.1.2.3");
    d_editor->Set_Library_Type(TTypes::Library_Dylib);
    if (!Editor_Accepted())
        return;
    const std::optional<TLibraryVersion> version =
        Entered_Library_Version(d_editor->Data().Library_Name);
    if (version)
    {
        for (const QTreeWidgetItem* item : items)
        {
            const QString name = item->text(Column_Name);
            const QString new_name = Library_Name_With_Version(name, *version);
            if (!new_name.isEmpty())
                Library_Rename(name, new_name);
        }
    }
    Update_Library_Tree();
}
