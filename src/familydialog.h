#ifndef FAMILYDIALOG_H
#define FAMILYDIALOG_H

#include <QDialog>
#include <QStringList>

class QListWidget;

// "Add Plug-in Families": the plug-in families of the program's Qt
// installation that detection did not take, each with a check box, for the
// user to bundle as well.
class TFamilyDialog : public QDialog
{
    Q_OBJECT

public:
    TFamilyDialog(QWidget* parent, const QStringList& families);

    // The families the user ticked, in the order offered.
    QStringList Ticked() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* d_list;
};

#endif
