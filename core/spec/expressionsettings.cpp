#include "spec/expressionsettings.h"

#include "datafiles/expressionsfile.h"

namespace
{
QString Without_Colon(QString label)
{
    if (label.endsWith(':'))
        label.chop(1);
    return label.trimmed();
}

// The index of the expression `name` names; -1 when none.
int Expression_Index(const QString& name)
{
    const std::vector<TExpressionField>& fields = TExpressionsFile::Fields();
    for (std::size_t index = 0; index < fields.size(); ++index)
    {
        const TExpressionField& field = fields[index];
        if (name == field.Name ||
            Without_Colon(name).compare(Without_Colon(field.Label), Qt::CaseInsensitive) == 0)
            return int(index);
    }
    return -1;
}

QString Known_Names()
{
    QStringList names;
    for (const TExpressionField& field : TExpressionsFile::Fields())
        names.append(field.Name);
    return names.join(", ");
}
}

bool Apply_Expression_Settings(QStringList* values, const QStringList& settings, QString* error)
{
    QStringList changed = *values;
    for (const QString& setting : settings)
    {
        const int equals = setting.indexOf('=');
        const int index = equals < 0 ? -1 : Expression_Index(setting.left(equals));
        if (equals < 0)
            *error = QString("\"%1\" is not NAME=VALUE").arg(setting);
        else if (index < 0)
            *error = QString("no path expression is named \"%1\"; the names are %2")
                         .arg(setting.left(equals), Known_Names());
        if (index < 0)
            return false;
        changed[index] = setting.mid(equals + 1);
    }
    *values = changed;
    return true;
}
