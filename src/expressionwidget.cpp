#include "expressionwidget.h"

TExpressionsWidget::TExpressionsWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
}

bool TExpressionsWidget::Load_Defaults(const QString&)
{
    return false;
}

bool TExpressionsWidget::Save_Defaults(const QString&)
{
    return false;
}
