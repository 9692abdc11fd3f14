#ifndef FINGERPRINT_H
#define FINGERPRINT_H

#include <QByteArray>
#include <QCryptographicHash>
#include <QString>
#include <QStringList>

// A hash of everything that went into something made: texts, and files by
// their names, modes and contents, so that neither a touch nor a copy
// counts as a change, and any changed byte does.
class TFingerprint
{
public:
    TFingerprint();

    void Add_Text(const QString& label, const QString& text);
    // The file or link `root`/`file`, under its relative name; an absent
    // file counts as such.
    void Add_File(const QString& root, const QString& file);
    void Add_Files(const QString& root, const QStringList& files);
    // Every file below `folder`; none when it does not exist.
    void Add_Folder(const QString& folder);

    // Hexadecimal; the fingerprint can take more afterwards.
    QByteArray Result() const;

private:
    void Add_Field(const QByteArray& bytes);

    QCryptographicHash d_hash;
};

#endif
