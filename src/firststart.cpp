// The way in for a new user: the tool bar names the steps, and the Getting
// Started page shows them, by itself on the very first start.

#include "kestrelvantory.h"

#include <QAction>
#include <QSettings>
#include <QTimer>

#include "gettingstarted.h"

namespace
{
const char* const Key_Getting_Started_Shown = "Getting_Started_Shown";
}

void TKestrelvantory::Name_Steps()
{
    d_action_detect->setIconText("1. Detect");
    d_action_detect->setToolTip("Step 1: Detect from Program - find the Qt libraries and "
                                "plug-ins your built program needs");
    d_action_preview->setIconText("2. Preview");
    d_action_preview->setToolTip("Step 2: describe the package on the tabs; Preview shows "
                                 "the spec file as it stands");
    d_action_build_package->setIconText("3. Build Package");
    d_action_build_package->setToolTip("Step 3: Build Package - build the RPM and check it");
    d_action_create->setToolTip("Write the spec file only");
}

void TKestrelvantory::Help_Getting_Started()
{
    if (d_getting_started == nullptr)
        d_getting_started =
            new TGettingStarted(this, d_action_detect, d_action_build_package);
    d_getting_started->show();
    d_getting_started->raise();
    d_getting_started->activateWindow();
}

// Once the window is up, so that the page opens over it.
void TKestrelvantory::Show_Getting_Started_Once()
{
    if (d_settings->value(Key_Getting_Started_Shown, false).toBool())
        return;
    d_settings->setValue(Key_Getting_Started_Shown, true);
    QTimer::singleShot(0, this, &TKestrelvantory::Help_Getting_Started);
}

void TKestrelvantory::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    Show_Getting_Started_Once();
}
