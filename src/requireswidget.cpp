#include "requireswidget.h"

TRequiresWidget::TRequiresWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
}

bool TRequiresWidget::Load_Defaults(const QString&)
{
    return false;
}

void TRequiresWidget::Refresh_Required_Packages(const QStringList&)
{
}

bool TRequiresWidget::Save_Defaults(const QString&)
{
    return false;
}
