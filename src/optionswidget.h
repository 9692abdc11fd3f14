#ifndef OPTIONSWIDGET_H
#define OPTIONSWIDGET_H

#include <QString>
#include <QWidget>

// Placeholder tab until the panel is built: it keeps no defaults yet.
class TOptionsWidget : public QWidget
{
    Q_OBJECT

public:
    TOptionsWidget(const QWidget* parent, Qt::WindowFlags flags);

    bool Load_Defaults(const QString& folder);
    bool Save_Defaults(const QString& folder);

    void Set_Shared_Libs_Path(const QString& path);

signals:
    void Shared_Libs_Path_Changed(const QString& path);
};

#endif
