#include "variableeditor.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpacerItem>

#include "dialogparts.h"

TVariableEditor::TVariableEditor(const QWidget* parent, Qt::WindowFlags flags)
    : QDialog(const_cast<QWidget*>(parent), flags)
{
    setWindowTitle("Variable Editor");
    resize(400, 181);

    d_name = new QLineEdit(this);
    d_name->setObjectName("Name");
    d_value = new QLineEdit(this);
    d_value->setObjectName("Value");
    d_accept = new QPushButton("Accept", this);
    d_accept->setAutoDefault(true);
    d_accept->setEnabled(false);
    d_cancel = new QPushButton("Cancel", this);
    d_cancel->setAutoDefault(false);

    QFrame* line = Separator_Line(this);
    QHBoxLayout* buttons = Dialog_Buttons(d_cancel, d_accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(new QLabel("Name:", this), 0, 0);
    layout->addWidget(d_name, 0, 1);
    layout->addWidget(new QLabel("Value:", this), 1, 0);
    layout->addWidget(d_value, 1, 1);
    layout->addWidget(line, 2, 0, 1, 2);
    layout->addItem(new QSpacerItem(0, 0, QSizePolicy::Minimum, QSizePolicy::Expanding), 3, 0,
                    1, 2);
    layout->addLayout(buttons, 4, 0, 1, 2);

    connect(d_name, &QLineEdit::textChanged, this, &TVariableEditor::Validate);
    connect(d_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(d_accept, &QPushButton::clicked, this, &QDialog::accept);
}

QString TVariableEditor::Name() const
{
    return d_name->text();
}

QString TVariableEditor::Value() const
{
    return d_value->text();
}

void TVariableEditor::Validate(const QString& text)
{
    d_accept->setEnabled(!text.isEmpty());
}
