// The shared-libraries folder, which Detect copies the bundle into, and the
// Expressions tab's "Libraries Path", which the spec takes it from: one
// folder unless the user parts them, and the Options tab says which.

#include "kestrelvantory.h"

#include <QDir>
#include <QFileInfo>
#include <QTabWidget>

#include "expressionwidget.h"
#include "optionswidget.h"
#include "package/packageplan.h"
#include "variableswidget.h"

namespace
{
// Before a folder was chosen the home folder itself stood for none.
bool Is_Own_Folder(const QString& path)
{
    return !path.isEmpty() &&
           QFileInfo(path).canonicalFilePath() != QDir::home().canonicalPath() &&
           QDir::cleanPath(path) != QDir::cleanPath(QDir::homePath());
}

TEditorState Path_State(TVariablesWidget* variables, const TExpressionsWidget* expressions)
{
    TEditorState state;
    state.Variables = variables->Data();
    state.Expressions = expressions->Values();
    return state;
}
}

QString TKestrelvantory::Shared_Libs_Path_Or_Default(const QString& stored) const
{
    if (Is_Own_Folder(stored))
        return stored;
    return QDir::toNativeSeparators(
        Expanded_Library_Path(Path_State(d_variables_widget, d_expressions_widget)));
}

void TKestrelvantory::Show_Library_Link() const
{
    d_options_widget->Show_Library_Path(
        Expanded_Library_Path(Path_State(d_variables_widget, d_expressions_widget)));
}
