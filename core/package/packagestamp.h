#ifndef PACKAGESTAMP_H
#define PACKAGESTAMP_H

#include <QByteArray>
#include <QString>

#include <initializer_list>
#include <utility>

// What the last run made, kept beside the build log: the fingerprint of the
// sources the tarball was made of and of everything that shaped the
// package, each with the file made, so that a file changed or replaced
// since is not taken for it.
class TPackageStamp
{
public:
    explicit TPackageStamp(const QString& path);

    // Whether `tarball` is the one made of sources with `sources`.
    bool Tarball_Is_Current(const QString& tarball, const QByteArray& sources) const;
    // The package made from inputs with `inputs`, if it is still there as
    // made; empty otherwise.
    QString Current_Package(const QByteArray& inputs) const;

    // Both are kept at once; a failure to keep them only costs the next run
    // its shortcut.
    void Record_Tarball(const QString& tarball, const QByteArray& sources);
    void Record_Package(const QString& rpm, const QByteArray& inputs);

private:
    QString Value(const QString& key) const;
    void Set(std::initializer_list<std::pair<QString, QString>> values);

    const QString d_path;
};

#endif
