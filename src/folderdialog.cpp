#include "folderdialog.h"

#include <QDir>
#include <QFileInfo>

#include "messagebox.h"

TFolderDialog::TFolderDialog(QWidget* parent, const QString& caption, const QString& folder)
    : QFileDialog(parent, caption, folder)
{
    setFileMode(QFileDialog::Directory);
    setOptions(QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
}

QString TFolderDialog::Ask(QWidget* parent, const QString& caption, const QString& folder)
{
    TFolderDialog dialog(parent, caption, folder);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.selectedFiles().value(0);
}

void TFolderDialog::accept()
{
    const QString folder = selectedFiles().value(0);
    if (folder.isEmpty() || QFileInfo(folder).isDir() || Made(folder))
        QFileDialog::accept();
}

bool TFolderDialog::Made(const QString& folder)
{
    const QString shown = QDir::toNativeSeparators(folder);
    TMessageBox box(this);
    box.setObjectName("make_folder_box");
    box.setText(windowTitle());
    box.setInformativeText(
        QString("The folder \"%1\" does not exist. Make it?").arg(shown.toHtmlEscaped()));
    box.setIcon(QMessageBox::Question);
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() != QMessageBox::Yes)
        return false;
    if (QDir().mkpath(folder))
        return true;
    TMessageBox refusal(this);
    refusal.setText(windowTitle());
    refusal.setInformativeText(
        QString("The folder \"%1\" could not be made.").arg(shown.toHtmlEscaped()));
    refusal.setIcon(QMessageBox::Warning);
    refusal.exec();
    return false;
}
