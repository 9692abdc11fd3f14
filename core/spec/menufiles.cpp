#include "spec/menufiles.h"

#include <QRegularExpression>

#include <algorithm>

#include "spec/safename.h"

namespace
{
bool Is_Entry(const QString& file)
{
    return file.startsWith("share/applications/") && file.endsWith(".desktop");
}

// Where a menu file goes: its place below "share", in the data folder.
QString System_Path(const TSpecPaths& paths, const QString& file)
{
    return paths.Target_Desktop_Menu_Path + "/" + file.mid(QString("share/").size());
}

QString Folder_Of(const QString& path)
{
    return path.left(path.lastIndexOf('/'));
}
}

bool Has_Own_Menu_Entry(const QStringList& menu_files)
{
    return std::any_of(menu_files.begin(), menu_files.end(), Is_Entry);
}

QString Own_Files_Error(const TSpecInput& input)
{
    for (const QString& file : input.Menu_Files)
        if (!file.startsWith("share/") || !Is_Safe_Module_Path(file))
            return QString("ERR  Menu file '%1' is not a plain path below 'share'.").arg(file);
    static const QRegularExpression variable("^[A-Za-z_][A-Za-z0-9_.]*$");
    for (const QString& assignment : input.QMake_Assignments)
    {
        const QString folder = assignment.section('=', 1);
        if (!variable.match(assignment.section('=', 0, 0)).hasMatch() ||
            (!folder.isEmpty() && !Is_Safe_Module_Path(folder)))
            return QString("ERR  qmake assignment '%1' is not a plain variable and folder.")
                .arg(assignment);
    }
    return QString();
}

QString QMake_Assignment_Words(const QString& prefix, const QStringList& assignments)
{
    QString words;
    for (const QString& assignment : assignments)
    {
        const QString folder = assignment.section('=', 1);
        words += " " + assignment.section('=', 0, 0) + "=" + prefix +
                 (folder.isEmpty() ? QString() : "/" + folder);
    }
    return words;
}

QString Menu_File_Installation(const TSpecPaths& paths, const QStringList& menu_files)
{
    QString text;
    QStringList folders;
    for (const QString& file : menu_files)
    {
        const QString folder = Folder_Of(System_Path(paths, file));
        if (!folders.contains(folder))
        {
            folders.append(folder);
            text += QString("mkdir -p %{buildroot}%1\n").arg(folder);
        }
        const QString installed = "%{buildroot}" + System_Path(paths, file);
        text += QString("mv %1/%2 %3\n").arg(paths.Build_Path, file, installed);
        if (Is_Entry(file))
            text += QString("sed -i -e 's|^Exec=[^ ]*|Exec=%{name}|' "
                            "-e 's|^TryExec=.*|TryExec=%{name}|' %1\n")
                        .arg(installed);
    }
    // The folders emptied in the program folder go too.
    QStringList emptied;
    for (const QString& file : menu_files)
        if (!emptied.contains(Folder_Of(file)))
            emptied.append(Folder_Of(file));
    for (const QString& folder : emptied)
        text += QString("rmdir -p --ignore-fail-on-non-empty %1/%2\n").arg(paths.Build_Path, folder);
    return text + "\n";
}

QString Menu_File_List(const TSpecPaths& paths, const QStringList& menu_files)
{
    QString text;
    for (const QString& file : menu_files)
        text += System_Path(paths, file) + "\n";
    return text;
}
