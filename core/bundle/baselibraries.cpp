#include "bundle/baselibraries.h"

namespace
{
struct TBaseGroup
{
    const char* Reason;
    QStringList Sonames;  // a name ending in "*" stands for every name it begins
};

const TBaseGroup Groups[] = {
    {"the C library family: one per system, tied to the kernel and the loader",
     {"ld-linux-x86-64.so.2", "libc.so.6", "libm.so.6", "libdl.so.2", "libpthread.so.0",
      "librt.so.1", "libresolv.so.2", "libutil.so.1", "libanl.so.1", "libmvec.so.1", "libnss_*"}},
    {"the compiler runtime: backward compatible, and a newer one serves older programs",
     {"libstdc++.so.6", "libgcc_s.so.1"}},
    {"the graphics driver stack: must match the machine's kernel driver and hardware",
     {"libGL.so.1", "libEGL.so.1", "libGLX.so.0", "libOpenGL.so.0", "libGLdispatch.so.0",
      "libglapi.so.0", "libgbm.so.1", "libdrm.so.2"}},
    {"the X11 and Wayland core: speaks the protocol of the running display server",
     {"libxcb.so.1", "libX11.so.6", "libX11-xcb.so.1", "libxcb-dri2.so.0", "libxcb-dri3.so.0",
      "libwayland-client.so.0", "libICE.so.6", "libSM.so.6"}},
    {"sound servers: the client library must match the running server",
     {"libasound.so.2", "libjack.so.0", "libpipewire-0.3.so.0"}},
    {"the font stack: shares the system's font configuration and caches",
     {"libfontconfig.so.1", "libfreetype.so.6", "libharfbuzz.so.0", "libfribidi.so.0"}},
    {"libraries present on every system, with stable interfaces",
     {"libz.so.1", "libexpat.so.1", "libuuid.so.1", "libcom_err.so.2", "libgpg-error.so.0",
      "libusb-1.0.so.0", "libgmp.so.10"}},
};

bool Matches(const QString& listed, const QString& soname)
{
    if (listed.endsWith('*'))
        return soname.startsWith(listed.chopped(1));
    return soname == listed;
}
}

bool Is_Base_Library(const QString& soname)
{
    for (const TBaseGroup& group : Groups)
        for (const QString& listed : group.Sonames)
            if (Matches(listed, soname))
                return true;
    return false;
}

QStringList Base_Library_Names()
{
    QStringList names;
    for (const TBaseGroup& group : Groups)
        names += group.Sonames;
    return names;
}
