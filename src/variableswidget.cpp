#include "variableswidget.h"

TVariablesWidget::TVariablesWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
}

bool TVariablesWidget::Load_Defaults(const QString&)
{
    return false;
}

bool TVariablesWidget::Save_Defaults(const QString&)
{
    return false;
}
