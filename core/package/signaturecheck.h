#ifndef SIGNATURECHECK_H
#define SIGNATURECHECK_H

#include <QByteArray>
#include <QString>

// Whether `rpm` carries a good signature of `public_key` (ASCII armoured),
// as "rpmkeys --checksig" sees it with that key alone, in a key database of
// its own: the empty string when it does, else what is wrong in a sentence.
QString Signature_Failure(const QString& rpm, const QByteArray& public_key);

#endif
