#include "package/sourcetarball.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

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
}

QStringList Left_Out_Of_Tarball(const QString& source)
{
    const QDir root(source);
    QStringList left_out;
    QDirIterator folders(source, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (folders.hasNext())
    {
        const QString folder = folders.next();
        const QString relative = root.relativeFilePath(folder);
        bool inside_left_out = false;
        for (const QString& out : left_out)
            inside_left_out = inside_left_out || relative.startsWith(out + "/");
        if (inside_left_out)
            continue;
        const QDir dir(folder);
        if (dir.dirName() == ".git" || dir.exists("CMakeCache.txt") || dir.exists(".qmake.stash"))
            left_out.append(relative);
    }
    return left_out;
}

bool Make_Source_Tarball(const QString& source, const QString& tarball, const QString& top_folder,
                         const std::atomic<bool>& cancel, QString* error)
{
    if (!QDir().mkpath(QFileInfo(tarball).path()))
    {
        *error = QString("cannot make the folder \"%1\"").arg(QFileInfo(tarball).path());
        return false;
    }
    // tar writes beside the tarball, which is replaced only once it is whole.
    const QString partial = tarball + ".part";
    // Names are taken literally: no wildcard in a folder name widens what is left out.
    QStringList arguments = {"-C", source, "-czf", partial, "--no-wildcards", "--anchored"};
    for (const QString& folder : Left_Out_Of_Tarball(source))
        arguments.append("--exclude=./" + folder);
    // "./x" becomes "<top_folder>/x"; link targets stay as they are.
    arguments += {"--transform", "s,^\\.," + Sed_Replacement(top_folder) + ",S", "."};
    TProgramCall call;
    call.Program = "tar";
    call.Arguments = arguments;
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
