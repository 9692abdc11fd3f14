#include "libraryeditdialog.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpacerItem>

#include "dialogparts.h"
#include "spec/safename.h"

namespace
{
QLabel* Field_Label(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

QLineEdit* Field(const QString& name, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    field->setObjectName(name);
    return field;
}

// Neither button is pressed by the Return key.
QPushButton* Button(const QString& text, const QString& name, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

bool Contains_So(const QString& library_name)
{
    return library_name.indexOf(".so", 0, Qt::CaseSensitive) != -1;
}

// The first of `label`'s name problems as a sentence, or an empty text.
QString Name_Problem(const QString& label, const QString& name)
{
    const QString reason = Unsafe_Name_Reason(name);
    return reason.isEmpty() ? QString() : QString("%1 %2.").arg(label, reason);
}
}

TLibraryEditDialog::TLibraryEditDialog(const QWidget* parent, Qt::WindowFlags flags)
    : QDialog(const_cast<QWidget*>(parent), flags)
{
    setWindowTitle("Library Editor");
    resize(409, 226);
    Create_Layout();

    connect(d_target_name, &QLineEdit::textEdited, this, &TLibraryEditDialog::Validate_Entries);
    connect(d_library_name, &QLineEdit::textEdited, this, &TLibraryEditDialog::Validate_Entries);
    connect(d_accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(d_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TLibraryEditDialog::Create_Layout()
{
    d_type = new QComboBox(this);
    d_type->setObjectName("library_type");
    d_type->addItem("Library", TTypes::Library_Dylib);
    d_type->addItem("Plugin", TTypes::Library_Plugin);
    d_target_name = Field("target_name", this);
    d_library_name = Field("library_name", this);
    d_accept = Button("Accept", "accept", this);
    d_accept->setEnabled(false);
    d_cancel = Button("Cancel", "cancel", this);
    d_target_label = Field_Label("Target Name:", this);
    d_library_label = Field_Label("Library Name:", this);
    d_type_label = Field_Label("Library Type:", this);
    d_problem = new QLabel(this);
    d_problem->setObjectName("problem");

    QFrame* line = Separator_Line(this);
    QHBoxLayout* buttons = Dialog_Buttons(d_cancel, d_accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(d_target_label, 0, 0);
    layout->addWidget(d_target_name, 0, 1);
    layout->addWidget(d_library_label, 1, 0);
    layout->addWidget(d_library_name, 1, 1);
    layout->addWidget(d_type_label, 2, 0);
    layout->addWidget(d_type, 2, 1);
    layout->addWidget(d_problem, 3, 0, 1, 2);
    layout->addWidget(line, 4, 0, 1, 2);
    layout->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), 5, 0,
                    1, 2);
    layout->addLayout(buttons, 6, 0, 1, 2);
}

// The fields, the type and "Accept" stay as the last use left them; only the
// explanation of a refused name starts afresh.
void TLibraryEditDialog::Reset(TTypes::TEditorType editor_type, const QStringList& target_names)
{
    d_editor_type = editor_type;
    d_target_names = target_names;
    d_problem->clear();
    switch (editor_type)
    {
    case TTypes::Editor_Add_Target:
        setWindowTitle("Add Target");
        Enable_Fields(true, false, false);
        break;
    case TTypes::Editor_Add_Library:
        setWindowTitle("Add Library");
        Enable_Fields(true, true, true);
        break;
    case TTypes::Editor_Edit_Library:
        setWindowTitle("Edit Library");
        Enable_Fields(true, true, true);
        break;
    case TTypes::Editor_Edit_Library_Version:
        setWindowTitle("Edit Library Version");
        Enable_Fields(false, true, false);
        break;
    }
}

void TLibraryEditDialog::Enable_Fields(bool target, bool library, bool type)
{
    d_target_label->setEnabled(target);
    d_target_name->setEnabled(target);
    d_library_label->setEnabled(library);
    d_library_name->setEnabled(library);
    d_type_label->setEnabled(type);
    d_type->setEnabled(type);
}

void TLibraryEditDialog::Set_Target_Name(const QString& name)
{
    d_target_name->setText(name);
}

void TLibraryEditDialog::Set_Library_Name(const QString& name)
{
    d_library_name->setText(name);
}

void TLibraryEditDialog::Set_Library_Type(TTypes::TLibraryType type)
{
    const int index = d_type->findData(type);
    if (index != -1)
        d_type->setCurrentIndex(index);
}

TLibraryEditDialog::TData TLibraryEditDialog::Data() const
{
    if (d_editor_type == TTypes::Editor_Add_Target)
        return {d_target_name->text(), QString(), TTypes::Library_Dylib};
    return {d_target_name->text(), d_library_name->text(),
            static_cast<TTypes::TLibraryType>(d_type->currentData().toInt())};
}

// Known targets are compared ignoring case, ".so" is looked for with case.
bool TLibraryEditDialog::Entries_Acceptable() const
{
    const QString target = d_target_name->text();
    const QString library = d_library_name->text();
    const bool known = d_target_names.contains(target, Qt::CaseInsensitive);
    switch (d_editor_type)
    {
    case TTypes::Editor_Add_Target:
        return !known && Is_Safe_Name(target);
    case TTypes::Editor_Add_Library:
    case TTypes::Editor_Edit_Library:
        return known && Contains_So(library) && Is_Safe_Name(target) && Is_Safe_Name(library);
    case TTypes::Editor_Edit_Library_Version:
        return Contains_So(library);
    }
    return false;
}

// In the version mode the library name only carries the new version, so it
// is not checked as a name.
QString TLibraryEditDialog::Entries_Problem() const
{
    switch (d_editor_type)
    {
    case TTypes::Editor_Add_Target:
        return Name_Problem("Target name", d_target_name->text());
    case TTypes::Editor_Add_Library:
    case TTypes::Editor_Edit_Library:
    {
        const QString problem = Name_Problem("Target name", d_target_name->text());
        return problem.isEmpty() ? Name_Problem("Library name", d_library_name->text()) : problem;
    }
    case TTypes::Editor_Edit_Library_Version:
        break;
    }
    return QString();
}

void TLibraryEditDialog::Validate_Entries()
{
    d_accept->setEnabled(Entries_Acceptable());
    d_problem->setText(Entries_Problem());
}
