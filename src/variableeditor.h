#ifndef VARIABLEEDITOR_H
#define VARIABLEEDITOR_H

#include <QDialog>
#include <QString>

class QLineEdit;
class QPushButton;

// Asks for the name and value of a new spec variable. The entries are kept
// between uses; "Accept" is enabled while the name is not empty.
class TVariableEditor : public QDialog
{
    Q_OBJECT

public:
    TVariableEditor(const QWidget* parent, Qt::WindowFlags flags);

    QString Name() const;
    QString Value() const;

private slots:
    void Validate(const QString& text);

private:
    QLineEdit* d_name;
    QLineEdit* d_value;
    QPushButton* d_accept;
    QPushButton* d_cancel;
};

#endif
