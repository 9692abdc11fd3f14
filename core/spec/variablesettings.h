#ifndef VARIABLESETTINGS_H
#define VARIABLESETTINGS_H

#include <QString>
#include <QStringList>

#include <vector>

#include "datafiles/variabledata.h"

// Applies "NAME=VALUE" settings in order: the first variable named exactly
// NAME (up to the first "=") takes VALUE. Returns false, with the reason in
// `error` and the variables as they were, when a setting has no "=" or
// names no variable.
bool Apply_Variable_Settings(std::vector<TSpecVariable>* variables, const QStringList& settings,
                             QString* error);

#endif
