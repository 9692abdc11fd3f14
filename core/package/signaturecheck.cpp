#include "package/signaturecheck.h"

#include <QTemporaryDir>

#include "datafiles/savefile.h"
#include "package/toolrun.h"

namespace
{
const int Rpmkeys_Wait_Ms = 120000;
}

QString Signature_Failure(const QString& rpm, const QByteArray& public_key)
{
    QTemporaryDir keys;
    QString error;
    const QString key_file = keys.path() + "/key.asc";
    if (!keys.isValid() || !Save_Bytes_File(key_file, public_key, &error))
        return "cannot make a key database to check the signature in: " + error;
    const QStringList database = {"--dbpath", keys.path() + "/db"};
    const TToolRun import =
        Run_Tool("rpmkeys", database + QStringList{"--import", key_file}, Rpmkeys_Wait_Ms);
    if (!import.Ok)
        return "rpmkeys could not import the signing key: " + import.Said();
    const TToolRun check =
        Run_Tool("rpmkeys", database + QStringList{"--checksig", rpm}, Rpmkeys_Wait_Ms);
    // An unsigned package passes with "digests OK" alone.
    if (check.Ok && check.Output.contains(" signatures OK"))
        return QString();
    const QString said = (check.Output + "\n" + check.Errors).simplified();
    return QString("the package's signature does not verify with the signing key: %1").arg(said);
}
