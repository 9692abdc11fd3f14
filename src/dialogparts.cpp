#include "dialogparts.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QSpacerItem>

QFrame* Separator_Line(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QHBoxLayout* Dialog_Buttons(QPushButton* cancel, QPushButton* accept)
{
    auto* buttons = new QHBoxLayout;
    buttons->addItem(new QSpacerItem(0, 0, QSizePolicy::Expanding, QSizePolicy::Minimum));
    buttons->addWidget(cancel);
    buttons->addWidget(accept);
    return buttons;
}
