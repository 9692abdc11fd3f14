#ifndef LIBRARYVERSION_H
#define LIBRARYVERSION_H

#include <QString>
#include <optional>

// A shared library's three-number version, as in "libQt5Gui.so.5.15.2".
struct TLibraryVersion
{
    int Major = 0;
    int Minor = 0;
    int Patch = 0;
};

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
