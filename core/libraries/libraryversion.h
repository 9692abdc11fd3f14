#ifndef LIBRARYVERSION_H
#define LIBRARYVERSION_H

#include <QString>
#include <optional>

// Every rule that reads a version out of a library's file name. Each use has
// its own reading, and stored files and specs depend on each one exactly.

// A shared library's three-number version, as in "libQt5Gui.so.5.15.2".
struct TLibraryVersion
{
    int Major = 0;
    int Minor = 0;
    int Patch = 0;
};

// A versioned shared library: "libQt5Core.so.5.15.2" has the base
// "libQt5Core" and the version 5.15.2.
struct TVersionedLibrary
{
    QString Base;
    TLibraryVersion Version;
};

// The spec text's reading: a base of up to 64 ASCII letters, digits and commas,
// four characters out of ".", "s" and "o", then three numbers of one to three
// digits joined by dots, matching the whole name. Only such a library gets
// run-time links and counts for the library directory; every other one is
// unversioned (std::nullopt).
std::optional<TVersionedLibrary> Versioned_Library(const QString& file_name);

// The project file's reading: the name a library is stored under, its
// version-free beginning ("libQt5Core.so" for "libQt5Core.so.5.15.2") when
// the name begins with up to 64 ASCII letters, digits and commas and three
// characters out of ".", "s" and "o"; else the whole name.
QString Version_Free_Library_Name(const QString& library_name);

// The detection's reading: two names are versions of one library when they
// agree up to and including their first ".so" ("libQt5Core.so" for
// "libQt5Core.so.5.15.8"); a name without ".so" stands for itself.
QString Library_Name_Up_To_So(const QString& name);

// The version the user enters as the end of a library name, for example
// "libQt5.so.5.15.7": four characters out of ".", "s" and "o", then three
// numbers of one to three digits joined by dots. Leading zeros are dropped.
std::optional<TLibraryVersion> Entered_Library_Version(const QString& text);

// `name` with its version replaced, for example "libQt5Gui.so.5.15.7" for
// "libQt5Gui.so.5.15.2". Empty when `name` is not a base name of up to 64
// ASCII letters, digits and commas, then ".so" and a three-number version;
// "libqxcb.so" and "libqxcb-egl.so.1.2.3" keep their names.
QString Library_Name_With_Version(const QString& name, const TLibraryVersion& version);

#endif
