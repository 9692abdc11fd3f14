// The editor's state gathered from its panels, as the command-line tool
// reads it from the data folder: what Create, Preview and Save work from.

#include "kestrelvantory.h"

#include "changelogwidget.h"
#include "detectcommand.h"
#include "expressionwidget.h"
#include "librarieswidget.h"
#include "optionswidget.h"
#include "requireswidget.h"
#include "variableswidget.h"

// The lists of the Libraries panel are first brought up to its trees.
TEditorState TKestrelvantory::Panels_State() const
{
    d_libraries_widget->Update_Target_Data();
    d_libraries_widget->Update_Library_Data();
    TEditorState state;
    state.Variables = d_variables_widget->Data();
    state.Expressions = d_expressions_widget->Values();
    state.Options = d_options_widget->Build_Options();
    state.Targets = d_libraries_widget->Targets();
    state.Libraries = d_libraries_widget->Libraries();
    state.Requires = d_requires_widget->Entries();
    state.Changes = d_changelog_widget->Changes();
    state.Packager = d_options_widget->Packager();
    state.Detection_Choices = d_libraries_widget->Detection_Choices();
    state.Qml_Sources = d_detect_command->Qml_Sources();
    return state;
}
