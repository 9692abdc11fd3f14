#ifndef SOURCETARBALL_H
#define SOURCETARBALL_H

#include <QString>
#include <QStringList>

// Makes the gzip-compressed tarball `tarball` holding `files` (relative to
// `source`, as Source_Files lists them) below the folder `top_folder`, with
// "tar" in a process group of its own. False with the reason in `error`,
// and no tarball left behind.
bool Make_Source_Tarball(const QString& source, const QStringList& files, const QString& tarball,
                         const QString& top_folder, QString* error);

#endif
