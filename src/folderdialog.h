#ifndef FOLDERDIALOG_H
#define FOLDERDIALOG_H

#include <QFileDialog>

// Asks for a folder; one typed that does not exist yet is made, all its
// missing levels at once, once the user agrees. The dialog is Qt's own, so
// that it behaves alike on every desktop.
class TFolderDialog : public QFileDialog
{
    Q_OBJECT

public:
    TFolderDialog(QWidget* parent, const QString& caption, const QString& folder);

    // The folder chosen; empty when the user cancelled.
    static QString Ask(QWidget* parent, const QString& caption, const QString& folder);

public slots:
    void accept() override;

private:
    bool Made(const QString& folder);
};

#endif
