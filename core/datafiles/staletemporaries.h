#ifndef STALETEMPORARIES_H
#define STALETEMPORARIES_H

#include <QString>
#include <QStringList>

// Removes from the data folder `folder` the temporary files that saves
// killed part-way left behind: a known data file's name followed by "." and
// six letters or digits, as the all-or-nothing save names them (such as
// "changes.xml.gXIvHj"). A file changed within the last minute may belong to
// a save still running in another editor and is kept. Returns the names of
// the files removed.
QStringList Remove_Stale_Temporary_Files(const QString& folder);

#endif
