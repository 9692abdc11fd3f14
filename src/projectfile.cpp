// Saving and opening the project file (".spec_data"): the variables, the
// active targets and libraries, the QML modules and sources folder, the
// description and the change log.

#include "kestrelvantory.h"

#include <QHash>
#include <QPair>
#include <QSet>

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
    return Save_Text_File(file_name, Spec_Data_Text(Gather_Spec_Data()), &d_last_error);
}

TSpecData TKestrelvantory::Gather_Spec_Data() const
{
    TSpecData data;
    d_variables_widget->Update_Variables();
    for (int index = 0; index < d_variables_widget->Variable_Count(); ++index)
        data.Variables.push_back(d_variables_widget->Variable(index));

    // Looked up by target and name, not searched, for projects with many libraries.
    QHash<QPair<QString, QString>, TTypes::TLibraryType> types;
    for (const TLibraryRecord& library : d_libraries_widget->Libraries())
    {
        if (!types.contains({library.Target_Name, library.Name}))
            types.insert({library.Target_Name, library.Name}, library.Type);
    }
    const QHash<QString, QStringList> libraries = d_libraries_widget->Active_Libraries_By_Target();
    const std::vector<TLibraryRecord>& all_libraries = d_libraries_widget->Libraries();
    data.Qml.Targets = Active_Qml_Targets(d_libraries_widget->Targets(), all_libraries);
    data.Qml.Sources = d_detect_command->Qml_Sources();
    QSet<QString> qml_targets;
    for (const TSpecDataTarget& target : data.Qml.Targets)
        qml_targets.insert(target.Name);
    for (const QString& target : d_libraries_widget->Active_Targets(false))
    {
        if (qml_targets.contains(target))
            continue;
        TSpecDataTarget active{target, {}};
        for (const QString& library : libraries.value(target))
            active.Libraries.push_back({types.value({target, library}), library});
        data.Active_Targets.push_back(active);
    }
    data.Description = d_variables_widget->Description();
    data.Change_Log = d_changelog_widget->Changes();
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

void TKestrelvantory::Apply_Spec_Data(const TSpecDataContents& contents)
{
    if (contents.Variables)
    {
        d_variables_widget->Clear_Variables();
        for (const TSpecVariable& variable : *contents.Variables)
            d_variables_widget->Add_Variable(variable);
        d_variables_widget->Update_Table();
    }
    if (contents.Active_Targets)
    {
        d_libraries_widget->Unselect_Targets();
        d_libraries_widget->Select_Targets(*contents.Active_Targets);
    }
    if (contents.Active_Libraries)
    {
        d_libraries_widget->Unselect_Libaries();
        d_libraries_widget->Select_Libraries(*contents.Active_Libraries);
    }
    if (contents.Qml)
    {
        d_libraries_widget->Select_Qml_Targets(contents.Qml->Targets);
        d_detect_command->Set_Qml_Sources(contents.Qml->Sources);
    }
    if (contents.Description)
    {
        d_variables_widget->Clear_Description();
        for (const QString& line : *contents.Description)
            d_variables_widget->Add_Description_Line(line);
    }
    if (contents.Change_Log)
    {
        d_changelog_widget->Clear_Changelog();
        for (const QString& line : *contents.Change_Log)
            d_changelog_widget->Add_Changelog_Line(line);
    }
    d_libraries_widget->Update();
}
