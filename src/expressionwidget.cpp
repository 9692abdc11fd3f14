#include "expressionwidget.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpacerItem>

#include "datafiles/expressionsfile.h"
#include "datafiles/xmlfile.h"

namespace
{
// Rows of the line edits; the same order as TExpressionsFile::Fields().
enum TRow
{
    Row_Build_Path,
    Row_CMake_Bin_Path,
    Row_QMake_Bin_Path,
    Row_Library_Path,
    Row_Desktop_Menu_Path,
    Row_Target_Install_Path,
    Row_Target_Desktop_Menu_Path
};

QFont Title_Font()
{
    QFont font;
    font.setPointSize(15);
    font.setWeight(QFont::Normal);
    font.setItalic(true);
    font.setUnderline(true);
    return font;
}
}

TExpressionsWidget::TExpressionsWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
    Create_Widgets();
}

void TExpressionsWidget::Create_Widgets()
{
    resize(745, 468);
    auto* layout = new QGridLayout(this);
    auto* title = new QLabel("Expressions", this);
    title->setFont(Title_Font());
    layout->addWidget(title, 0, 0, 1, 2);

    int row = 1;
    for (const TExpressionField& field : TExpressionsFile::Fields())
    {
        auto* label = new QLabel(field.Label, this);
        auto* edit = new QLineEdit(this);
        label->setBuddy(edit);
        layout->addWidget(label, row, 0);
        layout->addWidget(edit, row, 1);
        d_edits.push_back(edit);
        ++row;
    }
    const QString link = "The spec takes the bundled files from this folder. Detect copies them "
                         "into the Options tab's \"Shared Libs Path\", which should be this "
                         "folder too; the Options tab says whether it is.";
    d_edits.at(Row_Library_Path)->setToolTip(link);
    layout->itemAtPosition(1 + Row_Library_Path, 0)->widget()->setToolTip(link);
    layout->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), row, 1);
}

QString TExpressionsWidget::Value(int index) const
{
    return d_edits.at(static_cast<std::size_t>(index))->text();
}

QString TExpressionsWidget::Build_Path() const
{
    return Value(Row_Build_Path);
}

QString TExpressionsWidget::CMake_Bin_Path() const
{
    return Value(Row_CMake_Bin_Path);
}

QString TExpressionsWidget::QMake_Bin_Path() const
{
    return Value(Row_QMake_Bin_Path);
}

QString TExpressionsWidget::Library_Path() const
{
    return Value(Row_Library_Path);
}

QString TExpressionsWidget::Desktop_Menu_Path() const
{
    return Value(Row_Desktop_Menu_Path);
}

QString TExpressionsWidget::Target_Install_Path() const
{
    return Value(Row_Target_Install_Path);
}

QString TExpressionsWidget::Target_Desktop_Menu_Path() const
{
    return Value(Row_Target_Desktop_Menu_Path);
}

void TExpressionsWidget::Set_Values(const QStringList& values)
{
    for (std::size_t i = 0; i < d_edits.size(); ++i)
        d_edits[i]->setText(values.at(static_cast<int>(i)));
}

QStringList TExpressionsWidget::Values() const
{
    QStringList values;
    for (const QLineEdit* edit : d_edits)
        values.append(edit->text());
    return values;
}

void TExpressionsWidget::Initialize()
{
    Set_Values(TExpressionsFile::Factory_Values());
}

bool TExpressionsWidget::Load_Defaults(const QString& folder, QString* reason)
{
    try
    {
        TXmlFile xml;
        TExpressionsFile::Open(&xml, folder);
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

void TExpressionsWidget::Load_V1(TXmlFile* xml)
{
    Set_Values(TExpressionsFile::Read_V1(*xml));
}

bool TExpressionsWidget::Save_Defaults(const QString& folder, QString* error)
{
    try
    {
        TExpressionsFile::Write(folder, Values());
        return true;
    }
    catch (const TXmlFileException& exception)
    {
        if (error != nullptr)
            *error = exception.Message;
        return false;
    }
}
