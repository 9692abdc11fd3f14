#include "spec/variablesettings.h"

#include <algorithm>

#include "text/valuelimits.h"

bool Apply_Variable_Settings(std::vector<TSpecVariable>* variables, const QStringList& settings,
                             QString* error)
{
    std::vector<TSpecVariable> changed = *variables;
    for (const QString& setting : settings)
    {
        const int equals = setting.indexOf('=');
        if (equals < 0)
        {
            *error = QString("\"%1\" is not NAME=VALUE").arg(Shown_Value(setting));
            return false;
        }
        const QString name = setting.left(equals);
        const auto named = [&name](const TSpecVariable& entry) { return entry.Name == name; };
        auto variable = std::find_if(changed.begin(), changed.end(), named);
        if (variable == changed.end())
        {
            *error = QString("no variable is named \"%1\"").arg(Shown_Value(name));
            return false;
        }
        variable->Value = setting.mid(equals + 1);
    }
    *variables = changed;
    return true;
}
