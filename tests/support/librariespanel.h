#ifndef LIBRARIESPANEL_H
#define LIBRARIESPANEL_H

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "kestrelvantory.h"

class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class TLibrariesWidget;

namespace Test
{
// The editor's main window as the user meets it, with its Libraries tab.
struct TLibrariesEditor
{
    TLibrariesEditor();

    bool Show();
    QToolButton* Button(const QString& name) const;

    TKestrelvantory Window;
    TLibrariesWidget* Panel;
    QTreeWidget* Targets;
    QTreeWidget* Libraries;
};

// The texts of one column, top to bottom.
QStringList Column(const QTreeWidget* tree, int column);
// The texts of one column in the rows whose check box is checked.
QStringList Checked_Rows(const QTreeWidget* tree, int column);
// The first row showing `name` in `column`; the test stops when there is none.
QTreeWidgetItem* Row(const QTreeWidget* tree, const QString& name, int column);
// The rows showing `target` in column 0.
QList<QTreeWidgetItem*> Rows_Of(const QTreeWidget* tree, const QString& target);

// Clicks the check box in column 0 of `item`, where the view's delegate
// looks for it.
void Click_Check_Box(QTreeWidget* tree, QTreeWidgetItem* item);
void Press_Space(QTreeWidget* tree, QTreeWidgetItem* item);

// The texts of every element `tag` of an XML document, in document order.
QStringList Element_Texts(const QByteArray& document, const QString& tag);
}

#endif
