#include "specpreview.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include "panelwatch.h"
#include "spechighlighter.h"
#include "spec/spectext.h"

namespace
{
QPlainTextEdit* Spec_View(QWidget* parent)
{
    auto* view = new QPlainTextEdit(parent);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    view->setFont(font);
    view->setReadOnly(true);
    view->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    view->setLineWrapMode(QPlainTextEdit::NoWrap);
    new TSpecHighlighter(view->document());
    return view;
}
}

TSpecPreview::TSpecPreview(QWidget* parent, QWidget* watched, TComposer composer)
    : QWidget(parent, Qt::Window), d_composer(std::move(composer)),
      d_state(new QLabel(this)), d_text(Spec_View(this)), d_delay(new QTimer(this))
{
    setWindowTitle("Spec Preview");
    setAttribute(Qt::WA_QuitOnClose, false);
    resize(800, 700);
    d_state->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(d_state);
    layout->addWidget(d_text);

    d_delay->setSingleShot(true);
    d_delay->setInterval(Refresh_Delay_Ms);
    connect(d_delay, &QTimer::timeout, this, &TSpecPreview::Refresh);
    connect(new TPanelWatch(watched, this), &TPanelWatch::Changed, this,
            &TSpecPreview::Panels_Changed);
}

void TSpecPreview::showEvent(QShowEvent* event)
{
    Refresh();
    QWidget::showEvent(event);
}

void TSpecPreview::Panels_Changed()
{
    if (isVisible())
        d_delay->start();
}

void TSpecPreview::Refresh()
{
    d_delay->stop();
    const TSpecText spec = d_composer();
    if (spec.Is_Complete())
    {
        d_state->setText("The spec file as Create would write it now "
                         "(requirements as listed, without a new scan):");
        Show_Text(spec.Text);
    }
    else
    {
        d_state->setText("Create would not write a spec file now:");
        Show_Text(spec.Error);
    }
}

// A refresh keeps the place the user was reading at.
void TSpecPreview::Show_Text(const QString& text)
{
    if (d_text->toPlainText() == text)
        return;
    const int position = d_text->verticalScrollBar()->value();
    d_text->setPlainText(text);
    d_text->verticalScrollBar()->setValue(position);
}
