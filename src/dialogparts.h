#ifndef DIALOGPARTS_H
#define DIALOGPARTS_H

class QFrame;
class QHBoxLayout;
class QPushButton;
class QWidget;

// Pieces the editor's edit dialogs share: a sunken line above the buttons,
// and the buttons pushed to the right, "Cancel" before "Accept".
QFrame* Separator_Line(QWidget* parent);
QHBoxLayout* Dialog_Buttons(QPushButton* cancel, QPushButton* accept);

#endif
