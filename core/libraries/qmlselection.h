#ifndef QMLSELECTION_H
#define QMLSELECTION_H

#include <QHash>
#include <QString>

#include <vector>

#include "libraries/activelibraries.h"
#include "libraries/libraryrecords.h"

// Which targets of QML modules and which of their module folders are
// active, as a project file keeps them apart from the other targets.

// The kind of each target name, as the first target of that name has it.
QHash<QString, TTypes::TTargetKind> Target_Kinds(const std::vector<TTargetRecord>& targets);

// The checked targets of QML modules that have checked modules, each with
// its checked modules, in list order.
std::vector<TSpecDataTarget> Active_Qml_Targets(const std::vector<TTargetRecord>& targets,
                                                const std::vector<TLibraryRecord>& libraries);

// Makes exactly the targets and modules of `active` the checked ones of
// their kind; a target or module the lists do not hold yet is added, so
// that a project keeps every module it names.
void Select_Qml_Targets(std::vector<TTargetRecord>* targets, std::vector<TLibraryRecord>* libraries,
                        const std::vector<TSpecDataTarget>& active);

#endif
