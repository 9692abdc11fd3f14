#include "messagebox.h"

#include <QCoreApplication>
#include <QKeyEvent>

#include "dialogplacement.h"

TMessageBox::TMessageBox(const QWidget* parent)
    : QMessageBox(const_cast<QWidget*>(parent)), d_width(500)
{
    setWindowTitle("Kestrelvantory");
    setTextFormat(Qt::RichText);
    setStyleSheet("dialogbuttonbox-buttons-have-icons: 0;\nbutton-layout: 1;");
}

TMessageBox::~TMessageBox() = default;

int TMessageBox::exec()
{
    return QMessageBox::exec();
}

void TMessageBox::setText(const QString& text)
{
    QMessageBox::setText(
        QString("<span style=\"font-size:10pt; font-weight:600; color:#000000;\" >%1</span>").arg(text));
}

void TMessageBox::setInformativeText(const QString& text)
{
    QMessageBox::setInformativeText(
        QString("<span style=\"font-size:10pt; font-weight:400; color:#000000;\" >%1</span>").arg(text));
}

void TMessageBox::Send_Key(int key)
{
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::postEvent(this, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
}

void TMessageBox::resizeEvent(QResizeEvent* event)
{
    QMessageBox::resizeEvent(event);
    setFixedWidth(d_width);
}

// Over the parent each time, also after a progress dialog came and went.
void TMessageBox::showEvent(QShowEvent* event)
{
    QMessageBox::showEvent(event);
    setFixedWidth(d_width);
    Place_Over_Parent(this);
}
