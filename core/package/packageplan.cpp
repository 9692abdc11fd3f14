#include "package/packageplan.h"

#include "datafiles/expressionsfile.h"
#include "process/programrun.h"
#include "scan/requirementscan.h"
#include "spec/specmacros.h"

namespace
{
// What rpm makes of `text`; `text` itself when rpm cannot run.
QString Rpm_Evaluated(const QString& text)
{
    if (!text.contains('%'))
        return text;
    const TProgramRun rpm =
        Run_Program("rpm", {"--eval", text}, TRequirementScan::Default_Wait_Ms);
    return rpm.Outcome == TProgramRun::Succeeded ? rpm.Output.trimmed() : text;
}

QString Source_Tag(const std::vector<TSpecVariable>& variables)
{
    for (const TSpecVariable& variable : variables)
    {
        const QString name = variable.Name.simplified().toLower();
        if (name == "source:" || name == "source0:")
            return variable.Value.trimmed();
    }
    return QString();
}

QString Expression(const TEditorState& state, const QString& element)
{
    const std::vector<TExpressionField>& fields = TExpressionsFile::Fields();
    for (size_t index = 0; index < fields.size(); ++index)
        if (fields[index].Name == element)
            return state.Expressions.value(int(index));
    return QString();
}
}

TPackagePlan Plan_Package(const TEditorState& state)
{
    const TSpecMacros macros(state.Variables.Variables);
    const auto expanded = [&macros](const QString& text) {
        return Rpm_Evaluated(macros.Expanded(text));
    };
    TPackagePlan plan;
    plan.Name = expanded("%{name}");
    plan.Version = expanded("%{version}");
    plan.Top = expanded("%{_topdir}");
    const QString source = Source_Tag(state.Variables.Variables);
    plan.Tarball = source.isEmpty() ? QString() : plan.Top + "/SOURCES/" + expanded(source);
    plan.Shared_Libs = expanded(Expression(state, "Library_Path"));
    const QString desktop = expanded(Expression(state, "Desktop_Menu_Path"));
    plan.Desktop_Entry = desktop + "/" + plan.Name + ".desktop";
    plan.Icon = desktop + "/" + plan.Name + ".png";
    plan.Program_Folder = expanded(Expression(state, "Target_Install_Path")) + "/" + plan.Name;
    return plan;
}
