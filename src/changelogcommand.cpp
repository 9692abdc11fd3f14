// The Change Log panel's "New Entry": a head line for today, the packager
// set in the Options panel and the version the Variables panel gives.

#include "kestrelvantory.h"

#include <QDate>

#include "spec/changelogentry.h"
#include "changelogwidget.h"
#include "optionswidget.h"
#include "spec/specmacros.h"
#include "variableswidget.h"

void TKestrelvantory::Add_Change_Log_Entry()
{
    d_variables_widget->Update_Variables();
    d_changelog_widget->Insert_Entry(
        Change_Log_Entry_Head(QDate::currentDate(), d_options_widget->Packager(),
                              Package_Version_Release(d_variables_widget->Variables())));
}
