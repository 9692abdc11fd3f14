#ifndef DETECTCOMMAND_H
#define DETECTCOMMAND_H

#include <QObject>
#include <QString>

#include <functional>

#include "bundle/bundle.h"
#include "bundle/bundledetection.h"
#include "spec/qtbuild.h"

class QWidget;
class TLibrariesWidget;
class TMessageBox;

// "Detect from Program...": asks for a built program, finds the Qt libraries
// and plug-ins it needs, shows them and, once the user accepts, applies them
// to the Libraries panel, copies them into the shared-libraries folder and
// tells which Qt installation the spec is to build against. A program that
// loads Qt's QML library is asked for the folder of its QML sources too, and
// the QML modules they import join the bundle.
class TDetectCommand : public QObject
{
    Q_OBJECT

public:
    using TPathQuery = std::function<QString()>;

    // `shared_libs_path` tells the shared-libraries folder in use.
    TDetectCommand(QWidget* window, TLibrariesWidget* panel, const TPathQuery& shared_libs_path);

    // The QML sources folder last chosen, kept with the project; empty: none.
    const QString& Qml_Sources() const { return d_qml_sources; }
    void Set_Qml_Sources(const QString& folder) { d_qml_sources = folder; }

public slots:
    void Run();

signals:
    // The outcome, for the status bar.
    void Status_Message(const QString& text);
    // The user chose a shared-libraries folder because none was set.
    void Shared_Libs_Path_Chosen(const QString& path);
    // The Qt installation the applied bundle comes from.
    void Qt_Build_Detected(const TQtBuild& qt);

private:
    TBundleDetection Detect(const QString& program, const QString& qml_sources);
    QString Chosen_Qml_Sources(const QString& program);
    bool Accepted(const QString& program, const TBundle& bundle);
    QString Shared_Libs_Folder();
    void Apply(const QString& program, const TBundle& bundle, const QString& folder);

    QWidget* d_window;
    TLibrariesWidget* d_panel;
    TPathQuery d_shared_libs_path;
    TMessageBox* d_message_box;
    QString d_program_folder;
    QString d_qml_sources;
};

#endif
