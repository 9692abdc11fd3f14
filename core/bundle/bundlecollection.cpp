#include "bundle/bundlecollection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace
{
const qint64 Chunk_Size = 1 << 20;

bool Same_Contents(const QString& source, const QString& copy)
{
    QFile left(source);
    QFile right(copy);
    if (left.size() != right.size() || !left.open(QIODevice::ReadOnly) ||
        !right.open(QIODevice::ReadOnly))
        return false;
    while (!left.atEnd())
    {
        const QByteArray chunk = left.read(Chunk_Size);
        if (chunk.isEmpty() || chunk != right.read(Chunk_Size))
            return false;
    }
    return right.atEnd();
}

// Writes the copy beside `target` and puts it in place only once every byte
// is written; an earlier file of that name stays as it was otherwise.
QString Write_Copy(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QString("cannot read \"%1\": %2").arg(source, in.errorString());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return QString("cannot write \"%1\": %2").arg(target, out.errorString());
    qint64 written = 0;
    while (!in.atEnd())
    {
        const QByteArray chunk = in.read(Chunk_Size);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            break;
        written += chunk.size();
    }
    if (written != in.size())
    {
        out.cancelWriting();
        return QString("cannot copy \"%1\" to \"%2\": %3")
            .arg(source, target,
                 in.error() != QFile::NoError ? in.errorString() : out.errorString());
    }
    out.setPermissions(in.permissions());
    if (!out.flush() || out.error() != QFile::NoError || !out.commit())
        return QString("cannot write \"%1\": %2").arg(target, out.errorString());
    return QString();
}

class TCollector
{
public:
    TCollector(const QString& folder, const TBundleProgress& progress)
        : d_folder(folder), d_progress(progress)
    {
    }

    bool Collect(const TBundleFile& file);
    TBundleCollection Result() const { return d_result; }

private:
    bool Fail(const QString& error);

    const QString d_folder;
    const TBundleProgress& d_progress;
    TBundleCollection d_result;
};

// A link in the way is not written through: it may lead anywhere.
bool TCollector::Collect(const TBundleFile& file)
{
    const QString line = file.Target + "/" + file.Name;
    if (d_progress && !d_progress(line))
        return Fail("the copying was stopped");
    const QString target_folder = QDir(d_folder).filePath(file.Target);
    if (!QDir().mkpath(target_folder))
        return Fail(QString("cannot make the folder \"%1\"").arg(target_folder));
    const QString target = QDir(target_folder).filePath(file.Name);
    const QFileInfo existing(target);
    if (existing.exists() && existing.isFile() && Same_Contents(file.Source, target))
    {
        d_result.Up_To_Date.append(line);
        return true;
    }
    if (existing.isSymLink() || existing.isDir())
        return Fail(QString("\"%1\" is in the way: it is a %2, not a copy of \"%3\"")
                        .arg(target, existing.isSymLink() ? "link" : "folder", file.Source));
    const QString error = Write_Copy(file.Source, target);
    if (!error.isEmpty())
        return Fail(error);
    d_result.Copied.append(line);
    return true;
}

bool TCollector::Fail(const QString& error)
{
    d_result.Ok = false;
    d_result.Error = error;
    return false;
}
}

TBundleCollection Collect_Bundle(const TBundle& bundle, const QString& folder,
                                 const TBundleProgress& progress)
{
    TCollector collector(folder, progress);
    for (const TBundleFile& file : bundle.Files)
    {
        if (!collector.Collect(file))
            break;
    }
    return collector.Result();
}
