#ifndef SIGNINGKEY_H
#define SIGNINGKEY_H

#include <QByteArray>
#include <QString>
#include <QStringList>

// A key of the user's GnuPG keyring (GNUPGHOME, else ~/.gnupg) that signs
// packages through rpmsign and repository metadata through gpg. Nothing it
// runs may ask for a passphrase: a key whose passphrase the agent does not
// hold already cannot sign, which Problems() tells before anything is built.
class TSigningKey
{
public:
    explicit TSigningKey(const QString& id) : d_id(id) {}

    const QString& Id() const { return d_id; }

    // Why the key cannot sign now, one sentence each; none when it can:
    // the tools missing, no such key, several keys of that name, no secret
    // part, or a passphrase needed. A trial signature settles the last.
    QStringList Problems() const;

    // Adds the key's signature to the package `rpm`, in place.
    bool Sign_Package(const QString& rpm, QString* error) const;
    // Writes the ASCII-armoured signature of `file` to `file`.asc.
    bool Sign_Detached(const QString& file, QString* error) const;
    // The public key, ASCII armoured; empty with `error` set on failure.
    QByteArray Public_Key(QString* error) const;

private:
    QStringList Listing_Problems() const;

    QString d_id;
};

#endif
