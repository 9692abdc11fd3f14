#include "package/placeholders.h"

#include "datafiles/changelogfile.h"
#include "datafiles/variabledata.h"

namespace
{
QString Tag_Value(const std::vector<TSpecVariable>& variables, const QString& tag)
{
    for (const TSpecVariable& variable : variables)
        if (variable.Name.simplified().compare(tag, Qt::CaseInsensitive) == 0)
            return variable.Value.trimmed();
    return QString();
}

void Check_Tag(const TEditorState& state, const QString& tag, QStringList* warnings)
{
    const QString factory = Tag_Value(TVariablesFile::Factory_Data().Variables, tag);
    if (Tag_Value(state.Variables.Variables, tag) == factory)
        warnings->append(QString("the \"%1\" variable is still the example \"%2\"; the package "
                                 "would ship it")
                             .arg(tag, factory));
}

// The factory change log's entry, found by its head line.
void Check_Change_Log(const TEditorState& state, QStringList* warnings)
{
    const QStringList factory = TChangeLogFile::Factory_Text().split('\n').mid(1);
    for (QString line : state.Changes.split('\n'))
    {
        line = line.trimmed();
        if (!factory.isEmpty() && line == factory.first())
        {
            warnings->append(QString("the change log still holds the example entry \"%1\"; "
                                     "the package would ship it")
                                 .arg(line));
            return;
        }
    }
}
}

QStringList Placeholder_Warnings(const TEditorState& state)
{
    QStringList warnings;
    Check_Tag(state, "Summary:", &warnings);
    if (state.Variables.Description.trimmed() == TVariablesFile::Factory_Data().Description)
        warnings.append(QString("the description is still the example \"%1\"; the package "
                                "would ship it")
                            .arg(TVariablesFile::Factory_Data().Description));
    Check_Tag(state, "URL:", &warnings);
    Check_Change_Log(state, &warnings);
    return warnings;
}
