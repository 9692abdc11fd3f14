#include "spec/specinputcheck.h"

#include <QRegularExpression>

#include "datafiles/expressionsfile.h"
#include "text/valuelimits.h"

namespace
{
// Every line rpmbuild takes for the start of a section, compared without
// regard to letter case.
const char* const Section_Keywords[] = {
    "package",         "prep",           "build",          "install",
    "check",           "clean",          "preun",          "postun",
    "pretrans",        "posttrans",      "preuntrans",     "postuntrans",
    "pre",             "post",           "files",          "changelog",
    "description",     "triggerpostun",  "triggerprein",   "triggerun",
    "triggerin",       "trigger",        "verifyscript",   "sepolicy",
    "filetriggerin",   "filetrigger",    "filetriggerun",  "filetriggerpostun",
    "transfiletriggerin", "transfiletrigger", "transfiletriggerun",
    "transfiletriggerpostun", "end",     "patchlist",      "sourcelist",
    "generate_buildrequires", "conf",
};

// The section keyword a line would open, or an empty string. rpmbuild
// expands macros before it looks for a keyword at the very start of a line,
// so any "%keyword" in the first word counts when no letter, digit or "_"
// follows it ("%{nil}%pre", "%%pre"); an indented line opens nothing.
QString Section_Keyword(const QString& line)
{
    static const QRegularExpression word("^\\S+");
    static const QRegularExpression token("%([A-Za-z_]+)");
    const QString first_word = word.match(line).captured();
    for (QRegularExpressionMatchIterator found = token.globalMatch(first_word); found.hasNext();)
    {
        const QString name = found.next().captured(1);
        for (const char* keyword : Section_Keywords)
            if (name.compare(QLatin1String(keyword), Qt::CaseInsensitive) == 0)
                return "%" + name;
    }
    return QString();
}

QString One_Line_Refusal(const QString& field, const QString& value)
{
    const QString problem = Line_Value_Problem(value);
    return problem.isEmpty() ? QString() : QString("ERR  %1 %2.").arg(field, problem);
}

QString Line_Start_Refusal(const QString& field, const QString& value)
{
    const QString refusal = One_Line_Refusal(field, value);
    if (!refusal.isEmpty())
        return refusal;
    const QString keyword = Section_Keyword(value);
    if (!keyword.isEmpty())
        return QString("ERR  %1 begins with the spec section keyword '%2': '%3'.")
            .arg(field, keyword, Shown_Value(value));
    return QString();
}

QString Lines_Refusal(const QString& text_name, const QString& text)
{
    if (text.size() > Text_Value_Max_Length)
        return QString("ERR  The %1 %2.").arg(text_name, Text_Value_Problem(text));
    const QStringList lines = text.split('\n');
    for (int index = 0; index < lines.size(); ++index)
    {
        const QString& line = lines.at(index);
        if (Has_Control_Character(line, "\t"))
            return QString("ERR  Line %1 of the %2 holds a control character: '%3'.")
                .arg(index + 1).arg(text_name, Shown_Value(line));
        const QString keyword = Section_Keyword(line);
        if (!keyword.isEmpty())
            return QString("ERR  Line %1 of the %2 begins with the spec section keyword '%3'.")
                .arg(index + 1).arg(text_name, keyword);
    }
    return QString();
}

QString Variables_Refusal(const std::vector<TSpecVariable>& variables)
{
    for (const TSpecVariable& variable : variables)
    {
        QString refusal = Line_Start_Refusal("The variable name", variable.Name);
        if (refusal.isEmpty())
            refusal = One_Line_Refusal(QString("The value of the variable '%1'").arg(variable.Name),
                                       variable.Value);
        if (!refusal.isEmpty())
            return refusal;
    }
    return QString();
}

QString Paths_Refusal(const TSpecPaths& paths)
{
    const QString values[] = {paths.Build_Path,          paths.CMake_Bin_Path,
                              paths.QMake_Bin_Path,      paths.Library_Path,
                              paths.Desktop_Menu_Path,   paths.Target_Install_Path,
                              paths.Target_Desktop_Menu_Path};
    const std::vector<TExpressionField>& fields = TExpressionsFile::Fields();
    for (std::size_t index = 0; index < fields.size(); ++index)
    {
        QString label = fields[index].Label;
        label.chop(1);  // its colon
        const QString refusal =
            Line_Start_Refusal(QString("The path expression '%1'").arg(label), values[index]);
        if (!refusal.isEmpty())
            return refusal;
    }
    return QString();
}

QString Packages_Refusal(const QStringList& packages)
{
    for (const QString& package : packages)
    {
        const QString refusal = One_Line_Refusal("The required package", package);
        if (!refusal.isEmpty())
            return refusal;
    }
    return QString();
}
}

QString Spec_Input_Refusal(const TSpecInput& input)
{
    for (const QString& refusal :
         {Variables_Refusal(input.Variables), Paths_Refusal(input.Paths),
          Packages_Refusal(input.Required_Packages),
          One_Line_Refusal("The packager", input.Packager),
          Lines_Refusal("description", input.Description),
          Lines_Refusal("change log", input.Changes)})
        if (!refusal.isEmpty())
            return refusal;
    return QString();
}
