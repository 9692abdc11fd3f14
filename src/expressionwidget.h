#ifndef EXPRESSIONWIDGET_H
#define EXPRESSIONWIDGET_H

#include <QString>
#include <QWidget>

// Placeholder tab until the panel is built: it keeps no defaults yet.
class TExpressionsWidget : public QWidget
{
    Q_OBJECT

public:
    TExpressionsWidget(const QWidget* parent, Qt::WindowFlags flags);

    bool Load_Defaults(const QString& folder);
    bool Save_Defaults(const QString& folder);
};

#endif
