#ifndef QTBUILD_H
#define QTBUILD_H

#include <QString>

// The Qt installation a package is built against: the one whose libraries it
// bundles. Unknown (major version 0) for projects that never recorded one;
// their spec keeps the plain "qmake" and a CMake line without a prefix path.
struct TQtBuild
{
    int Major = 0;   // 5 or 6; 0 when unknown
    QString Prefix;  // such as "/usr" or "/opt/Qt/6.5.0/gcc_64"; empty when unknown

    bool operator==(const TQtBuild& other) const
    {
        return Major == other.Major && Prefix == other.Prefix;
    }
    bool operator!=(const TQtBuild& other) const { return !(*this == other); }
};

// The prefix of the distribution's own Qt, which needs no naming.
extern const char* const System_Qt_Prefix;

// Whether `prefix` may go into a spec's build lines: empty, or an absolute
// path of plain characters (letters, digits, "/", ".", "_", "+" and "-").
bool Is_Plain_Qt_Prefix(const QString& prefix);

#endif
