#ifndef MESSAGEBOX_H
#define MESSAGEBOX_H

#include <QMessageBox>

// The program's message box: fixed width, rich text, a bold main text and a
// normal-weight informative text, buttons without icons, the program's name
// as its title, placed over its parent window.
class TMessageBox : public QMessageBox
{
public:
    explicit TMessageBox(const QWidget* parent);
    ~TMessageBox() override;

    int exec() override;

    // Hide QMessageBox's non-virtual setters of the same names.
    virtual void setText(const QString& text);
    virtual void setInformativeText(const QString& text);

    // Posts a press and a release of `key` to the box; handled by the event
    // loop, for example while exec() runs.
    void Send_Key(int key);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    int d_width;
};

#endif
