#ifndef LIBRARYRESOLVER_H
#define LIBRARYRESOLVER_H

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QString>

#include <memory>
#include <vector>

#include "elffile.h"
#include "ldcache.h"
#include "loadedlibraries.h"
#include "loaderhost.h"

// How far reading a file and following the loader's rules went.
struct TResolution
{
    enum TOutcome
    {
        Resolved,    // every library found, as "ldd" would list them
        Unreadable,  // the file cannot be opened: there is nothing to list
        Refused,     // it, or a library it loads, is cut short or beyond the limits
        Needs_Ldd    // something these rules do not cover: "ldd" must tell
    };

    TOutcome Outcome = Needs_Ldd;
    QString Reason;  // for all but Resolved; Refused names the file refused
    std::vector<TLoadedLibrary> Libraries;
};

// Finds the libraries a file loads by reading it and the libraries it names,
// searching as the host's loader does (the search paths of the loading
// objects, LD_LIBRARY_PATH, the loader's cache, the system folders), without
// running any program. The loader's cache and the environment are read once,
// when the resolver is made, and every file read is remembered, so one
// resolver serves a whole scan from any number of threads. A file whose
// libraries take more than a bounded number of folders and candidates to
// find is refused, as a file the ELF reader refuses is: "ldd" would take as
// long.
class TLibraryResolver
{
public:
    TLibraryResolver();

    TResolution Resolve(const QString& file) const;

private:
    class TSession;

    std::shared_ptr<const TOpenedObject> Opened(const QByteArray& path) const;
    bool Has_Feature_Subfolders(const QByteArray& folder) const;

    const TLoaderHost& d_host;
    TLdCache d_cache;
    QString d_environment_problem;  // why nothing can be resolved here, e.g. preloaded libraries
    QList<QByteArray> d_library_path;  // LD_LIBRARY_PATH
    QByteArray d_current_folder;

    mutable QMutex d_mutex;
    mutable QHash<QByteArray, std::shared_ptr<const TOpenedObject>> d_objects;
    mutable QHash<QByteArray, bool> d_feature_folders;
};

#endif
