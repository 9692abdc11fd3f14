#include "optionswidget.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpacerItem>
#include <QToolButton>

#include "filedialog.h"
#include "datafiles/optionsfile.h"
#include "datafiles/xmlfile.h"

namespace
{
// Selects the item whose user data is `value`; an unknown value changes nothing.
void Select_Value(QComboBox* combo, int value)
{
    const int index = combo->findData(value);
    if (index >= 0)
        combo->setCurrentIndex(index);
}

void Add_Row(QGridLayout* layout, int row, const QString& text, QWidget* field)
{
    auto* label = new QLabel(text, layout->parentWidget());
    label->setBuddy(field);
    layout->addWidget(label, row, 0);
    layout->addWidget(field, row, 1);
}
}

TOptionsWidget::TOptionsWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
    Create_Widgets();
}

void TOptionsWidget::Create_Widgets()
{
    d_generator_combo = new QComboBox(this);
    d_generator_combo->addItem("Using QMake", TTypes::Generator_QMake);
    d_generator_combo->addItem("Using CMake", TTypes::Generator_CMake);

    d_requires_combo = new QComboBox(this);
    d_requires_combo->addItem("Automatically Update Requirements", TTypes::Requires_Auto_Update);
    d_requires_combo->addItem("Manually Update Requirements", TTypes::Requires_Manual_Update);
    d_requires_combo->addItem("Ignore Requirements", TTypes::Requires_Ignored);

    d_shared_libs_edit = new QLineEdit(this);
    connect(d_shared_libs_edit, &QLineEdit::editingFinished, this,
            &TOptionsWidget::Finish_Shared_Libs_Path_Edit);
    auto* browse_button = new QToolButton(this);
    browse_button->setText("...");
    connect(browse_button, &QToolButton::clicked, this, &TOptionsWidget::Browse_Shared_Libs_Path);

    auto* layout = new QGridLayout(this);
    Add_Row(layout, 0, "Make File Generator:", d_generator_combo);
    Add_Row(layout, 1, "Requires Package:", d_requires_combo);
    Add_Row(layout, 2, "Shared Libs Path:", d_shared_libs_edit);
    layout->addWidget(browse_button, 2, 2);
    d_library_path_note = new QLabel(this);
    d_library_path_note->setObjectName("library_path_note");
    d_library_path_note->setWordWrap(true);
    d_use_library_path = new QPushButton("Use the Libraries Path", this);
    d_use_library_path->hide();
    connect(d_use_library_path, &QPushButton::clicked, this, &TOptionsWidget::Use_Library_Path);
    auto* note_row = new QHBoxLayout;
    note_row->addWidget(d_library_path_note, 1);
    note_row->addWidget(d_use_library_path);
    layout->addLayout(note_row, 7, 1, 1, 2);
    d_packager_edit = new QLineEdit(this);
    d_packager_edit->setPlaceholderText("Name <mail>");
    d_packager_edit->setToolTip("Named in new change-log entries and, unless a variable "
                                "\"Packager:\" names one, in the spec's \"Packager:\" tag. "
                                "When empty, no packager is named.");
    Add_Row(layout, 3, "Packager:", d_packager_edit);

    d_qt_major_combo = new QComboBox(this);
    d_qt_major_combo->addItem("Unknown (plain qmake)", 0);
    d_qt_major_combo->addItem("Qt 5", 5);
    d_qt_major_combo->addItem("Qt 6", 6);
    Add_Row(layout, 4, "Build Against:", d_qt_major_combo);
    connect(d_generator_combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
            &TOptionsWidget::Name_Unknown_Qt);
    d_qt_prefix_edit = new QLineEdit(this);
    d_qt_prefix_edit->setPlaceholderText(System_Qt_Prefix);
    d_qt_prefix_edit->setToolTip("The prefix of the Qt installation the program bundles; "
                                 "Detect from Program fills it in");
    Add_Row(layout, 5, "Qt Prefix:", d_qt_prefix_edit);
    layout->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum), 0, 3, 6,
                    1);
    layout->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), 8, 3);
}

// CMake finds a Qt of either version by itself.
void TOptionsWidget::Name_Unknown_Qt()
{
    d_qt_major_combo->setItemText(0, Generator_Type() == TTypes::Generator_CMake
                                         ? "Unknown (the Qt CMake finds)"
                                         : "Unknown (plain qmake)");
}

void TOptionsWidget::Show_Library_Path(const QString& expanded)
{
    d_library_path = QDir::cleanPath(expanded);
    const bool same = QDir::cleanPath(Shared_Libs_Path()) == d_library_path;
    const QString shown = QDir::toNativeSeparators(d_library_path);
    d_library_path_note->setText(
        same ? QString("Detect copies the bundled files here, and the spec takes them from here: "
                       "this is the Expressions tab's \"Libraries Path\" too.")
             : QString("Detect copies the bundled files here, but the spec takes them from the "
                       "Expressions tab's \"Libraries Path\", \"%1\". Make the two the same "
                       "folder.")
                   .arg(shown));
    d_use_library_path->setVisible(!same && !d_library_path.isEmpty());
}

void TOptionsWidget::Use_Library_Path()
{
    Set_Shared_Libs_Path(d_library_path);
    Use_Shared_Libs_Path(d_shared_libs_in_use);
    Show_Library_Path(d_library_path);
}

TTypes::TOptionMakeGenerator TOptionsWidget::Generator_Type() const
{
    return static_cast<TTypes::TOptionMakeGenerator>(d_generator_combo->currentData().toInt());
}

TTypes::TOptionRequies TOptionsWidget::Requires_Type() const
{
    return static_cast<TTypes::TOptionRequies>(d_requires_combo->currentData().toInt());
}

QString TOptionsWidget::Shared_Libs_Path() const
{
    return QDir::fromNativeSeparators(d_shared_libs_edit->text());
}

QString TOptionsWidget::Packager() const
{
    return d_packager_edit->text();
}

void TOptionsWidget::Set_Packager(const QString& packager)
{
    d_packager_edit->setText(packager);
}

TQtBuild TOptionsWidget::Qt_Build() const
{
    return {d_qt_major_combo->currentData().toInt(), d_qt_prefix_edit->text().trimmed()};
}

void TOptionsWidget::Set_Qt_Build(const TQtBuild& qt)
{
    Select_Value(d_qt_major_combo, qt.Major);
    d_qt_prefix_edit->setText(qt.Prefix);
}

void TOptionsWidget::Set_Generator_Type(TTypes::TOptionMakeGenerator type)
{
    Select_Value(d_generator_combo, type);
}

void TOptionsWidget::Set_Requires_Type(TTypes::TOptionRequies type)
{
    Select_Value(d_requires_combo, type);
}

void TOptionsWidget::Set_Shared_Libs_Path(const QString& path)
{
    d_shared_libs_in_use = QDir::toNativeSeparators(path);
    d_shared_libs_edit->setText(d_shared_libs_in_use);
}

void TOptionsWidget::Browse_Shared_Libs_Path()
{
    const QString folder = TFileDialog::Existing_Directory(
        this, "Select Libraries Path", Shared_Libs_Path());
    if (folder.isEmpty())
        return;
    const QString shown = QDir::toNativeSeparators(folder);
    d_shared_libs_edit->setText(shown);
    Use_Shared_Libs_Path(shown);
}

// Return or leaving the field: a typed path counts as a chosen folder.
void TOptionsWidget::Finish_Shared_Libs_Path_Edit()
{
    const QString shown = d_shared_libs_edit->text();
    if (shown != d_shared_libs_in_use)
        Use_Shared_Libs_Path(shown);
}

void TOptionsWidget::Use_Shared_Libs_Path(const QString& shown)
{
    d_shared_libs_in_use = shown;
    emit Shared_Libs_Path_Changed(shown);
}

void TOptionsWidget::Initialize()
{
    Set_Generator_Type(TTypes::Generator_QMake);
    Set_Qt_Build(TQtBuild());
}

bool TOptionsWidget::Load_Defaults(const QString& folder, QString* reason)
{
    try
    {
        TXmlFile xml;
        TOptionsFile::Open(&xml, folder);
        Load_V1(&xml);
        return true;
    }
    catch (const TXmlFileException& error)
    {
        if (reason != nullptr)
            *reason = error.Message;
        Initialize();
        return false;
    }
}

TBuildOptions TOptionsWidget::Build_Options() const
{
    return {Generator_Type(), Requires_Type(), Qt_Build()};
}

void TOptionsWidget::Load_V1(TXmlFile* xml)
{
    const TBuildOptions options = TOptionsFile::Read_V1(*xml);
    Set_Generator_Type(options.Generator);
    Set_Requires_Type(options.Requires);
    Set_Qt_Build(options.Qt);
}

bool TOptionsWidget::Save_Defaults(const QString& folder, QString* error)
{
    try
    {
        TOptionsFile::Write(folder, Build_Options());
        return true;
    }
    catch (const TXmlFileException& exception)
    {
        if (error != nullptr)
            *error = exception.Message;
        return false;
    }
}
