#ifndef MESSAGEAREA_H
#define MESSAGEAREA_H

#include <QStringList>
#include <QWidget>

class QPlainTextEdit;

// The main window's place for results: every message in full, newest last,
// each with its time and the lines that explain it, where the status bar
// shows one line. Hidden until there is something to read; "Hide" puts it
// away until the next message.
class TMessageArea : public QWidget
{
    Q_OBJECT

public:
    explicit TMessageArea(QWidget* parent);

    void Add(const QString& text, const QStringList& details = QStringList());
    QString Text() const;

private:
    QPlainTextEdit* d_text;
};

#endif
