#include "familydialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogparts.h"
#include "dialogplacement.h"

TFamilyDialog::TFamilyDialog(QWidget* parent, const QStringList& families)
    : QDialog(parent), d_list(new QListWidget(this))
{
    setWindowTitle("Add Plug-in Families");
    d_list->setObjectName("family_list");
    for (const QString& family : families)
    {
        auto* item = new QListWidgetItem(family, d_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    auto* cancel = new QPushButton("Cancel", this);
    auto* accept = new QPushButton("Add", this);
    accept->setDefault(true);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Bundle every plug-in of these families as well:", this));
    layout->addWidget(d_list);
    layout->addWidget(Separator_Line(this));
    layout->addLayout(Dialog_Buttons(cancel, accept));
}

QStringList TFamilyDialog::Ticked() const
{
    QStringList ticked;
    for (int row = 0; row < d_list->count(); ++row)
    {
        if (d_list->item(row)->checkState() == Qt::Checked)
            ticked.append(d_list->item(row)->text());
    }
    return ticked;
}

void TFamilyDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Place_Over_Parent(this);
}
