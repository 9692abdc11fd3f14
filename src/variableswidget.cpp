#include "variableswidget.h"

#include <QAbstractItemDelegate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "variableeditor.h"
#include "datafiles/xmlfile.h"
#include "datafiles/xmlfileexception.h"

namespace
{
QLabel* Section_Label(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setPointSize(15);
    font.setWeight(50);
    font.setStyle(QFont::StyleItalic);
    font.setUnderline(true);
    label->setFont(font);
    return label;
}

TVariableData Read_File(const QString& folder, const char* file_name)
{
    TXmlFile xml;
    TVariablesFile::Open(&xml, folder, file_name);
    return TVariablesFile::Read_V1(xml);
}
}

TVariablesWidget::TVariablesWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
    d_table = new QTableWidget(this);
    d_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    d_description = new QPlainTextEdit(this);
    d_description->setMaximumSize(16777215, 100);

    d_load_backup = New_Button(":/gui/file_load_x16.png", "Load variables from backup");
    d_save_backup = New_Button(":/gui/file_save_x16.png", "Save current variables to backup");
    d_move_up = New_Button(":/gui/edit_up_x16.png", "Move selected variable up");
    d_move_down = New_Button(":/gui/edit_down_x16.png", "Move selected variable down");
    d_add = New_Button(":/gui/edit_add_x16.png", "Add new variable");
    d_remove = New_Button(":/gui/edit_remove_x16.png", "Remove selected variable");
    d_move_up->setEnabled(false);
    d_move_down->setEnabled(false);
    d_remove->setEnabled(false);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(d_load_backup);
    buttons->addWidget(d_save_backup);
    buttons->addStretch();
    buttons->addWidget(d_move_up);
    buttons->addWidget(d_move_down);
    buttons->addWidget(d_add);
    buttons->addWidget(d_remove);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Section_Label("Variables:", this));
    layout->addWidget(d_table);
    layout->addLayout(buttons);
    layout->addWidget(Section_Label("Description:", this));
    layout->addWidget(d_description);

    connect(d_table, &QTableWidget::itemSelectionChanged, this,
            &TVariablesWidget::Selection_Changed);
    connect(d_move_up, &QToolButton::clicked, this, &TVariablesWidget::Move_Item_Up);
    connect(d_move_down, &QToolButton::clicked, this, &TVariablesWidget::Move_Item_Down);
    connect(d_add, &QToolButton::clicked, this, &TVariablesWidget::Add_Item);
    connect(d_remove, &QToolButton::clicked, this, &TVariablesWidget::Remove_Item);
    connect(d_save_backup, &QToolButton::clicked, this, &TVariablesWidget::Store_Alternate);
    connect(d_load_backup, &QToolButton::clicked, this, &TVariablesWidget::Restore_Alternate);
}

QToolButton* TVariablesWidget::New_Button(const QString& icon, const QString& tool_tip)
{
    auto* button = new QToolButton(this);
    button->setFixedSize(16, 16);
    button->setIconSize(QSize(16, 16));
    button->setIcon(QIcon(icon));
    button->setToolTip(tool_tip);
    return button;
}

bool TVariablesWidget::Load_Defaults(const QString& folder, QString* reason)
{
    d_data_folder = folder;
    bool loaded = true;
    try
    {
        Apply(Read_File(folder, Data_File_Names::Variables));
    }
    catch (const TXmlFileException& error)
    {
        if (reason != nullptr)
            *reason = error.Message;
        Initialize_Variables();
        loaded = false;
    }
    Update_Table_Data();
    return loaded;
}

bool TVariablesWidget::Save_Defaults(const QString& folder, QString* error)
{
    return Save_File(folder, Data_File_Names::Variables, error);
}

TVariablesWidget::TVariable TVariablesWidget::Variable(int index) const
{
    Q_ASSERT(static_cast<unsigned int>(index) < d_variables.size());
    return d_variables[static_cast<std::size_t>(index)];
}

QString TVariablesWidget::Description() const
{
    return d_description->document()->toPlainText();
}

TVariableData TVariablesWidget::Data()
{
    Update_Variables();
    return {d_variables, Description()};
}

void TVariablesWidget::Set_Data(const TVariableData& data)
{
    Apply(data);
    Update_Table_Data();
}

void TVariablesWidget::Update_Variables()
{
    Update_Variable_Data();
}

void TVariablesWidget::Update_Table()
{
    Update_Table_Data();
}

void TVariablesWidget::Clear_Variables()
{
    d_variables.clear();
}

void TVariablesWidget::Add_Variable(const TVariable& variable)
{
    d_variables.push_back(variable);
}

void TVariablesWidget::Clear_Description()
{
    d_description->clear();
}

void TVariablesWidget::Add_Description_Line(const QString& line)
{
    d_description->appendPlainText(line);
}

void TVariablesWidget::Selection_Changed()
{
    const bool one_selected = d_table->selectedItems().size() == 1;
    d_move_up->setEnabled(one_selected);
    d_move_down->setEnabled(one_selected);
    d_remove->setEnabled(one_selected);
}

void TVariablesWidget::Move_Item_Up()
{
    const int row = Selected_Row();
    if (row > 0)
        Move_Row(row, row - 1);
}

void TVariablesWidget::Move_Item_Down()
{
    const int row = Selected_Row();
    if (row >= 0 && row < d_table->rowCount() - 1)
        Move_Row(row, row + 1);
}

void TVariablesWidget::Add_Item()
{
    if (d_editor == nullptr)
        d_editor = new TVariableEditor(this, Qt::WindowFlags());
    if (d_editor->exec() != QDialog::Accepted)
        return;

    const int row = d_table->rowCount();
    d_table->insertRow(row);
    d_table->setVerticalHeaderItem(row, new QTableWidgetItem(d_editor->Name()));
    d_table->setItem(row, 0, new QTableWidgetItem(d_editor->Value()));
}

void TVariablesWidget::Remove_Item()
{
    const int row = Selected_Row();
    if (row >= 0)
        d_table->removeRow(row);
}

void TVariablesWidget::Store_Alternate()
{
    Save_Alternate(d_data_folder);
}

void TVariablesWidget::Restore_Alternate()
{
    Load_Alternate(d_data_folder);
}

void TVariablesWidget::Initialize_Variables()
{
    Apply(TVariablesFile::Factory_Data());
}

void TVariablesWidget::Update_Variable_Data()
{
    Commit_Open_Edit();
    d_variables.clear();
    for (int row = 0; row < d_table->rowCount(); ++row)
        d_variables.push_back(
            {d_table->verticalHeaderItem(row)->text(), d_table->item(row, 0)->text()});
}

void TVariablesWidget::Update_Table_Data()
{
    d_table->clear();
    d_table->setColumnCount(1);
    d_table->setRowCount(Variable_Count());
    d_table->setHorizontalHeaderItem(0, new QTableWidgetItem("Value"));
    for (int row = 0; row < Variable_Count(); ++row)
    {
        const TVariable& variable = d_variables[static_cast<std::size_t>(row)];
        d_table->setVerticalHeaderItem(row, new QTableWidgetItem(variable.Name));
        d_table->setItem(row, 0, new QTableWidgetItem(variable.Value));
    }
}

// A value still being typed into a cell belongs to the table before anyone
// reads it. Moving the keyboard focus would commit it only while the window
// is active; closing an inactive window must not lose it either.
void TVariablesWidget::Commit_Open_Edit()
{
    QWidget* editor = d_table->indexWidget(d_table->currentIndex());
    if (editor != nullptr)
        emit d_table->itemDelegate()->commitData(editor);
}

void TVariablesWidget::Apply(const TVariableData& data)
{
    d_variables = data.Variables;
    d_description->setPlainText(data.Description);
}

// The row of the one selected item, or -1 unless exactly one is selected.
int TVariablesWidget::Selected_Row() const
{
    const QList<QTableWidgetItem*> selected = d_table->selectedItems();
    return selected.size() == 1 ? selected.first()->row() : -1;
}

void TVariablesWidget::Move_Row(int from, int to)
{
    QTableWidgetItem* name = d_table->takeVerticalHeaderItem(from);
    QTableWidgetItem* value = d_table->takeItem(from, 0);
    d_table->removeRow(from);
    d_table->insertRow(to);
    d_table->setVerticalHeaderItem(to, name);
    d_table->setItem(to, 0, value);
    d_table->selectRow(to);
}

bool TVariablesWidget::Save_File(const QString& folder, const char* file_name, QString* error)
{
    Update_Variable_Data();
    try
    {
        TVariablesFile::Write(folder, {d_variables, Description()}, file_name);
        return true;
    }
    catch (const TXmlFileException& exception)
    {
        if (error != nullptr)
            *error = exception.Message;
        return false;
    }
}

// Before the first Load_Defaults there is no data folder; the backup is never
// read from or written to the root of the file system.
bool TVariablesWidget::Save_Alternate(const QString& folder)
{
    return !folder.isEmpty() && Save_File(folder, Data_File_Names::Variables_Backup, nullptr);
}

// A backup that is missing or cannot be read leaves the panel as it is:
// the user asked for the backup, not for the factory template.
bool TVariablesWidget::Load_Alternate(const QString& folder)
{
    if (folder.isEmpty())
        return false;
    try
    {
        Apply(Read_File(folder, Data_File_Names::Variables_Backup));
    }
    catch (const TXmlFileException&)
    {
        return false;
    }
    Update_Table_Data();
    return true;
}
