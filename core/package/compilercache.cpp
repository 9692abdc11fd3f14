#include "package/compilercache.h"

#include <QFileInfo>
#include <QStandardPaths>

namespace
{
const char* const Wrappers = "/usr/lib/ccache";
}

QProcessEnvironment Compiler_Cache_Environment(const QProcessEnvironment& environment)
{
    if (!QFileInfo(QString(Wrappers) + "/c++").isExecutable())
        return environment;
    QProcessEnvironment cached = environment;
    const QString path = environment.value("PATH");
    cached.insert("PATH", path.isEmpty() ? QString(Wrappers) : QString(Wrappers) + ":" + path);
    cached.insert("CCACHE_DIR",
                  QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                      "/kestrelvantory/ccache");
    // rpmbuild unpacks the sources afresh each time, in the same place; the
    // files' times are new, their contents are not.
    cached.insert("CCACHE_SLOPPINESS", "include_file_mtime,include_file_ctime,time_macros");
    return cached;
}
