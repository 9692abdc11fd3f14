#ifndef GETTINGSTARTED_H
#define GETTINGSTARTED_H

#include <QDialog>

class QAction;

// "Getting Started": the three steps from a built program to a checked
// package, with buttons for the first and the last, which trigger the main
// window's own actions.
class TGettingStarted : public QDialog
{
    Q_OBJECT

public:
    TGettingStarted(QWidget* parent, QAction* detect, QAction* build_package);

protected:
    void showEvent(QShowEvent* event) override;
};

#endif
