#include "detectcommand.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <algorithm>

#include "bundle/bundleapplication.h"
#include "bundle/bundlecollection.h"
#include "bundle/bundledetection.h"
#include "filedialog.h"
#include "librarieswidget.h"
#include "messagebox.h"
#include "progressrun.h"

namespace
{
// "lib (6), platforms (5)": the targets in install order with their counts.
QString Target_Counts(const TBundle& bundle)
{
    QStringList targets;
    QMap<QString, int> counts;
    for (const TBundleFile& file : bundle.Files)
    {
        if (!counts.contains(file.Target))
            targets.append(file.Target);
        ++counts[file.Target];
    }
    for (QString& target : targets)
        target = QString("%1 (%2)").arg(target).arg(counts.value(target));
    return targets.join(", ");
}

bool Loads_Qml(const TBundle& bundle)
{
    return std::any_of(bundle.Files.begin(), bundle.Files.end(), [](const TBundleFile& file) {
        return file.Name.startsWith("libQt5Qml.so") || file.Name.startsWith("libQt6Qml.so");
    });
}

// The home folder is where the editor starts before any folder was chosen;
// copying libraries there is never what was meant.
bool Is_Set(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).canonicalFilePath() != QDir::home().canonicalPath();
}

QString Applied_Text(const TBundleApplication& application)
{
    return QString("%1 targets and %2 libraries added, %3 renamed, %4 unchecked")
        .arg(application.Targets_Added)
        .arg(application.Libraries_Added)
        .arg(application.Libraries_Renamed)
        .arg(application.Libraries_Unchecked);
}

QString Copied_Text(const TBundleCollection& collection, const QString& folder)
{
    const QString counts = QString("%1 copied, %2 already up to date")
                               .arg(collection.Copied.size())
                               .arg(collection.Up_To_Date.size());
    if (collection.Ok)
        return QString("into \"%1\": %2.").arg(folder, counts);
    return QString("copying into \"%1\" stopped after %2: %3.")
        .arg(folder, counts, collection.Error);
}
}  // namespace

TDetectCommand::TDetectCommand(QWidget* window, TLibrariesWidget* panel,
                               const TPathQuery& shared_libs_path)
    : QObject(window), d_window(window), d_panel(panel), d_shared_libs_path(shared_libs_path),
      d_message_box(new TMessageBox(window)), d_program_folder(QDir::homePath())
{
}

void TDetectCommand::Run()
{
    const QString program = TFileDialog::Open_File_Name(d_window, "Detect from Program",
                                                        d_program_folder, "All files (*)");
    if (program.isEmpty())
        return;
    d_program_folder = QFileInfo(program).absolutePath();
    TBundleDetection detection = Detect(program, QString());
    if (detection.Ok && Loads_Qml(detection.Bundle))
    {
        const QString qml_sources = Chosen_Qml_Sources(program);
        if (!qml_sources.isEmpty())
            detection = Detect(program, qml_sources);
    }
    if (!detection.Ok)
    {
        emit Status_Message(QString("Nothing was detected: %1.").arg(detection.Error));
        return;
    }
    if (!Accepted(program, detection.Bundle))
    {
        emit Status_Message("The detected libraries and plug-ins were not applied.");
        return;
    }
    const QString folder = Shared_Libs_Folder();
    if (folder.isEmpty())
    {
        emit Status_Message("The detected libraries and plug-ins were not applied: no "
                            "shared-libraries folder was chosen to copy them into.");
        return;
    }
    emit Qt_Build_Detected(detection.Qt);
    Apply(program, detection.Bundle, folder);
}

TBundleDetection TDetectCommand::Detect(const QString& program, const QString& qml_sources)
{
    TBundleDetection detection;
    TProgressRun(d_window, "Detecting the Qt libraries and plug-ins")
        .Run([&](const TBundleProgress& progress) {
            detection = Detect_Bundle(program, QString(), Loaded_Libraries, progress, qml_sources);
        });
    return detection;
}

// Starts where the sources were last found, else beside the program; a
// cancelled choice leaves the QML modules out.
QString TDetectCommand::Chosen_Qml_Sources(const QString& program)
{
    const QString start =
        d_qml_sources.isEmpty() ? QFileInfo(program).absolutePath() : d_qml_sources;
    const QString chosen = TFileDialog::Existing_Directory(
        d_window, "QML Sources of the Program", start, QFileDialog::ShowDirsOnly);
    if (!chosen.isEmpty())
        d_qml_sources = chosen;
    return chosen;
}

bool TDetectCommand::Accepted(const QString& program, const TBundle& bundle)
{
    d_message_box->setText("Detect from Program");
    d_message_box->setInformativeText(
        QString("\"%1\" needs %2 files: %3.<br><br>Apply them to the Libraries panel and copy "
                "them into the shared-libraries folder?")
            .arg(program.toHtmlEscaped())
            .arg(bundle.Files.size())
            .arg(Target_Counts(bundle).toHtmlEscaped()));
    d_message_box->setDetailedText(Bundle_Lines(bundle).join('\n'));
    d_message_box->setStandardButtons(QMessageBox::Apply | QMessageBox::Cancel);
    d_message_box->setDefaultButton(QMessageBox::Apply);
    d_message_box->setIcon(QMessageBox::Question);
    return d_message_box->exec() == QMessageBox::Apply;
}

// Asks for a folder when none is set; empty when the user cancels.
QString TDetectCommand::Shared_Libs_Folder()
{
    const QString path = d_shared_libs_path();
    if (Is_Set(path))
        return path;
    const QString chosen = TFileDialog::Existing_Directory(
        d_window, "Select Libraries Path", QDir::homePath(), QFileDialog::ShowDirsOnly);
    if (chosen.isEmpty())
        return QString();
    const QString shown = QDir::toNativeSeparators(chosen);
    emit Shared_Libs_Path_Chosen(shown);
    return shown;
}

void TDetectCommand::Apply(const QString& program, const TBundle& bundle, const QString& folder)
{
    const TBundleApplication application = d_panel->Apply_Bundle(bundle);
    TBundleCollection collection;
    TProgressRun(d_window, "Copying the Qt libraries and plug-ins")
        .Run([&](const TBundleProgress& progress) {
            collection = Collect_Bundle(bundle, folder, progress);
        });
    emit Status_Message(QString("Applied the %1 files \"%2\" needs to the Libraries panel (%3); %4")
                            .arg(bundle.Files.size())
                            .arg(QFileInfo(program).fileName(), Applied_Text(application),
                                 Copied_Text(collection, folder)));
}
