#include "librarieswidget.h"

TLibrariesWidget::TLibrariesWidget(const QWidget* parent, Qt::WindowFlags flags)
    : QWidget(const_cast<QWidget*>(parent), flags)
{
}

bool TLibrariesWidget::Load_Defaults(const QString&)
{
    return false;
}

QStringList TLibrariesWidget::Active_Targets(bool) const
{
    return QStringList();
}

bool TLibrariesWidget::Save_Defaults(const QString&)
{
    return false;
}
