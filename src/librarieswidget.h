#ifndef LIBRARIESWIDGET_H
#define LIBRARIESWIDGET_H

#include <QString>
#include <QStringList>
#include <QWidget>

// Placeholder tab until the panel is built: it keeps no defaults yet.
class TLibrariesWidget : public QWidget
{
    Q_OBJECT

public:
    TLibrariesWidget(const QWidget* parent, Qt::WindowFlags flags);

    bool Load_Defaults(const QString& folder);
    bool Save_Defaults(const QString& folder);

    QStringList Active_Targets(bool with_libraries) const;
};

#endif
