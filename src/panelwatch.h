#ifndef PANELWATCH_H
#define PANELWATCH_H

#include <QObject>

class QWidget;

// Tells when anything a user can edit inside a widget changes: the text of
// its line and text editors, the choice of its combo boxes, and the items
// and headers of its lists, tables and trees.
class TPanelWatch : public QObject
{
    Q_OBJECT

public:
    TPanelWatch(QWidget* watched, QObject* parent);

signals:
    void Changed();

private:
    void Watch_Editors(QWidget* watched);
    void Watch_Item_Views(QWidget* watched);
};

#endif
