#include "spec/specmacros.h"

#include <QRegularExpression>

namespace
{
QString Defined_Macro(const QString& variable_name)
{
    static const QRegularExpression definition("^%(?:define|global)\\s+(\\w+)$");
    const QRegularExpressionMatch match = definition.match(variable_name.simplified());
    return match.hasMatch() ? match.captured(1) : QString();
}

bool Is_Tag(const QString& variable_name, const QString& tag)
{
    return variable_name.simplified().compare(tag + ":", Qt::CaseInsensitive) == 0;
}

const TSpecVariable* Find(const std::vector<TSpecVariable>& list, const QString& name)
{
    for (const TSpecVariable& entry : list)
        if (entry.Name == name)
            return &entry;
    return nullptr;
}

// The value of "%define <macro>", else of the tag "<Tag>:"; null when neither is given.
QString Defined_Or_Tag(const std::vector<TSpecVariable>& variables, const QString& macro)
{
    for (const TSpecVariable& variable : variables)
        if (Defined_Macro(variable.Name) == macro)
            return variable.Value;
    for (const TSpecVariable& variable : variables)
        if (Is_Tag(variable.Name, macro))
            return variable.Value;
    return QString();
}
}

TSpecMacros::TSpecMacros(const std::vector<TSpecVariable>& variables)
{
    for (const TSpecVariable& variable : variables)
    {
        const QString macro = Defined_Macro(variable.Name);
        if (!macro.isEmpty() && Find(d_definitions, macro) == nullptr)
            d_definitions.push_back({macro, variable.Value});
    }
    for (const QString tag : {"name", "version", "release"})
        for (const TSpecVariable& variable : variables)
            if (Is_Tag(variable.Name, tag) && Find(d_definitions, tag) == nullptr)
                d_definitions.push_back({tag, variable.Value});
}

QString TSpecMacros::Expanded(const QString& text) const
{
    return Expanded(text, QStringList());
}

// `open` holds the macros being expanded around `text`: a reference back to
// one of them is a loop and stays as written.
QString TSpecMacros::Expanded(const QString& text, const QStringList& open) const
{
    static const QRegularExpression reference("%\\{(\\?)?(\\w+)\\}");
    QString result;
    int done = 0;
    QRegularExpressionMatchIterator matches = reference.globalMatch(text);
    while (matches.hasNext())
    {
        const QRegularExpressionMatch match = matches.next();
        const TSpecVariable* macro = Find(d_definitions, match.captured(2));
        const bool optional = !match.captured(1).isEmpty();
        QString replacement = match.captured(0);
        if (macro != nullptr && !open.contains(macro->Name))
            replacement = Expanded(macro->Value, open + QStringList(macro->Name));
        else if (macro == nullptr && optional)
            replacement.clear();
        result += text.mid(done, match.capturedStart() - done) + replacement;
        done = match.capturedEnd();
    }
    return result + text.mid(done);
}

QString Package_Version_Release(const std::vector<TSpecVariable>& variables)
{
    const TSpecMacros macros(variables);
    const QString version = macros.Expanded(Defined_Or_Tag(variables, "version")).trimmed();
    const QString release = macros.Expanded(Defined_Or_Tag(variables, "release")).trimmed();
    return release.isEmpty() ? version : version + "-" + release;
}
