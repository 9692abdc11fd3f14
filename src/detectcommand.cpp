#include "detectcommand.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QPushButton>

#include <algorithm>

#include "bundle/bundleapplication.h"
#include "bundle/bundlecollection.h"
#include "bundle/bundledetection.h"
#include "familydialog.h"
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
    const QString kept = application.Kept.isEmpty()
                             ? QString()
                             : QString(", %1 kept as checked by hand").arg(application.Kept.size());
    return QString("%1 targets and %2 libraries added, %3 renamed, %4 unchecked%5")
        .arg(application.Targets_Added)
        .arg(application.Libraries_Added)
        .arg(application.Libraries_Renamed)
        .arg(application.Libraries_Unchecked)
        .arg(kept);
}

// The entries of the user's "with" list that name a library of the panel
// rather than a plug-in of the Qt installation: the user's own additions.
QStringList Kept_Entries(const TBundleDetection& detection)
{
    QStringList kept;
    std::copy_if(detection.Unmatched.begin(), detection.Unmatched.end(), std::back_inserter(kept),
                 Is_Listed_Library_Entry);
    return kept;
}

// The user's choices that name nothing at all, told in the question.
QString Missing_Text(const TBundleDetection& detection)
{
    QStringList missing;
    std::remove_copy_if(detection.Unmatched.begin(), detection.Unmatched.end(),
                        std::back_inserter(missing), Is_Listed_Library_Entry);
    if (missing.isEmpty())
        return QString();
    return QString("<br><br>Not in the Qt installation, so left out: %1.")
        .arg(missing.join(", ").toHtmlEscaped());
}

// The plug-in families of the installation that the bundle has none of.
QStringList Offered_Families(const TBundleDetection& detection)
{
    if (detection.Plugins_Folder.isEmpty())
        return QStringList();
    QStringList families;
    for (const QString& family :
         QDir(detection.Plugins_Folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name))
    {
        if (std::none_of(detection.Bundle.Files.begin(), detection.Bundle.Files.end(),
                         [&](const TBundleFile& file) { return file.Target == family; }))
            families.append(family);
    }
    return families;
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
    TDetectionChoices choices = d_panel->Detection_Choices();
    TBundleDetection detection;
    const TAnswer answer = Detect_And_Ask(program, &choices, &detection);
    if (answer == Answer_Failed)
        return;
    if (answer == Answer_Cancel)
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
    d_panel->Set_Detection_Choices(choices);
    emit Qt_Build_Detected(detection.Qt);
    Apply(program, detection.Bundle, Kept_Entries(detection), folder);
    emit Program_Applied(program);
}

// Starts where the sources were last found, else beside the program; a
// cancelled choice leaves the QML modules out.
QString TDetectCommand::Chosen_Qml_Sources(const QString& program)
{
    const QString start =
        d_qml_sources.isEmpty() ? QFileInfo(program).absolutePath() : d_qml_sources;
    const QString chosen = TFileDialog::Existing_Directory(
        d_window, "QML Sources of the Program", start);
    if (!chosen.isEmpty())
        d_qml_sources = chosen;
    return chosen;
}

// Asks for the QML sources once the program turns out to load Qt's QML
// library, then detects again with the families the user adds, until the
// user applies or cancels.
TDetectCommand::TAnswer TDetectCommand::Detect_And_Ask(const QString& program,
                                                       TDetectionChoices* choices,
                                                       TBundleDetection* detection)
{
    if (!Detect(program, QString(), *choices, detection))
        return Answer_Failed;
    const QString qml_sources =
        Loads_Qml(detection->Bundle) ? Chosen_Qml_Sources(program) : QString();
    if (!qml_sources.isEmpty() && !Detect(program, qml_sources, *choices, detection))
        return Answer_Failed;
    for (;;)
    {
        const QStringList families = Offered_Families(*detection);
        const TAnswer answer = Ask(program, *detection, !families.isEmpty());
        if (answer != Answer_More_Families)
            return answer;
        TFamilyDialog dialog(d_window, families);
        if (dialog.exec() == QDialog::Accepted)
            choices->With_Plugins += dialog.Ticked();
        if (!Detect(program, qml_sources, *choices, detection))
            return Answer_Failed;
    }
}

bool TDetectCommand::Detect(const QString& program, const QString& qml_sources,
                            const TDetectionChoices& choices, TBundleDetection* detection)
{
    TProgressRun run(d_window, "Detecting the Qt libraries and plug-ins");
    const auto lister = [&run](const QString& file) {
        return Loaded_Libraries_Until(file, run.Cancelled());
    };
    run.Run([&](const TBundleProgress& progress) {
        *detection = Detect_Bundle(program, QString(), lister, progress, qml_sources, choices,
                                   &run.Cancelled());
    });
    if (!detection->Ok)
        emit Status_Message(QString("Nothing was detected: %1.").arg(detection->Error));
    return detection->Ok;
}

TDetectCommand::TAnswer TDetectCommand::Ask(const QString& program,
                                            const TBundleDetection& detection,
                                            bool families_offered)
{
    const TBundle& bundle = detection.Bundle;
    const QStringList kept = Kept_Entries(detection);
    const QString kept_text =
        (kept.isEmpty() ? QString()
                        : QString("<br><br>Kept as you checked them: %1.")
                              .arg(kept.join(", ").toHtmlEscaped())) +
        Missing_Text(detection);
    const QString folder = d_shared_libs_path();
    const QString into = Is_Set(folder)
                             ? QString("the shared-libraries folder \"%1\"").arg(folder)
                             : QString("a shared-libraries folder, which you choose next");
    d_message_box->setText("Detect from Program");
    d_message_box->setInformativeText(
        QString("\"%1\" needs %2 files: %3.%4<br><br>Apply them to the Libraries panel and "
                "copy them into %5?")
            .arg(program.toHtmlEscaped())
            .arg(bundle.Files.size())
            .arg(Target_Counts(bundle).toHtmlEscaped(), kept_text, into.toHtmlEscaped()));
    d_message_box->setDetailedText(Bundle_Lines(bundle).join('\n'));
    d_message_box->setStandardButtons(QMessageBox::Apply | QMessageBox::Cancel);
    d_message_box->setDefaultButton(QMessageBox::Apply);
    d_message_box->setIcon(QMessageBox::Question);
    QPushButton* more = families_offered ? d_message_box->addButton(
                                               "Add Plug-in Families...", QMessageBox::ActionRole)
                                         : nullptr;
    const int result = d_message_box->exec();
    const bool more_clicked = more != nullptr && d_message_box->clickedButton() == more;
    if (more != nullptr)
    {
        d_message_box->removeButton(more);
        delete more;
    }
    if (more_clicked)
        return Answer_More_Families;
    return result == QMessageBox::Apply ? Answer_Apply : Answer_Cancel;
}

// Asks for a folder when none is set; empty when the user cancels.
QString TDetectCommand::Shared_Libs_Folder()
{
    const QString path = d_shared_libs_path();
    if (Is_Set(path))
        return path;
    const QString chosen = TFileDialog::Existing_Directory(
        d_window, "Select Libraries Path", QDir::homePath());
    if (chosen.isEmpty())
        return QString();
    const QString shown = QDir::toNativeSeparators(chosen);
    emit Shared_Libs_Path_Chosen(shown);
    return shown;
}

void TDetectCommand::Apply(const QString& program, const TBundle& bundle, const QStringList& kept,
                           const QString& folder)
{
    const TBundleApplication application = d_panel->Apply_Bundle(bundle, kept);
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
