#include "bundle/bundlecollection.h"

#include <QDir>
#include <QDirIterator>
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
    enum TOutcome
    {
        Copied,
        Up_To_Date,
        Failed
    };

    TOutcome Copy_File(const QString& source, const QString& target);
    TOutcome Copy_Tree(const QString& source, const QString& target);
    bool Fail(const QString& error);

    const QString d_folder;
    const TBundleProgress& d_progress;
    TBundleCollection d_result;
};

bool TCollector::Collect(const TBundleFile& file)
{
    const QString line = file.Target + "/" + file.Name;
    if (d_progress && !d_progress(line))
        return Fail("the copying was stopped");
    const QString target = QDir(d_folder).filePath(line);
    const TOutcome outcome = file.Type == TTypes::Library_Qml_Module
                                 ? Copy_Tree(file.Source, target)
                                 : Copy_File(file.Source, target);
    if (outcome == Failed)
        return false;
    (outcome == Copied ? d_result.Copied : d_result.Up_To_Date).append(line);
    return true;
}

// A link in the way is not written through: it may lead anywhere.
TCollector::TOutcome TCollector::Copy_File(const QString& source, const QString& target)
{
    const QString target_folder = QFileInfo(target).path();
    if (!QDir().mkpath(target_folder))
    {
        Fail(QString("cannot make the folder \"%1\"").arg(target_folder));
        return Failed;
    }
    const QFileInfo existing(target);
    if (existing.exists() && existing.isFile() && Same_Contents(source, target))
        return Up_To_Date;
    if (existing.isSymLink() || existing.isDir())
        Fail(QString("\"%1\" is in the way: it is a %2, not a copy of \"%3\"")
                 .arg(target, existing.isSymLink() ? "link" : "folder", source));
    else if (const QString error = Write_Copy(source, target); !error.isEmpty())
        Fail(error);
    return d_result.Ok ? Copied : Failed;
}

// Copied when any file of the tree was.
TCollector::TOutcome TCollector::Copy_Tree(const QString& source, const QString& target)
{
    if (!QFileInfo(source).isDir())
    {
        Fail(QString("the QML module folder \"%1\" does not exist").arg(source));
        return Failed;
    }
    TOutcome outcome = Up_To_Date;
    const QDir source_folder(source);
    QDirIterator files(source, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString file = files.next();
        const TOutcome copied =
            Copy_File(file, QDir(target).filePath(source_folder.relativeFilePath(file)));
        if (copied != Up_To_Date)
            outcome = copied;
        if (copied == Failed)
            return Failed;
    }
    return outcome;
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
