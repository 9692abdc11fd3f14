#ifndef CHANGELOGWIDGET_H
#define CHANGELOGWIDGET_H

#include <QString>
#include <QWidget>

// Placeholder tab until the panel is built: it keeps no defaults yet.
class TChangeLogWidget : public QWidget
{
    Q_OBJECT

public:
    TChangeLogWidget(const QWidget* parent, Qt::WindowFlags flags);

    bool Load_Defaults(const QString& folder);
    bool Save_Defaults(const QString& folder);
};

#endif
