#include "filedialog.h"

#include "folderdialog.h"

TFileDialog::TAnswerer& TFileDialog::Answerer()
{
    static TAnswerer answerer;
    return answerer;
}

void TFileDialog::Set_Answerer(const TAnswerer& answerer)
{
    Answerer() = answerer;
}

QString TFileDialog::Save_File_Name(QWidget* parent, const QString& caption, const QString& folder,
                                    const QString& filter)
{
    if (Answerer())
        return Answerer()({TFileDialogRequest::Save_File, caption, folder, filter});
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

QString TFileDialog::Open_File_Name(QWidget* parent, const QString& caption, const QString& folder,
                                    const QString& filter)
{
    if (Answerer())
        return Answerer()({TFileDialogRequest::Open_File, caption, folder, filter});
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}

QString TFileDialog::Existing_Directory(QWidget* parent, const QString& caption,
                                        const QString& folder)
{
    if (Answerer())
        return Answerer()({TFileDialogRequest::Existing_Directory, caption, folder, QString()});
    return TFolderDialog::Ask(parent, caption, folder);
}
