#ifndef REQUIRESWIDGET_H
#define REQUIRESWIDGET_H

#include <QString>
#include <QStringList>
#include <QWidget>

// Placeholder tab until the panel is built: it keeps no defaults yet.
class TRequiresWidget : public QWidget
{
    Q_OBJECT

public:
    TRequiresWidget(const QWidget* parent, Qt::WindowFlags flags);

    bool Load_Defaults(const QString& folder);
    bool Save_Defaults(const QString& folder);

    void Refresh_Required_Packages(const QStringList& targets);

    // The folder whose target subfolders are scanned; kept in "settings.ini".
    QString d_shared_libs_path;

signals:
    void Refresh();
};

#endif
