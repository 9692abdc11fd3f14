#ifndef VARIABLESWIDGET_H
#define VARIABLESWIDGET_H

#include <QString>
#include <QWidget>

#include <vector>

#include "datafiles/variabledata.h"

class QPlainTextEdit;
class QTableWidget;
class QToolButton;
class TVariableEditor;

// The "Variables" tab: the spec variables in order, edited in a one-column
// table whose row labels are the names, and the program description.
//
// The table is the editing surface; d_variables is a snapshot of it. Readers
// call Update_Variables() before Variable_Count() and Variable(); whoever
// fills d_variables calls Update_Table() afterwards.
class TVariablesWidget : public QWidget
{
    Q_OBJECT

public:
    using TVariable = TSpecVariable;

    TVariablesWidget(const QWidget* parent, Qt::WindowFlags flags);

    // False when the file was refused, with the reason in `reason` when given.
    bool Load_Defaults(const QString& folder, QString* reason = nullptr);
    bool Save_Defaults(const QString& folder, QString* error = nullptr);

    TVariable Variable(int index) const;
    int Variable_Count() const { return static_cast<int>(d_variables.size()); }
    const std::vector<TVariable>& Variables() const { return d_variables; }
    QString Description() const;
    // The variables as the table shows them, with the description.
    TVariableData Data();
    void Set_Data(const TVariableData& data);

    void Update_Variables();
    void Update_Table();
    void Clear_Variables();
    void Add_Variable(const TVariable& variable);
    void Clear_Description();
    void Add_Description_Line(const QString& line);

private slots:
    void Selection_Changed();
    void Move_Item_Up();
    void Move_Item_Down();
    void Add_Item();
    void Remove_Item();
    void Store_Alternate();
    void Restore_Alternate();

private:
    QToolButton* New_Button(const QString& icon, const QString& tool_tip);
    void Initialize_Variables();
    void Update_Variable_Data();
    void Update_Table_Data();
    void Commit_Open_Edit();
    void Apply(const TVariableData& data);
    int Selected_Row() const;
    void Move_Row(int from, int to);
    bool Save_File(const QString& folder, const char* file_name, QString* error);
    bool Save_Alternate(const QString& folder);
    bool Load_Alternate(const QString& folder);

    QPlainTextEdit* d_description;
    QTableWidget* d_table;
    QToolButton* d_move_up;
    QToolButton* d_move_down;
    QToolButton* d_add;
    QToolButton* d_remove;
    QToolButton* d_load_backup;
    QToolButton* d_save_backup;
    TVariableEditor* d_editor = nullptr;
    std::vector<TVariable> d_variables;
    QString d_data_folder;
};

#endif
