#include "panelwatch.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

TPanelWatch::TPanelWatch(QWidget* watched, QObject* parent) : QObject(parent)
{
    Watch_Editors(watched);
    Watch_Item_Views(watched);
}

void TPanelWatch::Watch_Editors(QWidget* watched)
{
    for (QLineEdit* edit : watched->findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, this, &TPanelWatch::Changed);
    for (QPlainTextEdit* edit : watched->findChildren<QPlainTextEdit*>())
        connect(edit, &QPlainTextEdit::textChanged, this, &TPanelWatch::Changed);
    for (QComboBox* combo : watched->findChildren<QComboBox*>())
        connect(combo, QOverload<int>::of(&QComboBox::currentIndexChanged), this,
                &TPanelWatch::Changed);
}

void TPanelWatch::Watch_Item_Views(QWidget* watched)
{
    for (QAbstractItemView* view : watched->findChildren<QAbstractItemView*>())
    {
        const QAbstractItemModel* model = view->model();
        if (model == nullptr)
            continue;
        connect(model, &QAbstractItemModel::dataChanged, this, &TPanelWatch::Changed);
        connect(model, &QAbstractItemModel::headerDataChanged, this, &TPanelWatch::Changed);
        connect(model, &QAbstractItemModel::rowsInserted, this, &TPanelWatch::Changed);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TPanelWatch::Changed);
        connect(model, &QAbstractItemModel::rowsMoved, this, &TPanelWatch::Changed);
        connect(model, &QAbstractItemModel::modelReset, this, &TPanelWatch::Changed);
        connect(model, &QAbstractItemModel::layoutChanged, this, &TPanelWatch::Changed);
    }
}
