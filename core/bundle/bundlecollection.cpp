#include "bundle/bundlecollection.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "text/valuelimits.h"

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

// Unbuffered, a short write is followed by another, which then fails with
// the system's reason (such as "No space left on device").
bool Write_All(QSaveFile* out, const QByteArray& bytes)
{
    qint64 done = 0;
    while (done < bytes.size())
    {
        const qint64 written = out->write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Writes the copy beside `target` and puts it in place only once every byte
// is written; an earlier file of that name stays as it was otherwise.
QString Write_Copy(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return QString("cannot read \"%1\": %2").arg(source, in.errorString());
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return QString("cannot write \"%1\": %2").arg(target, out.errorString());
    qint64 written = 0;
    while (!in.atEnd())
    {
        const QByteArray chunk = in.read(Chunk_Size);
        if (chunk.isEmpty() || !Write_All(&out, chunk))
            break;
        written += chunk.size();
    }
    if (written != in.size())
    {
        // The reason is taken before cancelling, which puts its own in place.
        const QString reason = in.error() != QFile::NoError ? in.errorString() : out.errorString();
        out.cancelWriting();
        return QString("cannot copy \"%1\" to \"%2\": %3").arg(source, target, reason);
    }
    out.setPermissions(in.permissions());
    if (!out.flush() || out.error() != QFile::NoError || !out.commit())
        return QString("cannot write \"%1\": %2").arg(target, out.errorString());
    return QString();
}

// Makes the folders from `folder` down to "<folder>/<target>" one at a time.
// None of them may be a link: it could lead out of `folder`, and nothing is
// written anywhere else.
QString Make_Target_Folder(const QString& folder, const QString& target)
{
    QString path = folder;
    for (const QString& part : target.split('/', Qt::SkipEmptyParts))
    {
        path = QDir(path).filePath(part);
        const QFileInfo info(path);
        if (part == "..")
            return QString("the target \"%1\" leads out of \"%2\"").arg(target, folder);
        if (info.isSymLink())
            return QString("the folder \"%1\" is a symbolic link; nothing is written through it")
                .arg(path);
        if (!info.isDir() && !QDir().mkdir(path))
            return QString("cannot make the folder \"%1\"").arg(path);
    }
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

    TOutcome Copy_File(const QString& source, const QString& line);
    TOutcome Copy_Tree(const QString& source, const QString& module, const QString& line);
    bool Inside(const QString& path, const QString& installation);
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
    if (!QFileInfo::exists(d_folder) && !QDir().mkpath(d_folder))
        return Fail(QString("cannot make the folder \"%1\"").arg(d_folder));
    const TOutcome outcome = file.Type == TTypes::Library_Qml_Module
                                 ? Copy_Tree(file.Source, file.Name, line)
                                 : Copy_File(file.Source, line);
    if (outcome == Failed)
        return false;
    (outcome == Copied ? d_result.Copied : d_result.Up_To_Date).append(line);
    return true;
}

// Copies `source` to "<folder>/<line>". A link in the way, at the file or at
// a folder above it below d_folder, is not written through: it may lead
// anywhere.
TCollector::TOutcome TCollector::Copy_File(const QString& source, const QString& line)
{
    if (Has_Control_Character(line))
    {
        Fail(QString("the name \"%1\" holds a line feed or another control character; nothing "
                     "of that name is made")
                 .arg(Shown_Value(line)));
        return Failed;
    }
    const QString folder_error = Make_Target_Folder(d_folder, line.section('/', 0, -2));
    if (!folder_error.isEmpty())
    {
        Fail(folder_error);
        return Failed;
    }
    const QString target = QDir(d_folder).filePath(line);
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

// The Qt installation a QML module folder belongs to: the folder above its
// QML import folder, which holds the module as `module`.
QString Qt_Installation_Of(const QString& source, const QString& module)
{
    QString import_folder = QDir::cleanPath(source);
    for (int depth = QDir::cleanPath(module).count('/'); depth >= 0; --depth)
        import_folder = QFileInfo(import_folder).path();
    return QFileInfo(QFileInfo(import_folder).path()).canonicalFilePath();
}

// Whether the file or folder `path`, its links followed, is in the folder
// `installation`.
bool TCollector::Inside(const QString& path, const QString& installation)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    if (!real.isEmpty() && !installation.isEmpty() &&
        (real == installation || real.startsWith(installation + "/")))
        return true;
    Fail(QString("\"%1\" is reached through a symbolic link that leads outside the Qt "
                 "installation \"%2\"; it is not copied")
             .arg(path, installation));
    return false;
}

// Copied when any file of the tree was. A link in the module may lead
// anywhere; only what it leads to inside the Qt installation is copied.
TCollector::TOutcome TCollector::Copy_Tree(const QString& source, const QString& module,
                                           const QString& line)
{
    if (!QFileInfo(source).isDir())
    {
        Fail(QString("the QML module folder \"%1\" does not exist").arg(source));
        return Failed;
    }
    const QString installation = Qt_Installation_Of(source, module);
    if (!Inside(source, installation))
        return Failed;
    TOutcome outcome = Up_To_Date;
    const QDir source_folder(source);
    QDirIterator files(source, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString file = files.next();
        if (QFileInfo(file).isSymLink() && !Inside(file, installation))
            return Failed;
        const TOutcome copied = Copy_File(file, line + "/" + source_folder.relativeFilePath(file));
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
