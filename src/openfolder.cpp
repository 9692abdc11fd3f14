#include "openfolder.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QGuiApplication>
#include <QPushButton>
#include <QUrl>

#include "messagebox.h"

bool Open_Folder(QWidget* parent, const QString& folder)
{
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(folder)))
        return true;
    const QString shown = QDir::toNativeSeparators(folder);
    TMessageBox box(parent);
    box.setObjectName("open_folder_box");
    box.setText("Open Folder");
    box.setInformativeText(
        QString("No file manager could be started to show the folder. It is:<br><br>%1")
            .arg(shown.toHtmlEscaped()));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    box.setIcon(QMessageBox::Information);
    QPushButton* copy = box.addButton("Copy Path", QMessageBox::ActionRole);
    box.addButton(QMessageBox::Close);
    box.setDefaultButton(copy);
    box.exec();
    if (box.clickedButton() == copy)
        QGuiApplication::clipboard()->setText(shown);
    return false;
}
