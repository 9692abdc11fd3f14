#ifndef LIBRARYSELECTION_H
#define LIBRARYSELECTION_H

#include <QHash>
#include <QString>
#include <QStringList>

#include <vector>

#include "libraries/libraryrecords.h"
#include "libraries/activelibraries.h"

// Which targets and libraries are active, and in what order they are shown:
// targets sorted by name, libraries by target name, each sort keeping the
// list order of equal names and comparing as the user's locale does.

std::vector<TTargetRecord> Targets_In_Display_Order(std::vector<TTargetRecord> targets);
std::vector<TLibraryRecord> Libraries_In_Display_Order(std::vector<TLibraryRecord> libraries);

// True when `target` has at least one checked library.
bool Has_Active_Libraries(const std::vector<TLibraryRecord>& libraries, const QString& target);

// The checked targets in display order; with `with_libraries`, only those
// that have at least one checked library.
QStringList Active_Target_Names(const std::vector<TTargetRecord>& targets,
                                const std::vector<TLibraryRecord>& libraries,
                                bool with_libraries);

// The checked libraries of every target, by target name, each in display
// order: the list order, since the display sort keeps the list order among
// libraries of one target. One pass, whatever the number of targets.
QHash<QString, QStringList> Active_Library_Names(const std::vector<TLibraryRecord>& libraries);

// Marking by a project file. Select_Target checks the first target of that
// exact name; Select_Library the first library of `target` whose name begins
// with `prefix`. Neither does anything when there is no such record.
void Unselect_Targets(std::vector<TTargetRecord>* targets);
void Unselect_Libraries(std::vector<TLibraryRecord>* libraries);
void Select_Target(std::vector<TTargetRecord>* targets, const QString& name);
void Select_Library(std::vector<TLibraryRecord>* libraries, const QString& target,
                    const QString& prefix);

// As Select_Target for each name and Select_Library for each selection, in
// order, with the records looked up by name instead of searched each time.
void Select_Targets(std::vector<TTargetRecord>* targets, const QStringList& names);
void Select_Libraries(std::vector<TLibraryRecord>* libraries,
                      const std::vector<TSpecDataSelection>& selections);

#endif
