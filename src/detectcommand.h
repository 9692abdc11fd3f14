#ifndef DETECTCOMMAND_H
#define DETECTCOMMAND_H

#include <QObject>
#include <QString>

#include <functional>

#include "bundle/bundledetection.h"
#include "libraries/detectionchoices.h"
#include "datafiles/qtbuild.h"

class QWidget;
class TLibrariesWidget;
class TMessageBox;

// "Detect from Program...": asks for a built program, finds the Qt libraries
// and plug-ins it needs with the user's choices kept by the Libraries panel,
// shows them, lets the user add plug-in families and, once the user accepts,
// applies them to the Libraries panel, copies them into the shared-libraries
// folder and tells which Qt installation the spec is to build against. The
// libraries the user checked by hand that name no plug-in of the Qt
// installation stay checked and are told apart. A program that loads Qt's
// QML library is asked for the folder of its QML sources too, and the QML
// modules they import join the bundle.
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
    enum TAnswer
    {
        Answer_Apply,
        Answer_Cancel,
        Answer_More_Families,
        Answer_Failed  // nothing was detected, as told on the status bar
    };

    TAnswer Detect_And_Ask(const QString& program, TDetectionChoices* choices,
                           TBundleDetection* detection);
    bool Detect(const QString& program, const QString& qml_sources,
                const TDetectionChoices& choices, TBundleDetection* detection);
    QString Chosen_Qml_Sources(const QString& program);
    TAnswer Ask(const QString& program, const TBundleDetection& detection,
                bool families_offered);
    QString Shared_Libs_Folder();
    void Apply(const QString& program, const TBundle& bundle, const QStringList& kept,
               const QString& folder);

    QWidget* d_window;
    TLibrariesWidget* d_panel;
    TPathQuery d_shared_libs_path;
    TMessageBox* d_message_box;
    QString d_program_folder;
    QString d_qml_sources;
};

#endif
