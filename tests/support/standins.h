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
// `libraries` (full paths); with "#slow" as first line, after three seconds.
QByteArray Listing(const QStringList& libraries, const QString& first_line = "#listing");

// Scripted "ldd" and "rpm" on a PATH of their own while it lives, usable by
// the user "nobody" as well. The "ldd" stand-in logs every file it is asked
// about, prints a file's listing when its first line is "#listing", hangs on
// "#hang" and rejects anything else. The "rpm" stand-in logs every library it
// is asked about and answers each from a table, or as owned by no package.
class TStandIns
{
public:
    TStandIns();
    ~TStandIns();

    // Maps a library to the line "rpm" prints for it, or to "#hang".
    void Set_Providers(const std::map<QString, QString>& providers);
    void Remove(const QString& program);

    QStringList Listed_Files() const;  // what "ldd" was asked, in order
    QStringList Hanging_Listings() const;  // process ids of the "ldd" runs that hang
    QStringList Queries() const;       // the libraries "rpm" was asked about, in order
    int Query_Runs() const;            // how often "rpm" ran

private:
    void Write_Script(const QString& name, const QString& body);

    QTemporaryDir d_bin;
    QTemporaryDir d_log;
    QByteArray d_old_path;
};
}

#endif
