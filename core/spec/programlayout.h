#ifndef PROGRAMLAYOUT_H
#define PROGRAMLAYOUT_H

#include <QString>

#include "types.h"
#include "spec/spectext.h"

// Where the build installs the program and where the package puts it, worked
// out from the path expressions as typed. The program folder is Build_Path
// below the build root; "make install" leaves the executable in the
// generator's bin path, and there it stays.
class TProgramLayout
{
public:
    TProgramLayout(const TSpecPaths& paths, TTypes::TOptionMakeGenerator generator);

    // The program folder the build is configured for: Build_Path without its
    // "%{buildroot}" beginning. Empty when Build_Path does not begin so, or
    // is nothing more: the user has laid the build out by hand.
    QString Configured_Prefix() const;

    // The folder "make install" puts the executable in, in the build root:
    // QMake_Bin_Path or CMake_Bin_Path, as the generator says.
    const QString& Bin_Path() const { return d_bin_path; }

    // The executable's folder on the installed system.
    QString Installed_Bin_Folder() const;

    // The program folder as seen from the executable's folder, for qt.conf's
    // "Prefix": "." when they are the same, ".." for a "bin" inside it. When
    // the bin path lies elsewhere, or reaches into the program folder through
    // a macro, the installed program folder itself.
    QString Prefix_From_Bin() const;

private:
    QString Installed_Program_Folder() const;

    const QString d_build_path;
    const QString d_install_path;  // Target_Install_Path
    const QString d_bin_path;
    bool d_bin_inside = false;  // the bin path is Build_Path or a folder below it
    QString d_bin_below;        // that folder, relative to Build_Path; empty for Build_Path
};

#endif
