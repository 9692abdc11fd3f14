#include "spec/programlayout.h"

#include <QStringList>

namespace
{
const QString Build_Root = "%{buildroot}";

QString Without_Trailing_Slashes(QString path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}
}

TProgramLayout::TProgramLayout(const TSpecPaths& paths, TTypes::TOptionMakeGenerator generator)
    : d_build_path(paths.Build_Path),
      d_install_path(paths.Target_Install_Path),
      d_bin_path(generator == TTypes::Generator_QMake ? paths.QMake_Bin_Path
                                                      : paths.CMake_Bin_Path)
{
    const QString build = Without_Trailing_Slashes(d_build_path);
    const QString bin = Without_Trailing_Slashes(d_bin_path);
    d_bin_inside = bin == build || bin.startsWith(build + "/");
    if (bin != build && d_bin_inside)
        d_bin_below = bin.mid(build.size() + 1);
}

QString TProgramLayout::Configured_Prefix() const
{
    if (!d_build_path.startsWith(Build_Root))
        return QString();
    return d_build_path.mid(Build_Root.size());
}

// As the run paths and %files name it.
QString TProgramLayout::Installed_Program_Folder() const
{
    return d_install_path + "/%{name}";
}

QString TProgramLayout::Installed_Bin_Folder() const
{
    if (d_bin_inside)
        return d_bin_below.isEmpty() ? Installed_Program_Folder()
                                     : Installed_Program_Folder() + "/" + d_bin_below;
    if (d_bin_path.startsWith(Build_Root))
        return d_bin_path.mid(Build_Root.size());
    return d_bin_path;
}

QString TProgramLayout::Prefix_From_Bin() const
{
    if (!d_bin_inside || d_bin_below.contains('%'))
        return Installed_Program_Folder();
    QStringList up;
    for (const QString& folder : d_bin_below.split('/', Qt::SkipEmptyParts))
    {
        if (folder == "." || folder == "..")
            return Installed_Program_Folder();
        up.append("..");
    }
    return up.isEmpty() ? QString(".") : up.join('/');
}
