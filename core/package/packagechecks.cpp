#include "package/packagechecks.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "bundle/baselibraries.h"
#include "bundle/bundleclosure.h"
#include "elf/loadedlibraries.h"
#include "elf/elffile.h"
#include "process/programrun.h"
#include "scan/requirementscan.h"

namespace
{
struct TElfEntry
{
    QString Path;  // in the package, beginning with "/"
    TElfObject Object;
};

// Runs `program`; its standard output, or an empty string with `error` set.
QString Output_Of(const QString& program, const QStringList& arguments, QString* error)
{
    const TProgramRun run = Run_Program(program, arguments, TRequirementScan::Default_Wait_Ms);
    if (run.Outcome == TProgramRun::Succeeded)
        return run.Output;
    const QString command = (QStringList{program} + arguments).join(' ');
    if (run.Outcome == TProgramRun::Not_Started)
        *error = QString("\"%1\" could not be started").arg(program);
    else if (run.Outcome == TProgramRun::Timed_Out)
        *error = QString("%1 did not finish in time").arg(command);
    else
        *error = QString("%1 failed").arg(command);
    return QString();
}

// Unpacks the payload of `rpm` into `folder`.
bool Unpack(const QString& rpm, const QString& folder, QString* error)
{
    QProcess rpm2cpio;
    QProcess cpio;
    rpm2cpio.setStandardOutputProcess(&cpio);
    cpio.setWorkingDirectory(folder);
    rpm2cpio.start("rpm2cpio", {rpm});
    cpio.start("cpio", {"-idm", "--quiet", "--no-absolute-filenames"});
    const bool done = rpm2cpio.waitForFinished(-1) && cpio.waitForFinished(-1);
    if (done && rpm2cpio.exitCode() == 0 && cpio.exitCode() == 0)
        return true;
    *error = "cannot unpack the package: " + QString::fromLocal8Bit(
                                                 rpm2cpio.readAllStandardError() +
                                                 cpio.readAllStandardError())
                                                 .trimmed();
    return false;
}

std::vector<TElfEntry> Elf_Files(const QString& root, const QString& program_folder)
{
    std::vector<TElfEntry> files;
    QDirIterator entries(root + program_folder, QDir::Files | QDir::NoSymLinks | QDir::Hidden,
                         QDirIterator::Subdirectories);
    while (entries.hasNext())
    {
        const QString path = entries.next();
        const TOpenedObject opened = Open_Elf_Object(QFile::encodeName(path));
        if (opened.Outcome == TOpenedObject::Opened && opened.Object.Is_Read())
            files.push_back({path.mid(root.size()), opened.Object});
    }
    return files;
}

// The names the bundled libraries are found under: their file names and
// their sonames. A program built as position-independent is a shared
// object too, but one without a soname.
QSet<QString> Bundled_Names(const std::vector<TElfEntry>& files)
{
    QSet<QString> names;
    for (const TElfEntry& file : files)
    {
        const bool library = !file.Object.Soname.isEmpty() || file.Path.contains(".so");
        if (file.Object.Type != Elf::Type_Shared || !library)
            continue;
        names.insert(QFileInfo(file.Path).fileName());
        if (!file.Object.Soname.isEmpty())
            names.insert(QString::fromLocal8Bit(file.Object.Soname));
    }
    return names;
}

void Check_Capabilities(const QString& rpm, const QSet<QString>& bundled, QStringList* failures)
{
    for (const QString& kind : {QString("provides"), QString("requires")})
    {
        QString error;
        const QString lines = Output_Of("rpm", {"-qp", "--" + kind, rpm}, &error);
        if (!error.isEmpty())
            failures->append(error);
        for (const QString& line : lines.split('\n', Qt::SkipEmptyParts))
        {
            const QString name = line.section(QRegularExpression("[( ]"), 0, 0);
            if (bundled.contains(name))
                failures->append(QString("the package %1 \"%2\", a library it bundles")
                                     .arg(kind, line.trimmed()));
        }
    }
}

// The libraries `file` needs that the base system does not bring along: as
// in detection, what only base-system libraries need is theirs.
QSet<QString> Needed_Past_Base_System(const QString& file, const TElfObject& object)
{
    const TLoadedLibraries loaded = Loaded_Libraries(file);
    if (loaded.Ok)
        return Reached_Past_Base_System(file, loaded.Libraries);
    QSet<QString> needed;
    for (const QByteArray& name : object.Needed)
        needed.insert(QString::fromLocal8Bit(name));
    return needed;
}

void Check_Elf_Files(const QString& root, const std::vector<TElfEntry>& files,
                     const QSet<QString>& bundled, const QString& run_path, QStringList* failures)
{
    for (const TElfEntry& file : files)
    {
        const TElfObject& object = file.Object;
        const QByteArray path = object.Has_Runpath ? object.Runpath : object.Rpath;
        if (QString::fromLocal8Bit(path) != run_path)
            failures->append(QString("\"%1\" has the run path \"%2\", not \"%3\"")
                                 .arg(file.Path, QString::fromLocal8Bit(path), run_path));
        for (const QString& name : Needed_Past_Base_System(root + file.Path, object))
        {
            if (!bundled.contains(name) && !Is_Base_Library(name))
                failures->append(QString("\"%1\" needs \"%2\", which is neither bundled nor "
                                         "on the base list")
                                     .arg(file.Path, name));
        }
    }
}

void Check_Desktop_Entries(const QString& root, QStringList* failures, QStringList* notes)
{
    if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
    {
        notes->append("desktop-file-validate is not installed: the desktop entry was not "
                      "validated");
        return;
    }
    QDirIterator entries(root, {"*.desktop"}, QDir::Files, QDirIterator::Subdirectories);
    while (entries.hasNext())
    {
        const QString entry = entries.next();
        QProcess validate;
        validate.setProcessChannelMode(QProcess::MergedChannels);
        validate.start("desktop-file-validate", {entry});
        validate.waitForFinished(-1);
        const QString said = QString::fromLocal8Bit(validate.readAll()).trimmed();
        if (validate.exitCode() != 0 || said.contains("error:"))
            failures->append(QString("the desktop entry \"%1\" is not valid: %2")
                                 .arg(entry.mid(root.size()), said));
    }
}
}

QStringList Package_Check_Failures(const QString& rpm, const TPackageExpectation& expected,
                                   QStringList* notes)
{
    QStringList failures;
    QTemporaryDir unpacked;
    QString error;
    if (!unpacked.isValid() || !Unpack(rpm, unpacked.path(), &error))
        return {error.isEmpty() ? QString("cannot make a folder to unpack the package in")
                                : error};
    const std::vector<TElfEntry> files = Elf_Files(unpacked.path(), expected.Program_Folder);
    if (files.empty())
        failures.append(QString("the package holds no program in \"%1\"")
                            .arg(expected.Program_Folder));
    const QSet<QString> bundled = Bundled_Names(files);
    Check_Capabilities(rpm, bundled, &failures);
    Check_Elf_Files(unpacked.path(), files, bundled, expected.Run_Path, &failures);
    Check_Desktop_Entries(unpacked.path(), &failures, notes);
    return failures;
}
