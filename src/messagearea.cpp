#include "messagearea.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTime>
#include <QToolButton>
#include <QVBoxLayout>

TMessageArea::TMessageArea(QWidget* parent) : QWidget(parent), d_text(new QPlainTextEdit(this))
{
    setObjectName("messages");
    d_text->setReadOnly(true);
    d_text->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    d_text->setMinimumHeight(60);
    auto* hide_button = new QToolButton(this);
    hide_button->setText("Hide");
    hide_button->setAutoRaise(true);
    connect(hide_button, &QToolButton::clicked, this, &QWidget::hide);
    auto* heading = new QHBoxLayout;
    heading->addWidget(new QLabel("Messages", this));
    heading->addStretch();
    heading->addWidget(hide_button);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(heading);
    layout->addWidget(d_text);
    hide();
}

void TMessageArea::Add(const QString& text, const QStringList& details)
{
    QString entry = QTime::currentTime().toString("HH:mm:ss") + "  " + text;
    for (const QString& detail : details)
        entry += "\n        " + detail;
    d_text->appendPlainText(entry);
    d_text->verticalScrollBar()->setValue(d_text->verticalScrollBar()->maximum());
    show();
}

QString TMessageArea::Text() const
{
    return d_text->toPlainText();
}
