#ifndef REPOSITORY_H
#define REPOSITORY_H

#include <QString>
#include <QStringList>

class TSigningKey;

// What putting a package into a repository folder gave.
struct TPublished
{
    QString Error;      // empty when the package is in and the metadata current
    QString Rpm;        // the package's path inside the repository
    QString Repo_File;  // the .repo file written into the repository
    QString Repo_Text;  // its text
    QString Key_File;   // the public key exported into it; empty when unsigned
    QStringList Notes;  // what the repository holds now, and what to mind
};

// Why `folder` cannot take packages: createrepo_c missing, or the folder
// being a file or out of reach. None when it can.
QStringList Repository_Problems(const QString& folder);

// A .repo file for dnf's /etc/yum.repos.d or "zypper addrepo" that names the
// repository folder `folder` as `name`; with a `key_file`, packages and
// metadata are checked against it.
QString Repo_File_Text(const QString& name, const QString& folder, const QString& key_file);

// Copies `rpm` into `folder` (older versions stay there, for downgrades; one
// of the same file name is replaced), refreshes the metadata with
// createrepo_c and writes the .repo file. With `key`, the metadata is signed
// and the public key exported beside the packages.
TPublished Publish_Package(const QString& rpm, const QString& folder, const QString& name,
                           const TSigningKey* key);

#endif
