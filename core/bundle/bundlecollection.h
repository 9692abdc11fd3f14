#ifndef BUNDLECOLLECTION_H
#define BUNDLECOLLECTION_H

#include <QString>
#include <QStringList>

#include "bundle/bundle.h"

// What collecting a bundle did, each file as "<target>/<file>".
struct TBundleCollection
{
    bool Ok = true;
    QString Error;  // why it stopped; the files before it are done
    QStringList Copied;
    QStringList Up_To_Date;
};

// Copies every file of the bundle to "<folder>/<target>/<file>" byte for
// byte, making the folders it needs. A file already there with the same
// bytes is left alone; one with other bytes is replaced all at once or not
// at all. A QML module folder is copied so, file by file, to
// "<folder>/<target>/<module folder>". Nothing else in `folder` is touched,
// and nothing outside it: a target folder that is a symbolic link is refused
// by name, as is a link at a file's name, and so is a file or folder name
// holding a line feed or another control character. A file of a QML module folder
// reached through a symbolic link that leads outside the module's Qt
// installation (the folder above its QML import folder) is refused by name.
// Stops at the first failure.
TBundleCollection Collect_Bundle(const TBundle& bundle, const QString& folder,
                                 const TBundleProgress& progress = TBundleProgress());

#endif
