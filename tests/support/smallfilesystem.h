#ifndef SMALLFILESYSTEM_H
#define SMALLFILESYSTEM_H

#include <QString>

namespace Test
{
// A file system of its own, `kib` KiB of memory (tmpfs), mounted on the
// existing folder `folder` while it lives, so that a test can run out of
// space for real. Mounting needs root and a system that allows it; a test
// skips, with Why_Not() as the message, when it was not mounted.
class TSmallFileSystem
{
public:
    TSmallFileSystem(const QString& folder, int kib);
    ~TSmallFileSystem();

    bool Is_Mounted() const { return d_why_not.isEmpty(); }
    QString Why_Not() const { return d_why_not; }

    // Takes up all space left with the file "filler", so that writing even
    // one more byte fails with "No space left on device".
    void Fill();
    void Unfill();

private:
    QString d_folder;
    QString d_why_not;
};
}

#endif
