#ifndef COMPILERCACHE_H
#define COMPILERCACHE_H

#include <QProcessEnvironment>

// `environment` for an rpmbuild run whose compiles go through ccache, when
// it is installed: its compiler wrappers first on PATH, and a cache of the
// tool's own in the user's cache folder. The spec itself stays unaware of
// it, so that it builds the same anywhere. Without ccache, `environment`.
QProcessEnvironment Compiler_Cache_Environment(const QProcessEnvironment& environment);

#endif
