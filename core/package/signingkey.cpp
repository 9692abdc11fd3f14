#include "package/signingkey.h"

#include <QStandardPaths>

#include "package/toolrun.h"

namespace
{
// gpg answers at once or not at all; signing a large package takes longer.
const int Gpg_Wait_Ms = 30000;
const int Sign_Wait_Ms = 600000;

// gpg without a terminal and without a pinentry to ask through.
QStringList Quiet_Gpg()
{
    return {"--batch", "--no-tty", "--pinentry-mode", "error"};
}

QString Keyring()
{
    const QString home = qEnvironmentVariable("GNUPGHOME");
    return home.isEmpty() ? QString("~/.gnupg") : home;
}

int Secret_Keys_Listed(const QString& listing)
{
    int keys = 0;
    for (const QString& line : listing.split('\n'))
        if (line.startsWith("sec:"))
            ++keys;
    return keys;
}
}

QStringList TSigningKey::Listing_Problems() const
{
    const QString quoted = "\"" + d_id + "\"";
    const TToolRun secret = Run_Tool(
        "gpg", {"--batch", "--with-colons", "--list-secret-keys", "--", d_id}, Gpg_Wait_Ms);
    const int keys = Secret_Keys_Listed(secret.Output);
    if (secret.Ok && keys > 1)
        return {QString("the signing key %1 names %2 secret keys; give the fingerprint of the one "
                        "to sign with")
                    .arg(quoted)
                    .arg(keys)};
    if (secret.Ok && keys == 1)
        return {};
    const TToolRun any =
        Run_Tool("gpg", {"--batch", "--with-colons", "--list-keys", "--", d_id}, Gpg_Wait_Ms);
    if (any.Ok)
        return {QString("the signing key %1 has no secret part in the GnuPG keyring %2: it can "
                        "check signatures, not make them")
                    .arg(quoted, Keyring())};
    return {QString("the signing key %1 is not in the GnuPG keyring %2").arg(quoted, Keyring())};
}

QStringList TSigningKey::Problems() const
{
    QStringList problems;
    for (const QString& tool : {QString("gpg"), QString("rpmsign")})
        if (QStandardPaths::findExecutable(tool).isEmpty())
            problems.append(QString("\"%1\" is not on PATH; signing needs it").arg(tool));
    if (!problems.isEmpty())
        return problems;
    problems = Listing_Problems();
    if (!problems.isEmpty())
        return problems;
    const TToolRun trial = Run_Tool(
        "gpg", Quiet_Gpg() + QStringList{"--local-user", d_id, "--detach-sign"}, Gpg_Wait_Ms,
        "trial signature\n");
    if (trial.Ok)
        return {};
    if (trial.Errors.contains("No pinentry") || trial.Errors.contains("Operation cancelled"))
        return {QString("the signing key \"%1\" needs its passphrase, which the GnuPG agent does "
                        "not hold and cannot ask for here: unlock the key first, e.g. with "
                        "\"gpg --local-user %1 --clearsign\" on any text")
                    .arg(d_id)};
    return {QString("the signing key \"%1\" cannot sign: %2").arg(d_id, trial.Said())};
}

bool TSigningKey::Sign_Package(const QString& rpm, QString* error) const
{
    const QString gpg = QStandardPaths::findExecutable("gpg");
    const TToolRun sign =
        Run_Tool("rpmsign", {"--addsign", "--define", "_gpg_name " + d_id, "--define",
                             "__gpg " + gpg, "--define",
                             "_gpg_sign_cmd_extra_args " + Quiet_Gpg().join(' '), rpm},
                 Sign_Wait_Ms);
    if (!sign.Ok)
        *error = QString("rpmsign could not sign \"%1\" with the key \"%2\": %3")
                     .arg(rpm, d_id, sign.Said());
    return sign.Ok;
}

bool TSigningKey::Sign_Detached(const QString& file, QString* error) const
{
    const TToolRun sign =
        Run_Tool("gpg", Quiet_Gpg() + QStringList{"--yes", "--local-user", d_id, "--armor",
                                                  "--detach-sign", "--output", file + ".asc",
                                                  file},
                 Gpg_Wait_Ms);
    if (!sign.Ok)
        *error = QString("gpg could not sign \"%1\" with the key \"%2\": %3")
                     .arg(file, d_id, sign.Said());
    return sign.Ok;
}

QByteArray TSigningKey::Public_Key(QString* error) const
{
    const TToolRun exported =
        Run_Tool("gpg", {"--batch", "--armor", "--export", "--", d_id}, Gpg_Wait_Ms);
    if (exported.Ok && exported.Output.contains("BEGIN PGP PUBLIC KEY BLOCK"))
        return exported.Output.toLatin1();
    *error = QString("gpg could not export the public key \"%1\": %2").arg(d_id, exported.Said());
    return QByteArray();
}
