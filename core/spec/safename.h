#ifndef SAFENAME_H
#define SAFENAME_H

#include <QString>

// Target and library names become folder and file names inside the shell
// commands of the spec file, so they must be plain file names: not empty,
// not "." or "..", and made only of ASCII letters, digits and ". _ + - , @".
bool Is_Safe_Name(const QString& name);

// Why `name` is not a plain file name, as the end of a sentence that starts
// with the name's label (for example "must not be empty"); empty when the
// name is safe.
QString Unsafe_Name_Reason(const QString& name);

// A QML module folder relative to its target, such as "QtQuick/Controls.2":
// path components separated by single slashes, each a plain file name, so
// neither absolute nor reaching out through "..".
bool Is_Safe_Module_Path(const QString& path);

#endif
