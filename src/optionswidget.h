#ifndef OPTIONSWIDGET_H
#define OPTIONSWIDGET_H

#include <QString>
#include <QWidget>

#include "types.h"

class QComboBox;
class QLineEdit;
class TXmlFile;

// The "Options" tab: the make-file generator and the requirements mode, kept
// in "options.xml", and the shared-libraries folder, which the main window
// keeps in its settings and learns of through Shared_Libs_Path_Changed.
class TOptionsWidget : public QWidget
{
    Q_OBJECT

public:
    TOptionsWidget(const QWidget* parent, Qt::WindowFlags flags);

    TTypes::TOptionMakeGenerator Generator_Type() const;
    TTypes::TOptionRequies Requires_Type() const;
    QString Shared_Libs_Path() const;

    void Set_Generator_Type(TTypes::TOptionMakeGenerator type);
    void Set_Requires_Type(TTypes::TOptionRequies type);
    // Shows `path` without announcing it.
    void Set_Shared_Libs_Path(const QString& path);

    // Factory contents: the generator only.
    void Initialize();
    bool Load_Defaults(const QString& folder);
    void Load_V1(TXmlFile* xml);
    bool Save_Defaults(const QString& folder, QString* error = nullptr);

signals:
    // Only a folder the user picks with "..." is announced, in native separators.
    void Shared_Libs_Path_Changed(const QString& path);

private slots:
    void Browse_Shared_Libs_Path();

private:
    void Create_Widgets();

    QComboBox* d_generator_combo;
    QComboBox* d_requires_combo;
    QLineEdit* d_shared_libs_edit;
};

#endif
