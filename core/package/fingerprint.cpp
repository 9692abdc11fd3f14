#include "package/fingerprint.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace
{
const qint64 Chunk = 1 << 20;
}

TFingerprint::TFingerprint() : d_hash(QCryptographicHash::Sha256)
{
}

// Each field with its length first, so that no two sequences of fields
// give the same bytes.
void TFingerprint::Add_Field(const QByteArray& bytes)
{
    d_hash.addData(QByteArray::number(bytes.size()) + ':');
    d_hash.addData(bytes);
}

void TFingerprint::Add_Text(const QString& label, const QString& text)
{
    Add_Field(label.toUtf8());
    Add_Field(text.toUtf8());
}

void TFingerprint::Add_File(const QString& root, const QString& file)
{
    const QFileInfo info(QDir(root).filePath(file));
    Add_Field(QFile::encodeName(file));
    if (info.isSymLink())
    {
        Add_Field("link " + QFile::encodeName(info.symLinkTarget()));
        return;
    }
    QFile contents(info.filePath());
    if (!info.isFile() || !contents.open(QIODevice::ReadOnly))
    {
        Add_Field(info.exists() ? "unreadable" : "absent");
        return;
    }
    Add_Field((info.isExecutable() ? "executable " : "file ") + QByteArray::number(info.size()));
    while (!contents.atEnd())
        d_hash.addData(contents.read(Chunk));
}

void TFingerprint::Add_Files(const QString& root, const QStringList& files)
{
    Add_Field(QByteArray::number(files.size()) + " files");
    for (const QString& file : files)
        Add_File(root, file);
}

void TFingerprint::Add_Folder(const QString& folder)
{
    QStringList files;
    QDirIterator entries(folder, QDir::Files | QDir::System | QDir::Hidden,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
        files.append(QDir(folder).relativeFilePath(entries.next()));
    files.sort();
    Add_Files(folder, files);
}

QByteArray TFingerprint::Result() const
{
    return d_hash.result().toHex();
}
