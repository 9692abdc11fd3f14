#include "dialogplacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void Place_Over_Parent(QWidget* dialog)
{
    const QWidget* parent = dialog->parentWidget();
    if (parent == nullptr)
        return;
    const QRect over = parent->window()->frameGeometry();
    QRect placed(QPoint(), dialog->frameGeometry().size());
    placed.moveCenter(over.center());
    const QScreen* screen = QGuiApplication::screenAt(over.center());
    if (screen == nullptr)
        screen = QGuiApplication::primaryScreen();
    const QRect available = screen->availableGeometry();
    placed.moveRight(qMin(placed.right(), available.right()));
    placed.moveBottom(qMin(placed.bottom(), available.bottom()));
    placed.moveLeft(qMax(placed.left(), available.left()));
    placed.moveTop(qMax(placed.top(), available.top()));
    dialog->move(placed.topLeft());
}
