// The "Preview" action of the main window: one preview window, made when
// first asked for and brought to the front afterwards.

#include "kestrelvantory.h"

#include <QTabWidget>

#include "specpreview.h"
#include "spec/spectext.h"

void TKestrelvantory::File_Preview_Spec()
{
    if (d_preview == nullptr)
        d_preview = new TSpecPreview(this, d_tabs, [this] { return Compose_Panels_Spec(); });
    d_preview->show();
    d_preview->raise();
    d_preview->activateWindow();
}
