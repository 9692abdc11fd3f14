#ifndef EXPRESSIONSETTINGS_H
#define EXPRESSIONSETTINGS_H

#include <QString>
#include <QStringList>

// Applies "NAME=VALUE" settings of path expressions in order to `values`
// (one per TExpressionsFile::Fields(), in that order). NAME is the
// expression's element name ("Build_Path") or its label, with or without
// the colon and in any case ("Build Root Path"). Returns false, with the
// reason in `error` and the values as they were, when a setting has no "="
// or names no expression.
bool Apply_Expression_Settings(QStringList* values, const QStringList& settings, QString* error);

#endif
