#ifndef SOURCETARBALL_H
#define SOURCETARBALL_H

#include <QString>
#include <QStringList>

#include <atomic>

// Makes the gzip-compressed tarball `tarball` holding `files` (relative to
// `source`, as Source_Files lists them) below the folder `top_folder`, with
// "tar" in a process group of its own. False with the reason in `error`.
// Once `cancel` is set, tar is stopped soon; a tarball that is not whole is
// never left behind, and one made before stays as it is.
bool Make_Source_Tarball(const QString& source, const QStringList& files, const QString& tarball,
                         const QString& top_folder, const std::atomic<bool>& cancel,
                         QString* error);

#endif
