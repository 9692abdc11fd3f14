#ifndef PLAINNAME_H
#define PLAINNAME_H

#include <QString>

// True when `name` can stand as one file name inside the shell commands of a
// spec file: not empty, not "." or "..", and made only of ASCII letters,
// digits and the characters . _ + - , @
bool Is_Plain_File_Name(const QString& name);

#endif
