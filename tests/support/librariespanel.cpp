#include "librariespanel.h"

#include <QRegularExpression>
#include <QStyleOptionViewItem>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

#include "librarieswidget.h"

namespace Test
{
TLibrariesEditor::TLibrariesEditor()
    : Window(nullptr, Qt::WindowFlags()),
      Panel(Window.findChild<TLibrariesWidget*>()),
      Targets(Panel->findChild<QTreeWidget*>("target_tree")),
      Libraries(Panel->findChild<QTreeWidget*>("library_tree"))
{
}

bool TLibrariesEditor::Show()
{
    Window.findChild<QTabWidget*>()->setCurrentWidget(Panel);
    Window.show();
    return QTest::qWaitForWindowExposed(&Window);
}

QToolButton* TLibrariesEditor::Button(const QString& name) const
{
    return Panel->findChild<QToolButton*>(name);
}

QStringList Column(const QTreeWidget* tree, int column)
{
    QStringList texts;
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
        texts.append(tree->topLevelItem(row)->text(column));
    return texts;
}

QStringList Checked_Rows(const QTreeWidget* tree, int column)
{
    QStringList texts;
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
    {
        if (tree->topLevelItem(row)->checkState(0) == Qt::Checked)
            texts.append(tree->topLevelItem(row)->text(column));
    }
    return texts;
}

QTreeWidgetItem* Row(const QTreeWidget* tree, const QString& name, int column)
{
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
    {
        if (tree->topLevelItem(row)->text(column) == name)
            return tree->topLevelItem(row);
    }
    qFatal("no row %s", qPrintable(name));
}

QList<QTreeWidgetItem*> Rows_Of(const QTreeWidget* tree, const QString& target)
{
    QList<QTreeWidgetItem*> rows;
    for (int row = 0; row < tree->topLevelItemCount(); ++row)
    {
        if (tree->topLevelItem(row)->text(0) == target)
            rows.append(tree->topLevelItem(row));
    }
    return rows;
}

void Click_Check_Box(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->scrollToItem(item);
    QStyleOptionViewItem option;
    option.initFrom(tree->viewport());
    option.rect = tree->visualItemRect(item);
    option.rect.setWidth(tree->columnWidth(0));
    option.features = QStyleOptionViewItem::HasCheckIndicator | QStyleOptionViewItem::HasDisplay;
    option.text = item->text(0);
    option.checkState = item->checkState(0);
    const QRect box =
        tree->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, tree);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, box.center());
}

void Press_Space(QTreeWidget* tree, QTreeWidgetItem* item)
{
    tree->setFocus();
    tree->setCurrentItem(item);
    QTest::keyClick(tree, Qt::Key_Space);
}

QStringList Element_Texts(const QByteArray& document, const QString& tag)
{
    QStringList texts;
    const QRegularExpression element(QString("<%1>([^<]*)</%1>").arg(tag));
    auto matches = element.globalMatch(QString::fromUtf8(document));
    while (matches.hasNext())
        texts.append(matches.next().captured(1));
    return texts;
}
}
