#ifndef SOURCETARBALL_H
#define SOURCETARBALL_H

#include <QString>
#include <QStringList>

#include <atomic>

// The folders inside `source` that are not sources: ".git" and build folders
// (those holding a CMakeCache.txt or a .qmake.stash), relative to `source`.
QStringList Left_Out_Of_Tarball(const QString& source);

// Makes the gzip-compressed tarball `tarball` holding `source` as the folder
// `top_folder`, without Left_Out_Of_Tarball(source), with "tar". False with
// the reason in `error`. Once `cancel` is set, tar is stopped soon; a tarball
// that is not whole is never left behind, and one made before stays as it is.
bool Make_Source_Tarball(const QString& source, const QString& tarball, const QString& top_folder,
                         const std::atomic<bool>& cancel, QString* error);

#endif
