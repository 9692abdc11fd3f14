#ifndef LIBRARYEDITDIALOG_H
#define LIBRARYEDITDIALOG_H

#include <QDialog>
#include <QString>
#include <QStringList>

#include "types.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks the Libraries panel's user for a new target, a new library, changed
// library data or a new library version. The mode given to Reset chooses the
// title, the editable fields and the rule that enables "Accept" while the
// user types. Entries, type and the state of "Accept" are kept between uses.
class TLibraryEditDialog : public QDialog
{
    Q_OBJECT

public:
    struct TData
    {
        QString Target_Name;
        QString Library_Name;
        TTypes::TLibraryType Library_Type = TTypes::Library_Dylib;
    };

    TLibraryEditDialog(const QWidget* parent, Qt::WindowFlags flags);

    void Reset(TTypes::TEditorType editor_type, const QStringList& target_names);
    void Set_Target_Name(const QString& name);
    void Set_Library_Name(const QString& name);
    void Set_Library_Type(TTypes::TLibraryType type);
    TData Data() const;

    // Whether the entries as they stand obey the rule of the current mode.
    // "Accept" follows the rule only while the user types, so an entry left
    // by an earlier use may still be accepted without it.
    bool Entries_Acceptable() const;

private slots:
    void Validate_Entries();

private:
    void Create_Layout();
    void Enable_Fields(bool target, bool library, bool type);
    QString Entries_Problem() const;

    QComboBox* d_type;
    QLineEdit* d_target_name;
    QLineEdit* d_library_name;
    QPushButton* d_accept;
    QPushButton* d_cancel;
    QLabel* d_target_label;
    QLabel* d_library_label;
    QLabel* d_type_label;
    QLabel* d_problem;
    QStringList d_target_names;
    TTypes::TEditorType d_editor_type = TTypes::Editor_Add_Target;
};

#endif
