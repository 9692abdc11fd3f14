#ifndef EXPRESSIONWIDGET_H
#define EXPRESSIONWIDGET_H

#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

class QLineEdit;
class TXmlFile;

// The "Expressions" tab: seven single-line path expressions in RPM macro
// syntax, edited directly in their line edits and kept in "expressions.xml".
class TExpressionsWidget : public QWidget
{
    Q_OBJECT

public:
    TExpressionsWidget(const QWidget* parent, Qt::WindowFlags flags);

    QString Build_Path() const;
    QString CMake_Bin_Path() const;
    QString QMake_Bin_Path() const;
    QString Library_Path() const;
    QString Desktop_Menu_Path() const;
    QString Target_Install_Path() const;
    QString Target_Desktop_Menu_Path() const;
    // All seven, in the order of TExpressionsFile::Fields().
    QStringList Values() const;

    void Initialize();
    // False when the file was refused, with the reason in `reason` when given.
    bool Load_Defaults(const QString& folder, QString* reason = nullptr);
    void Load_V1(TXmlFile* xml);
    bool Save_Defaults(const QString& folder, QString* error = nullptr);

private:
    void Create_Widgets();
    void Set_Values(const QStringList& values);
    QString Value(int index) const;

    // One line edit per expression, in the order of the rows.
    std::vector<QLineEdit*> d_edits;
};

#endif
