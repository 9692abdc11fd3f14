#ifndef FILEDIALOG_H
#define FILEDIALOG_H

#include <QFileDialog>
#include <QString>

#include <functional>

// One question the editor asks about a file or a folder.
struct TFileDialogRequest
{
    enum TKind
    {
        Save_File,
        Open_File,
        Existing_Directory
    };

    TKind Kind;
    QString Caption;
    QString Folder;
    QString Filter;
};

// Every file and folder dialog of the editor goes through here, so that a
// test can answer the question itself instead of a modal dialog. An empty
// answer means the user cancelled.
class TFileDialog
{
public:
    using TAnswerer = std::function<QString(const TFileDialogRequest&)>;

    static QString Save_File_Name(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter);
    static QString Open_File_Name(QWidget* parent, const QString& caption, const QString& folder,
                                  const QString& filter);
    // A folder typed that does not exist is made once the user agrees.
    static QString Existing_Directory(QWidget* parent, const QString& caption,
                                      const QString& folder);

    // Replaces the real dialogs; an empty answerer brings them back.
    static void Set_Answerer(const TAnswerer& answerer);

private:
    static TAnswerer& Answerer();
};

#endif
