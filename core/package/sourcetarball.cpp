#include "package/sourcetarball.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include "process/programrun.h"

namespace
{
// What tar says is a line per problem; more is not read.
const qint64 Tar_Max_Output = 1024 * 1024;

bool Replaced(const QString& partial, const QString& tarball, QString* error)
{
    QFile::remove(tarball);
    if (QFile::rename(partial, tarball))
        return true;
    *error = QString("cannot move \"%1\" to \"%2\"").arg(partial, tarball);
    return false;
}

QString Sed_Replacement(QString text)
{
    for (const char* special : {"\\", "&", ","})
        text.replace(special, QString("\\") + special);
    return text;
}

// The names for tar's list: "./" first, so that no name reads as an option.
bool Write_File_List(QTemporaryFile* list, const QStringList& files, QString* error)
{
    QByteArray names;
    for (const QString& file : files)
        names += "./" + QFile::encodeName(file) + '\0';
    if (list->open() && list->write(names) == names.size() && list->flush())
        return true;
    *error = "cannot write the list of the tarball's files: " + list->errorString();
    return false;
}
}

bool Make_Source_Tarball(const QString& source, const QStringList& files, const QString& tarball,
                         const QString& top_folder, const std::atomic<bool>& cancel,
                         QString* error)
{
    if (!QDir().mkpath(QFileInfo(tarball).path()))
    {
        *error = QString("cannot make the folder \"%1\"").arg(QFileInfo(tarball).path());
        return false;
    }
    QTemporaryFile list;
    if (!Write_File_List(&list, files, error))
        return false;
    // tar writes beside the tarball, which is replaced only once it is whole.
    const QString partial = tarball + ".part";
    // "./x" becomes "<top_folder>/x"; link targets stay as they are. Only
    // the names listed go in, not what is below a listed folder.
    TProgramCall call;
    call.Program = "tar";
    call.Arguments = QStringList{"-C", source, "-czf", partial, "--null", "--no-recursion"};
    call.Arguments += {"-T", list.fileName()};
    call.Arguments += {"--transform", "s,^\\.," + Sed_Replacement(top_folder) + ",S"};
    call.Stop = &cancel;
    call.Merge_Errors = true;
    call.Max_Output = Tar_Max_Output;
    const TProgramRun tar = Run_Program(call);
    if (tar.Outcome == TProgramRun::Succeeded && Replaced(partial, tarball, error))
        return true;
    if (error->isEmpty())
        *error = QString("tar could not make \"%1\": %2")
                     .arg(tarball, tar.Outcome == TProgramRun::Failed
                                       ? tar.Output.trimmed()
                                       : "tar " + Run_Problem(tar.Outcome, call.Max_Output));
    QFile::remove(partial);
    return false;
}
