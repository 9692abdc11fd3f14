#ifndef SPECMACROS_H
#define SPECMACROS_H

#include <QString>
#include <QStringList>

#include <vector>

#include "datafiles/variabledata.h"

// The macros the spec variables define, as RPM would expand them where the
// variables alone decide: "%define x"/"%global x" give %{x}, and the tags
// "Name:", "Version:" and "Release:" give %{name}, %{version} and %{release}
// unless a "%define" gave them first. The first definition of a name counts.
class TSpecMacros
{
public:
    explicit TSpecMacros(const std::vector<TSpecVariable>& variables);

    // `text` with every %{x} and %{?x} of a known macro replaced by its
    // expanded value; %{?x} of an unknown one disappears, and whatever else
    // (unknown %{x}, %{getenv:...}, a macro defined through itself) stays
    // as written.
    QString Expanded(const QString& text) const;

private:
    QString Expanded(const QString& text, const QStringList& open) const;

    std::vector<TSpecVariable> d_definitions;  // Name: the bare macro name
};

// "<version>-<release>" of the package the variables describe, expanded:
// the variables "%define version"/"%define release", else the tags
// "Version:"/"Release:". Without a release, the version alone.
QString Package_Version_Release(const std::vector<TSpecVariable>& variables);

#endif
