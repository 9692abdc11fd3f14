#include "optionswidget.h"

TOptionsWidget::TOptionsWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
}

bool TOptionsWidget::Load_Defaults(const QString&)
{
    return false;
}

void TOptionsWidget::Set_Shared_Libs_Path(const QString&)
{
}

bool TOptionsWidget::Save_Defaults(const QString&)
{
    return false;
}
