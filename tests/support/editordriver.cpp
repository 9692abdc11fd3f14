#include "editordriver.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QStatusBar>
#include <QToolButton>
#include <QTreeWidget>

#include "expressionwidget.h"
#include "librarieswidget.h"
#include "optionswidget.h"

namespace
{
void Set_Checked(QTreeWidget* tree, int column, const QStringList& checked)
{
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
    {
        QTreeWidgetItem* item = tree->topLevelItem(row);
        item->setCheckState(0, checked.contains(item->text(column)) ? Qt::Checked : Qt::Unchecked);
    }
}
}

namespace Test
{
TEditor::TEditor(const QString& data_folder) : d_window(nullptr, Qt::WindowFlags(), data_folder)
{
}

void TEditor::Check_Libraries(const QStringList& targets, const QStringList& libraries)
{
    auto* panel = Panel<TLibrariesWidget>();
    Set_Checked(panel->findChild<QTreeWidget*>("library_tree"), 2, libraries);
    Set_Checked(panel->findChild<QTreeWidget*>("target_tree"), 0, targets);
}

QComboBox* TEditor::Options_Combo(int index)
{
    return Panel<TOptionsWidget>()->findChildren<QComboBox*>().at(index);
}

QLineEdit* TEditor::Expression(int index)
{
    return Panel<TExpressionsWidget>()->findChildren<QLineEdit*>().at(index);
}

void TEditor::Browse_Shared_Libs_Path()
{
    Panel<TOptionsWidget>()->findChild<QToolButton*>()->click();
}

QString TEditor::Trigger(const QString& text)
{
    for (QAction* action : d_window.findChildren<QAction*>())
        if (action->text() == text)
            action->trigger();
    return d_window.statusBar()->currentMessage();
}
}
