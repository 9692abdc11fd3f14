#ifndef OPTIONSWIDGET_H
#define OPTIONSWIDGET_H

#include <QString>
#include <QWidget>

#include "datafiles/qtbuild.h"
#include "datafiles/optionsfile.h"
#include "types.h"

class QComboBox;
class QLineEdit;
class TXmlFile;

// The "Options" tab: the make-file generator, the requirements mode and the
// Qt installation the spec builds against, kept in "options.xml", and the
// shared-libraries folder, which the main window keeps in its settings and
// learns of through Shared_Libs_Path_Changed. The
// packager, named in new change-log entries and in the spec's "Packager:"
// tag, is kept in the settings too.
class TOptionsWidget : public QWidget
{
    Q_OBJECT

public:
    TOptionsWidget(const QWidget* parent, Qt::WindowFlags flags);

    TTypes::TOptionMakeGenerator Generator_Type() const;
    TTypes::TOptionRequies Requires_Type() const;
    // What "options.xml" keeps.
    TBuildOptions Build_Options() const;
    QString Shared_Libs_Path() const;
    QString Packager() const;
    TQtBuild Qt_Build() const;  // the prefix as typed, without checking it

    void Set_Generator_Type(TTypes::TOptionMakeGenerator type);
    void Set_Requires_Type(TTypes::TOptionRequies type);
    // Shows `path` as the path in use, without announcing it.
    void Set_Shared_Libs_Path(const QString& path);
    void Set_Packager(const QString& packager);
    void Set_Qt_Build(const TQtBuild& qt);

    // Factory contents: the generator, and the Qt unknown.
    void Initialize();
    bool Load_Defaults(const QString& folder);
    void Load_V1(TXmlFile* xml);
    bool Save_Defaults(const QString& folder, QString* error = nullptr);

signals:
    // A folder the user picks with "..." or a path typed into the field, once
    // the editing is finished, in native separators.
    void Shared_Libs_Path_Changed(const QString& path);

private slots:
    void Browse_Shared_Libs_Path();
    void Finish_Shared_Libs_Path_Edit();

private:
    void Create_Widgets();
    void Use_Shared_Libs_Path(const QString& shown);

    QComboBox* d_generator_combo;
    QComboBox* d_requires_combo;
    QLineEdit* d_shared_libs_edit;
    QString d_shared_libs_in_use;  // as shown, in native separators
    QLineEdit* d_packager_edit;
    QComboBox* d_qt_major_combo;
    QLineEdit* d_qt_prefix_edit;
};

#endif
