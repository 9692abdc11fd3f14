#include "package/repository.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include "datafiles/savefile.h"
#include "package/signingkey.h"
#include "package/toolrun.h"

namespace
{
const int Createrepo_Wait_Ms = 600000;

// dnf takes letters, digits and "-_.:" in a repository id.
QString Repository_Id(const QString& name)
{
    static const QRegularExpression other("[^A-Za-z0-9_.:-]");
    return QString(name).replace(other, "_");
}

// Copies `rpm` into `folder` under its own name, through a temporary name
// that createrepo_c does not take for a package.
bool Copy_In(const QString& rpm, const QString& target, QString* error)
{
    const QString partial = target + ".part";
    QFile::remove(partial);
    if (QFile::copy(rpm, partial) && (!QFileInfo::exists(target) || QFile::remove(target)) &&
        QFile::rename(partial, target))
        return true;
    QFile::remove(partial);
    *error = QString("cannot copy \"%1\" to \"%2\"").arg(rpm, target);
    return false;
}

// The signed metadata and the key to check it with, where zypper looks.
bool Sign_Metadata(const QString& folder, const QByteArray& public_key, const TSigningKey& key,
                   QString* error)
{
    const QString repomd = folder + "/repodata/repomd.xml";
    return key.Sign_Detached(repomd, error) &&
           Save_Bytes_File(repomd + ".key", public_key, error);
}

bool Publish_Key(const QString& folder, const QString& name, const TSigningKey& key,
                 TPublished* published)
{
    QString error;
    const QByteArray public_key = key.Public_Key(&error);
    const QString key_file = folder + "/RPM-GPG-KEY-" + Repository_Id(name);
    if (public_key.isEmpty() || !Save_Bytes_File(key_file, public_key, &error) ||
        !Sign_Metadata(folder, public_key, key, &error))
    {
        published->Error = error.isEmpty() ? "cannot write " + key_file : error;
        return false;
    }
    published->Key_File = key_file;
    return true;
}

QStringList Notes(const TPublished& published, int packages, bool replaced,
                  const TSigningKey* key)
{
    QStringList notes = {QString("the repository \"%1\" holds %2 %3; createrepo_c refreshed "
                                 "its metadata")
                             .arg(QFileInfo(published.Rpm).path())
                             .arg(packages)
                             .arg(packages == 1 ? "package" : "packages")};
    if (replaced)
        notes.append("the repository held a package of this version and release already, "
                     "which is now replaced; systems that installed it do not update to it: "
                     "raise the release for a change to reach them");
    if (key != nullptr)
        notes.append(QString("signed with the key \"%1\", whose public key is \"%2\"")
                         .arg(key->Id(), published.Key_File));
    else
        notes.append("the package is not signed: package managers that check signatures "
                     "refuse it until a signing key signs it");
    return notes;
}
}

QStringList Repository_Problems(const QString& folder)
{
    QStringList problems;
    if (QStandardPaths::findExecutable("createrepo_c").isEmpty())
        problems.append("\"createrepo_c\" is not on PATH; the repository's metadata needs it");
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        problems.append(QString("the repository \"%1\" is not a folder").arg(folder));
    else if (info.exists() && !info.isWritable())
        problems.append(QString("the repository folder \"%1\" cannot be written").arg(folder));
    return problems;
}

QString Repo_File_Text(const QString& name, const QString& folder, const QString& key_file)
{
    const QString id = Repository_Id(name);
    QString text = QString("[%1]\nname=%1\nbaseurl=%2\nenabled=1\n")
                       .arg(id, QUrl::fromLocalFile(folder).toString(QUrl::FullyEncoded));
    if (key_file.isEmpty())
        return text + "gpgcheck=0\n";
    return text + "gpgcheck=1\nrepo_gpgcheck=1\ngpgkey=" +
           QUrl::fromLocalFile(key_file).toString(QUrl::FullyEncoded) + "\n";
}

TPublished Publish_Package(const QString& rpm, const QString& folder, const QString& name,
                           const TSigningKey* key)
{
    TPublished published;
    const QString absolute = QDir(folder).absolutePath();
    published.Rpm = absolute + "/" + QFileInfo(rpm).fileName();
    published.Repo_File = absolute + "/" + Repository_Id(name) + ".repo";
    if (!QDir().mkpath(absolute))
    {
        published.Error = QString("cannot make the repository folder \"%1\"").arg(absolute);
        return published;
    }
    const bool replaced = QFileInfo::exists(published.Rpm);
    if (!Copy_In(rpm, published.Rpm, &published.Error))
        return published;
    const TToolRun createrepo =
        Run_Tool("createrepo_c", {"--quiet", "--update", absolute}, Createrepo_Wait_Ms);
    if (!createrepo.Ok)
    {
        published.Error = "createrepo_c failed: " + createrepo.Said();
        return published;
    }
    // createrepo_c keeps what else the metadata folder holds: a signature
    // of earlier metadata would no longer match.
    for (const char* signature : {"/repodata/repomd.xml.asc", "/repodata/repomd.xml.key"})
        QFile::remove(absolute + signature);
    if (key != nullptr && !Publish_Key(absolute, name, *key, &published))
        return published;
    published.Repo_Text = Repo_File_Text(name, absolute, published.Key_File);
    if (!Save_Text_File(published.Repo_File, published.Repo_Text, &published.Error))
        return published;
    published.Notes = Notes(published, QDir(absolute).entryList({"*.rpm"}, QDir::Files).size(),
                            replaced, key);
    return published;
}
