#ifndef SOURCEGUESS_H
#define SOURCEGUESS_H

#include <QString>

// The source folder a built program was made from, as its build folder
// tells: CMake's cache names it, a Makefile of qmake names the project file,
// and a program built among its sources lies beside them. The program's
// folder and the two above it are looked at. Empty when nothing tells.
QString Guessed_Source_Folder(const QString& program);

#endif
