#ifndef DIALOGPLACEMENT_H
#define DIALOGPLACEMENT_H

class QWidget;

// Centres `dialog` over the window of its parent, inside the screen's
// available area, whatever window was shown before it. A dialog without a
// parent stays where it is.
void Place_Over_Parent(QWidget* dialog);

#endif
