#include "gettingstarted.h"

#include <QAction>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogplacement.h"

namespace
{
const char* const Steps_Text =
    "<p>Kestrelvantory makes an RPM package of a Qt program you have built, with the Qt "
    "libraries and plug-ins it needs inside the package. Three steps:</p>"
    "<ol>"
    "<li><b>Detect from Program</b>: choose your built program. The Qt libraries, plug-ins "
    "and QML modules it loads are found, checked on the Libraries tab and copied into the "
    "shared-libraries folder.</li>"
    "<li><b>Describe the package</b>: on the Variables tab give its name, version, summary, "
    "URL and description; on the Change Log tab an entry of your own. Preview shows the "
    "spec file as it stands.</li>"
    "<li><b>Build Package</b>: give the built program and its source folder, press Build; "
    "the package is built with rpmbuild and checked.</li>"
    "</ol>"
    "<p>Results and problems are listed under Messages in the main window. This page is "
    "under Help &gt; Getting Started.</p>";

QPushButton* Action_Button(QAction* action, QWidget* parent)
{
    auto* button = new QPushButton(action->icon(), action->text(), parent);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}
}

TGettingStarted::TGettingStarted(QWidget* parent, QAction* detect, QAction* build_package)
    : QDialog(parent)
{
    setObjectName("getting_started");
    setWindowTitle("Getting Started");
    auto* text = new QLabel(Steps_Text, this);
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    auto* close = new QPushButton("Close", this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Action_Button(detect, this));
    buttons->addWidget(Action_Button(build_package, this));
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    setMinimumWidth(520);
}

void TGettingStarted::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Place_Over_Parent(this);
}
