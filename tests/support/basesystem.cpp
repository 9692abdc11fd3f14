#include "basesystem.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>

#include "installroot.h"
#include "testsupport.h"

namespace Test
{
namespace
{
const char* const Elfdeps = "/usr/lib/rpm/elfdeps";

// Runs `program` with `input` on its standard input; its output, or an empty
// string with the reason in `error`.
QString Output_Of(const QString& program, const QStringList& arguments, const QByteArray& input,
                  QString* error)
{
    QProcess process;
    process.start(program, arguments);
    process.write(input);
    process.closeWriteChannel();
    if (!process.waitForFinished(300000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
    {
        *error = program + " " + arguments.join(' ') + " failed: " +
                 QString::fromLocal8Bit(process.readAllStandardError()).right(3000) +
                 QString::fromLocal8Bit(process.readAllStandardOutput()).right(3000);
        return QString();
    }
    return QString::fromLocal8Bit(process.readAllStandardOutput());
}

// Adds what `file` loads to `files`; false, with the reason, when ldd fails.
bool Add_Loaded(const QString& file, QStringList* files, QString* error)
{
    for (const QString& path : Loaded_Paths(file))
    {
        if (!path.startsWith('/'))
        {
            *error = file + ": " + path;
            return false;
        }
        if (!files->contains(path))
            files->append(path);
    }
    return true;
}

QString Provides_Of(const QStringList& libraries, QString* error)
{
    QByteArray input;
    for (const QString& library : libraries)
        input += QFileInfo(library).canonicalFilePath().toLocal8Bit() + "\n";
    return Output_Of(Elfdeps, {"--provides"}, input, error);
}

QString Spec_Text(const TBaseSystem& base)
{
    QString text = "Name: base-system\nVersion: 1\nRelease: 1\nSummary: The base libraries\n"
                   "License: Various\nAutoReqProv: no\n"
                   "%global __os_install_post %{nil}\n%global _build_id_links none\n";
    for (const QString& capability : base.Provides)
        text += "Provides: " + capability + "\n";
    text += "\n%description\nThe host's base-list libraries and what they load.\n\n%install\n";
    for (const QString& file : base.Files)
        text += QString("mkdir -p %{buildroot}%1\ncp %2 %{buildroot}%3\n")
                    .arg(QFileInfo(file).path(), QFileInfo(file).canonicalFilePath(), file);
    text += "\n%files\n" + base.Files.join('\n') + "\n";
    return text;
}
}

bool Is_Expected_Base_Library(const QString& soname)
{
    static const QStringList names = {
        "ld-linux-x86-64.so.2", "libc.so.6", "libm.so.6", "libdl.so.2", "libpthread.so.0",
        "librt.so.1", "libresolv.so.2", "libutil.so.1", "libanl.so.1", "libmvec.so.1",
        "libstdc++.so.6", "libgcc_s.so.1",
        "libGL.so.1", "libEGL.so.1", "libGLX.so.0", "libOpenGL.so.0", "libGLdispatch.so.0",
        "libglapi.so.0", "libgbm.so.1", "libdrm.so.2",
        "libxcb.so.1", "libX11.so.6", "libX11-xcb.so.1", "libxcb-dri2.so.0", "libxcb-dri3.so.0",
        "libwayland-client.so.0", "libICE.so.6", "libSM.so.6",
        "libasound.so.2", "libjack.so.0", "libpipewire-0.3.so.0",
        "libfontconfig.so.1", "libfreetype.so.6", "libharfbuzz.so.0", "libfribidi.so.0",
        "libz.so.1", "libexpat.so.1", "libuuid.so.1", "libcom_err.so.2", "libgpg-error.so.0",
        "libusb-1.0.so.0", "libgmp.so.10"};
    return names.contains(soname) || soname.startsWith("libnss_");
}

TBaseSystem Base_System_For(const QStringList& files, QString* error)
{
    QStringList loaded;
    for (const QString& file : files)
        if (!Add_Loaded(file, &loaded, error))
            return {};
    TBaseSystem base;
    QStringList base_libraries;
    for (const QString& path : loaded)
        if (Is_Expected_Base_Library(QFileInfo(path).fileName()))
            base_libraries.append(path);
    base.Files = base_libraries;
    for (const QString& library : base_libraries)
        if (!Add_Loaded(library, &base.Files, error))
            return {};
    const QString provided = Provides_Of(base_libraries, error);
    if (provided.isEmpty())
        return {};
    base.Provides = provided.split('\n', Qt::SkipEmptyParts);
    base.Provides.removeDuplicates();
    base.Provides << "/bin/sh" << "rtld(GNU_HASH)" << "glibc";
    return base;
}

QString Build_Base_System_Package(const TBaseSystem& base, const QString& folder,
                                  QString* error)
{
    const QString top = folder + "/base-system";
    if (!QDir().mkpath(top + "/SPECS") || !QDir().mkpath(top + "/tmp"))
    {
        *error = "cannot make the folders below " + top;
        return QString();
    }
    Write_File(top + "/SPECS/base-system.spec", Spec_Text(base).toUtf8());
    const QString built =
        Output_Of("rpmbuild",
                  {"-bb", "--define", "_topdir " + top, "--define", "_tmppath " + top + "/tmp",
                   "--define", "_binary_payload w1.gzdio", top + "/SPECS/base-system.spec"},
                  QByteArray(), error);
    if (!error->isEmpty())
        return QString();
    QDirIterator packages(top + "/RPMS", {"base-system-1-1.*.rpm"}, QDir::Files,
                          QDirIterator::Subdirectories);
    if (packages.hasNext())
        return packages.next();
    *error = "rpmbuild made no base-system package:\n" + built.right(3000);
    return QString();
}
}
