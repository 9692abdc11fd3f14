#include "spec/qtbuildlines.h"

namespace
{
bool Has_Own_Prefix(const TQtBuild& qt)
{
    return !qt.Prefix.isEmpty() && qt.Prefix != System_Qt_Prefix;
}
}

QString QMake_Program(const TQtBuild& qt)
{
    if (Has_Own_Prefix(qt))
        return qt.Prefix + "/bin/qmake";
    return qt.Major == 6 ? "qmake6" : "qmake";
}

QString CMake_Prefix_Option(const TQtBuild& qt)
{
    return Has_Own_Prefix(qt) ? " -DCMAKE_PREFIX_PATH=" + qt.Prefix : QString();
}
