// The "Create" action of the main window: asks for a file name, gathers the
// panels' contents and writes the spec file. The preview shows the same text.

#include "kestrelvantory.h"

#include <QAction>
#include <QHash>

#include "changelogwidget.h"
#include "expressionwidget.h"
#include "filedialog.h"
#include "spec/filenames.h"
#include "librarieswidget.h"
#include "libraries/qmlselection.h"
#include "optionswidget.h"
#include "requireswidget.h"
#include "datafiles/savefile.h"
#include "spec/spectext.h"
#include "variableswidget.h"

namespace
{
TSpecPaths Spec_Paths(const TExpressionsWidget& panel)
{
    return {panel.Build_Path(),        panel.CMake_Bin_Path(),
            panel.QMake_Bin_Path(),    panel.Library_Path(),
            panel.Desktop_Menu_Path(), panel.Target_Install_Path(),
            panel.Target_Desktop_Menu_Path()};
}

std::vector<TSpecTarget> Spec_Targets(const TLibrariesWidget& panel)
{
    const QHash<QString, QStringList> libraries = panel.Active_Libraries_By_Target();
    const QHash<QString, TTypes::TTargetKind> kinds = Target_Kinds(panel.Targets());
    std::vector<TSpecTarget> targets;
    for (const QString& target : panel.Active_Targets(true))
        targets.push_back({target, libraries.value(target), kinds.value(target)});
    return targets;
}

QString Create_Status(const QString& file_name, bool written, const QString& error,
                      const QString& scan_problems)
{
    QString status =
        written ? QString("Spec file written to \"%1\".").arg(file_name)
                : QString("The spec file \"%1\" was not written: %2").arg(file_name, error);
    if (!scan_problems.isEmpty())
        status += QString(" The requirements scan was incomplete: %1.").arg(scan_problems);
    return status;
}
}

void TKestrelvantory::File_Create_Spec_File()
{
    const QString answer = TFileDialog::Save_File_Name(this, "Create Spec File", d_working_path,
                                                       "SPEC (*.spec)");
    if (answer.isEmpty())
        return;
    const QString file_name = With_Suffix(answer, ".spec");
    Remember_Folder(file_name);
    // While the requirements scan runs the window keeps responding, but
    // neither a second Create nor an Open may start underneath this one.
    d_action_create->setEnabled(false);
    d_action_open->setEnabled(false);
    const bool written = Write_Spec_File(file_name);
    d_action_create->setEnabled(true);
    d_action_open->setEnabled(true);
    Show_Status(Create_Status(file_name, written, d_last_error, d_scan_problems) +
                Store_State_Note());
}

// The requirements are rescanned, in the automatic mode, only once the file
// is known to be writable, and the file is written once the scan has ended;
// the file itself is replaced only by a complete text.
bool TKestrelvantory::Write_Spec_File(const QString& file_name) const
{
    d_scan_problems.clear();
    if (!Can_Save_Text_File(file_name, &d_last_error))
        return false;
    if (d_options_widget->Requires_Type() == TTypes::Requires_Auto_Update)
    {
        Update_Requirements();
        if (!d_requires_widget->Wait_For_Scan())
        {
            d_last_error = "the requirements scan was stopped before it ended.";
            return false;
        }
        d_scan_problems = d_requires_widget->Scan_Problems();
    }
    const TSpecText spec = Compose_Panels_Spec();
    if (!spec.Is_Complete())
    {
        d_last_error = spec.Error;
        return false;
    }
    return Save_Text_File(file_name, spec.Text, &d_last_error);
}

// The spec from the panels as they stand, with the requirements as listed.
TSpecText TKestrelvantory::Compose_Panels_Spec() const
{
    d_variables_widget->Update_Variables();
    TSpecInput input;
    input.Generator = d_options_widget->Generator_Type();
    input.Requires_Mode = d_options_widget->Requires_Type();
    input.Paths = Spec_Paths(*d_expressions_widget);
    input.Targets = Spec_Targets(*d_libraries_widget);
    input.Variables = d_variables_widget->Variables();
    input.Required_Packages = d_requires_widget->Required_Packages();
    input.Description = d_variables_widget->Description();
    input.Changes = d_changelog_widget->Changes();
    input.Packager = d_options_widget->Packager();
    return Compose_Spec_Text(input);
}
