#include "bundle/qtinstallation.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include "libraries/pluginfamilies.h"

namespace
{
// The Wayland platform plug-ins cannot show a window without their shell
// integration and need the others to draw and decorate it.
QStringList Wayland_Client_Folders(const QString& library_name)
{
    static const QRegularExpression client("^libQt[56]WaylandClient\\.so");
    if (!client.match(library_name).hasMatch())
        return {};
    return {"wayland-decoration-client", "wayland-graphics-integration-client",
            "wayland-shell-integration"};
}
}

bool Is_Qt_Library(const QString& name)
{
    return name.startsWith("libQt5") || name.startsWith("libQt6");
}

bool Is_Qt_Core_Library(const QString& name)
{
    return name.startsWith("libQt5Core.so") || name.startsWith("libQt6Core.so");
}

QStringList Plugins_Folder_Candidates(const QString& core_library)
{
    const QFileInfo core(core_library);
    const QString qt = core.fileName().startsWith("libQt6") ? "qt6" : "qt5";
    const QDir library_folder = core.absoluteDir();
    QDir prefix = library_folder;
    prefix.cdUp();
    return {library_folder.filePath(qt + "/plugins"), prefix.filePath("plugins")};
}

namespace
{
struct TInstallationFolders
{
    QString Qt;  // "qt5" or "qt6"
    QDir Library_Folder;
    QDir Prefix;
};

TInstallationFolders Installation_Folders(const QString& core_library)
{
    const QFileInfo core(core_library);
    QDir prefix = core.absoluteDir();
    prefix.cdUp();
    return {core.fileName().startsWith("libQt6") ? "qt6" : "qt5", core.absoluteDir(), prefix};
}
}

QStringList Qml_Folder_Candidates(const QString& core_library)
{
    const TInstallationFolders folders = Installation_Folders(core_library);
    return {folders.Library_Folder.filePath(folders.Qt + "/qml"), folders.Prefix.filePath("qml")};
}

QStringList Qml_Scanner_Candidates(const QString& core_library)
{
    const TInstallationFolders folders = Installation_Folders(core_library);
    const QStringList tool_folders = {folders.Library_Folder.filePath(folders.Qt),
                                      folders.Prefix.filePath(folders.Qt),
                                      folders.Prefix.path()};
    QStringList candidates;
    for (const QString& folder : tool_folders)
        for (const char* tools : {"/bin/", "/libexec/"})
            candidates << QDir::cleanPath(folder + tools + "qmlimportscanner");
    return candidates;
}

TQtBuild Qt_Build_Of(const QString& core_library)
{
    const QFileInfo core(core_library);
    QDir prefix = core.absoluteDir();
    const bool multiarch = prefix.dirName().contains("-linux-");
    prefix.cdUp();
    if (multiarch && prefix.dirName() == "lib")
        prefix.cdUp();
    return {core.fileName().startsWith("libQt6") ? 6 : 5, prefix.path()};
}

QStringList Plugin_Folders_For(const QString& library_name)
{
    return Plugin_Families(library_name) + Wayland_Client_Folders(library_name);
}

bool Is_Plugin_File(const QString& file_name)
{
    return file_name.endsWith(".so");
}
