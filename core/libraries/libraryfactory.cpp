#include "libraries/libraryfactory.h"

#include <QStringList>

namespace
{
void Append_Libraries(std::vector<TLibraryRecord>* libraries, const QString& target,
                      TTypes::TLibraryType type, const QStringList& names)
{
    for (const QString& name : names)
        libraries->push_back({target, name, type, true});
}
}

std::vector<TTargetRecord> Factory_Targets()
{
    return {
        {"lib", true},
        {"platforms", true},
        {"xcbglintegrations", true},
        {"imageformats", false},
        {"platformthemes", false},
        {"printsupport", false},
        {"sqldrivers", false},
        {"styles", false},
        {"bearer", false},
        {"egldeviceintegrations", false},
        {"generic", false},
        {"platforminputcontexts", false},
    };
}

std::vector<TLibraryRecord> Factory_Libraries()
{
    using TTypes::Library_Dylib;
    using TTypes::Library_Plugin;

    std::vector<TLibraryRecord> libraries;
    Append_Libraries(&libraries, "lib", Library_Dylib,
                     {"libQt5Widgets.so.5.15.2", "libQt5Gui.so.5.15.2", "libQt5Core.so.5.15.2",
                      "libQt5DBus.so.5.15.2", "libQt5XcbQpa.so.5.15.2",
                      "libQt5EglFSDeviceIntegration.so.5.15.2", "libQt5Concurrent.so.5.15.2",
                      "libQt5EglFsKmsSupport.so.5.15.2", "libQt5Network.so.5.15.2",
                      "libQt5OpenGL.so.5.15.2", "libQt5PrintSupport.so.5.15.2",
                      "libQt5SerialPort.so.5.15.2", "libQt5Sql.so.5.15.2", "libQt5Xml.so.5.15.2"});
    Append_Libraries(&libraries, "platforms", Library_Plugin,
                     {"libqxcb.so", "libqeglfs.so", "libqlinuxfb.so", "libqminimal.so",
                      "libqminimalegl.so", "libqoffscreen.so", "libqvnc.so"});
    Append_Libraries(&libraries, "imageformats", Library_Plugin,
                     {"libqgif.so", "libqico.so", "libqjpeg.so"});
    Append_Libraries(&libraries, "sqldrivers", Library_Plugin, {"libqsqlite.so"});
    Append_Libraries(&libraries, "xcbglintegrations", Library_Plugin,
                     {"libqxcb-egl-integration.so", "libqxcb-glx-integration.so"});
    Append_Libraries(&libraries, "bearer", Library_Plugin,
                     {"libqconnmanbearer.so", "libqgenericbearer.so", "libqnmbearer.so"});
    Append_Libraries(&libraries, "egldeviceintegrations", Library_Plugin,
                     {"libqeglfs-emu-integration.so", "libqeglfs-kms-egldevice-integration.so",
                      "libqeglfs-kms-integration.so", "libqeglfs-x11-integration.so"});
    Append_Libraries(&libraries, "generic", Library_Plugin,
                     {"libqevdevkeyboardplugin.so", "libqevdevmouseplugin.so",
                      "libqevdevtabletplugin.so", "libqevdevtouchplugin.so",
                      "libqtuiotouchplugin.so"});
    Append_Libraries(&libraries, "platforminputcontexts", Library_Plugin,
                     {"libcomposeplatforminputcontextplugin.so",
                      "libibusplatforminputcontextplugin.so"});
    Append_Libraries(&libraries, "platformthemes", Library_Plugin, {"libqxdgdesktopportal.so"});
    return libraries;
}
