// Saving and opening the project file (".spec_data"): the variables, the
// active targets and libraries, the QML modules and sources folder, the
// description, the change log and the Build Package fields.

#include "kestrelvantory.h"

#include "changelogwidget.h"
#include "detectcommand.h"
#include "filedialog.h"
#include "spec/filenames.h"
#include "librarieswidget.h"
#include "libraries/qmlselection.h"
#include "datafiles/savefile.h"
#include "variableswidget.h"

namespace
{
const char* const Dialog_Caption = "Save Spec Data";
const char* const Dialog_Filter = "SPEC (*.spec_data)";
}

void TKestrelvantory::File_Save_Spec_Data()
{
    const QString answer =
        TFileDialog::Save_File_Name(this, Dialog_Caption, d_working_path, Dialog_Filter);
    if (answer.isEmpty())
        return;
    const QString file_name = With_Suffix(answer, ".spec_data");
    Remember_Folder(file_name);
    if (Write_Spec_Data_File(file_name))
        Show_Status(QString("Project saved to \"%1\".").arg(file_name) + Store_State_Note());
    else
        Show_Status(QString("The project was not saved: %1").arg(d_last_error) +
                    Store_State_Note());
}

void TKestrelvantory::File_Open_Spec_Data()
{
    const QString file_name =
        TFileDialog::Open_File_Name(this, Dialog_Caption, d_working_path, Dialog_Filter);
    if (file_name.isEmpty())
        return;
    Remember_Folder(file_name);
    if (Read_Spec_Data_File(file_name))
    {
        Show_Status(QString("Project \"%1\" opened.").arg(file_name));
        return;
    }
    Show_Status(QString("The project \"%1\" was not opened; nothing was changed: %2")
                    .arg(file_name, d_last_error));
    d_last_error = "ERR  Cannot read Spec_Data file.";
}

bool TKestrelvantory::Write_Spec_Data_File(const QString& file_name) const
{
    const TSpecData data = Gather_Spec_Data();
    d_last_error = Spec_Data_Refusal(data);
    return d_last_error.isEmpty() &&
           Save_Text_File(file_name, Spec_Data_Text(data), &d_last_error);
}

TSpecData TKestrelvantory::Gather_Spec_Data() const
{
    TSpecData data = Project_Data(Panels_State());
    data.Package = d_package;
    return data;
}

// The whole file is read before any panel changes, so a file rejected
// part-way leaves every panel as it was.
bool TKestrelvantory::Read_Spec_Data_File(const QString& file_name)
{
    const TSpecDataReading reading = ::Read_Spec_Data_File(file_name);
    if (!reading.Ok)
    {
        d_last_error = reading.Error;
        return false;
    }
    Apply_Spec_Data(reading.Contents);
    return true;
}

// The project is applied to the panels' state as the command-line tool
// applies it, and the panels then show the result.
void TKestrelvantory::Apply_Spec_Data(const TSpecDataContents& contents)
{
    TEditorState state = Panels_State();
    ::Apply_Spec_Data(&state, contents);
    if (contents.Variables || contents.Description)
        d_variables_widget->Set_Data(state.Variables);
    d_libraries_widget->Set_Lists(state.Targets, state.Libraries);
    d_libraries_widget->Set_Detection_Choices(state.Detection_Choices);
    d_detect_command->Set_Qml_Sources(state.Qml_Sources);
    if (contents.Change_Log)
        d_changelog_widget->Set_Changes(state.Changes);
    if (contents.Package)
        Remember_Package_Fields(*contents.Package);
}
