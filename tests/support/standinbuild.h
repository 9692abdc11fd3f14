#ifndef STANDINBUILD_H
#define STANDINBUILD_H

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace Test
{
// A package "qtdemo" that passes the preflight with no program and only the
// factory Qt Core library checked (the CMake generator, requirements
// ignored, a tarball, Qt Core collected, the desktop entry and the icon in
// place), and a stand-in "rpmbuild" first
// on PATH while it lives. The stand-in announces %prep like rpmbuild, then
// fails at once, or, while held, waits until it is stopped.
class TStandInBuild
{
public:
    TStandInBuild();
    ~TStandInBuild();

    QString Data() const { return d_folder.path() + "/data"; }
    QString Top() const { return d_folder.path() + "/top"; }
    QString Spec() const { return Top() + "/SPECS/qtdemo.spec"; }
    QString Lock() const { return Top() + "/qtdemo.build.lock"; }
    void Hold(bool held);

    // The one library to check, of the target "lib".
    static QString Library() { return "libQt5Core.so.5.15.2"; }

private:
    QTemporaryDir d_folder;
    QByteArray d_old_path;
};
}

#endif
