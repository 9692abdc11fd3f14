#ifndef EDITORDRIVER_H
#define EDITORDRIVER_H

#include <QString>
#include <QStringList>

#include "kestrelvantory.h"

class QComboBox;
class QLineEdit;

namespace Test
{
// The real main window, started in the current HOME (with the panels in
// `data_folder` when one is given), and what a user does with it through its
// widgets.
class TEditor
{
public:
    explicit TEditor(const QString& data_folder = QString());

    template <typename TPanel> TPanel* Panel() { return d_window.findChild<TPanel*>(); }

    // Checks exactly these targets and libraries (by name) in the two trees.
    void Check_Libraries(const QStringList& targets, const QStringList& libraries);
    QComboBox* Options_Combo(int index);
    QLineEdit* Expression(int index);
    void Browse_Shared_Libs_Path();

    // Triggers the action with this text and returns what the status bar
    // says afterwards.
    QString Trigger(const QString& action);
    QString Create() { return Trigger("Create"); }

    TKestrelvantory& Window() { return d_window; }

private:
    TKestrelvantory d_window;
};
}

#endif
