#ifndef REQUIRELIST_H
#define REQUIRELIST_H

#include <QString>
#include <QStringList>

#include "scan/requireentry.h"

// The list the Requires panel starts with when it has nothing stored.
TRequireEntries Factory_Requirements();

// True when any entry names `library` among its libraries (exact match).
bool Has_Library(const TRequireEntries& entries, const QString& library);

// Records that `package` provides `library`: merged into the package's first
// entry without repeating a library, or appended as a new entry. The C
// library's own package is never recorded, as every system has it.
void Add_Library(TRequireEntries& entries, const QString& package, const QString& library);

// The package names in list order.
QStringList Package_Names(const TRequireEntries& entries);

#endif
