// The "Create" action of the main window: asks for a file name, gathers the
// panels' contents and writes the spec file. The preview shows the same text.

#include "kestrelvantory.h"

#include <QAction>

#include "filedialog.h"
#include "spec/filenames.h"
#include "optionswidget.h"
#include "requireswidget.h"
#include "datafiles/savefile.h"
#include "spec/spectext.h"
#include "state/createrequirements.h"

namespace
{
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
    if (Create_Rescans_Requirements(d_options_widget->Requires_Type()))
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
    const TEditorState state = Panels_State();
    return Compose_Spec_Text(
        Spec_Input(state, Create_Required_Packages(state.Options.Requires, state.Requires)));
}
