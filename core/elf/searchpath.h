#ifndef SEARCHPATH_H
#define SEARCHPATH_H

#include <QByteArray>
#include <QList>

// The folder the loader substitutes for $ORIGIN in the search paths of an
// object it opened by `path`: a relative path counts from `current_folder`.
QByteArray Origin_Of(const QByteArray& path, const QByteArray& current_folder);

// The folders of a DT_RPATH or DT_RUNPATH value (`separators` ":") or of
// LD_LIBRARY_PATH (":;"), as the loader makes them: $ORIGIN replaced by
// `origin`, each folder ending in one "/", an empty element meaning "./".
// False when the list holds another substitution ($LIB, $PLATFORM, ...),
// which is left to the loader itself.
bool Search_Folders(const QByteArray& list, const QByteArray& separators,
                    const QByteArray& origin, QList<QByteArray>* folders);

#endif
