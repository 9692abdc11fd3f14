#ifndef SOURCEFILES_H
#define SOURCEFILES_H

#include <QString>
#include <QStringList>

// The files of a source folder that are sources, and how many were left
// out as not sources.
struct TSourceFiles
{
    QStringList Files;  // relative to the folder, sorted; files and symbolic links
    int Left_Out = 0;   // files below the folder that are not among them
    bool From_Git = false;
};

// For a folder under git, the files git tracks there plus the untracked ones
// it does not ignore. Otherwise every file but build output: object files,
// the sources moc, rcc and uic generate, the Makefiles qmake and CMake
// generate (known by their contents), ELF files, a build's cache and stash
// files, and build folders (those holding a CMakeCache.txt or a
// .qmake.stash, and CMake's own folders). ".git" is never a source.
TSourceFiles Source_Files(const QString& folder);

#endif
