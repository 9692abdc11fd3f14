#ifndef STANDINS_H
#define STANDINS_H

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <map>

namespace Test
{
// The contents of a file for which the "ldd" stand-in prints a listing naming
// `libraries` (full paths).
QByteArray Listing(const QStringList& libraries);

// Scripted "ldd" and "rpm" on a PATH of their own while it lives, usable by
// the user "nobody" as well. The "ldd" stand-in logs every file it is asked
// about, prints a file's listing when its first line is "#listing", hangs on
// "#hang" and rejects anything else. The "rpm" stand-in logs every library it
// is asked about and answers from a table; unknown libraries fail.
class TStandIns
{
public:
    TStandIns();
    ~TStandIns();

    // Maps a library to the line "rpm" prints for it, or to "#hang".
    void Set_Providers(const std::map<QString, QString>& providers);
    void Remove(const QString& program);

    QStringList Listed_Files() const;  // what "ldd" was asked, in order
    QStringList Queries() const;       // what "rpm" was asked, in order

private:
    void Write_Script(const QString& name, const QString& body);

    QTemporaryDir d_bin;
    QTemporaryDir d_log;
    QByteArray d_old_path;
};
}

#endif
