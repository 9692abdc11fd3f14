#include "changelogwidget.h"

TChangeLogWidget::TChangeLogWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
}

bool TChangeLogWidget::Load_Defaults(const QString&)
{
    return false;
}

bool TChangeLogWidget::Save_Defaults(const QString&)
{
    return false;
}
