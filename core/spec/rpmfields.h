#ifndef RPMFIELDS_H
#define RPMFIELDS_H

#include <QString>

// rpmbuild's own rules for the package's name, version and release, as
// expanded: only ASCII letters and digits and, for a name, "._+-" (a name
// begins with a letter, a digit or "_"), for a version or release "._+~^";
// never "..". What passes cannot name a folder outside the one it is put in.

// Why `name` is no valid RPM name, as the end of a sentence that begins with
// the name ("holds \"/\", which rpmbuild refuses ..."); empty when it is one.
QString Rpm_Name_Problem(const QString& name);

// The same for a version or a release.
QString Rpm_Version_Problem(const QString& version);

#endif
