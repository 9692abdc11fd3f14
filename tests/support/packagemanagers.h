#ifndef PACKAGEMANAGERS_H
#define PACKAGEMANAGERS_H

#include <QString>
#include <QStringList>

// dnf and zypper acting on an install root (see installroot.h) with the
// repositories of one folder only, offline, with signature checking on:
// packages, and repository metadata where the .repo file asks for it.
namespace Test
{
struct TManagerRun
{
    bool Ok = false;
    QString Output;  // the command and both of its channels
};

// "dnf -y --installroot `root`" with `arguments`, reading its repositories
// from `repos_folder` alone, with only `repository` enabled, and keeping its
// cache inside the root. The rpm database is the root's /var/lib/rpm, as
// "rpm --root" keeps it.
TManagerRun Dnf(const QString& root, const QString& repos_folder, const QString& repository,
                const QStringList& arguments);

// "zypper --non-interactive --root `root`" with `arguments`; keys the
// repository names are imported without asking.
TManagerRun Zypper(const QString& root, const QStringList& arguments);

// Every path below `root` (files, folders and links, relative, sorted) but
// the package managers' own records: their databases, caches and logs.
QStringList Root_Tree(const QString& root);

// Stops the GnuPG agents started for the keyrings below `folder`, the
// package managers' own included.
void Stop_Gpg_Agents(const QString& folder);
}

#endif
