#include "package/installprobe.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>

#include "process/programrun.h"

namespace
{
// The trial prefix and install root: paths no project names by itself.
const QString Probe_Prefix = "/kv-probe-prefix/program";
const QString Probe_Root = "/kv-probe-root";
const int Wait_Ms = 120000;
// What a trial install prints is a line per file; more is not kept.
const qint64 Max_Output = 16 * 1024 * 1024;

struct TRunResult
{
    bool Ok = false;
    QString Output;
};

// The build tools run in a process group of their own, with bounded output,
// and are stopped with everything they started when they take too long.
TRunResult Run_In(const QString& folder, const QString& program, const QStringList& arguments,
                  const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment())
{
    TProgramCall call;
    call.Program = program;
    call.Arguments = arguments;
    call.Folder = folder;
    call.Environment = environment;
    call.Wait_Ms = Wait_Ms;
    call.Merge_Errors = true;
    call.Max_Output = Max_Output;
    const TProgramRun run = Run_Program(call);
    const bool ok = run.Outcome == TProgramRun::Succeeded;
    const QString command = (QStringList{program} + arguments).join(' ');
    const QString said = run.Outcome == TProgramRun::Failed
                             ? run.Output.trimmed().right(600)
                             : Run_Problem(run.Outcome, call.Max_Output);
    return {ok, ok ? run.Output : command + " failed: " + said};
}

// Below the prefix, the path relative to it; else the path as it is.
TInstalledFile Placed(const QString& path, const QString& prefix)
{
    if (path.startsWith(prefix + "/"))
        return {path.mid(prefix.size() + 1), QString(), false, QString()};
    return {path, QString(), true, QString()};
}

void Read_Entry_Icons(TInstallProbe* probe)
{
    for (const TInstalledFile& file : probe->Files)
    {
        if (file.Outside || !file.Path.startsWith("share/applications/") ||
            !file.Path.endsWith(".desktop"))
            continue;
        QFile entry(file.Source);
        if (entry.open(QIODevice::ReadOnly))
            probe->Entry_Icons.insert(
                file.Path, Desktop_Entry_Value(QString::fromUtf8(entry.readAll()), "Icon"));
    }
}

QString Build_Folder_Of(const QString& program)
{
    QDir folder = QFileInfo(program).absoluteDir();
    do
    {
        if (folder.exists("CMakeCache.txt"))
            return folder.path();
    } while (folder.cdUp());
    return QString();
}

QString Cached_Prefix(const QString& build)
{
    QFile cache(build + "/CMakeCache.txt");
    if (!cache.open(QIODevice::ReadOnly))
        return QString();
    static const QRegularExpression prefix("^CMAKE_INSTALL_PREFIX:[A-Z]+=(.*)$",
                                           QRegularExpression::MultilineOption);
    return prefix.match(QString::fromUtf8(cache.readAll())).captured(1).trimmed();
}

// "cmake --install" records what it installed in the build folder; the
// record the user had, or none, is put back.
class TKeptManifest
{
public:
    explicit TKeptManifest(const QString& build) : d_file(build + "/install_manifest.txt")
    {
        QFile file(d_file);
        d_existed = file.open(QIODevice::ReadOnly);
        if (d_existed)
            d_contents = file.readAll();
    }
    ~TKeptManifest()
    {
        QFile file(d_file);
        if (!d_existed)
            file.remove();
        else if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(d_contents);
    }

private:
    QString d_file;
    bool d_existed;
    QByteArray d_contents;
};

TInstallProbe Probe_CMake(const TProbeRequest& request)
{
    TInstallProbe probe;
    probe.CMake = true;
    const QString build = Build_Folder_Of(request.Program);
    QTemporaryDir root;
    if (build.isEmpty() || !root.isValid())
    {
        probe.Why_Not = build.isEmpty() ? "no CMake build folder holds \"" + request.Program + "\""
                                        : "no temporary folder could be made";
        return probe;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DESTDIR", root.path());
    TRunResult install;
    {
        const TKeptManifest manifest(build);
        install =
            Run_In(build, "cmake", {"--install", build, "--prefix", Probe_Prefix}, environment);
    }
    if (!install.Ok)
    {
        probe.Why_Not = install.Output;
        return probe;
    }
    // Folders worked out when the build was configured name its own prefix.
    const QString configured = Cached_Prefix(build);
    QDirIterator files(root.path(), QDir::Files | QDir::Hidden | QDir::System,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString file = files.next();
        const QString path = file.mid(root.path().size());
        TInstalledFile placed = Placed(path, Probe_Prefix);
        if (placed.Outside && configured.size() > 1 && path.startsWith(configured + "/"))
            placed = Placed(path, configured);
        placed.Source = file;
        probe.Files.push_back(placed);
    }
    std::sort(probe.Files.begin(), probe.Files.end(),
              [](const TInstalledFile& a, const TInstalledFile& b) { return a.Path < b.Path; });
    Read_Entry_Icons(&probe);
    probe.Learned = true;
    probe.How = "from a trial install of the build folder \"" + build + "\"";
    return probe;
}

// The install rule of each folder in qmake's Makefiles: "install_<rule>:"
// blocks that make the folder below $(INSTALL_ROOT).
QMap<QString, QString> Rule_Folders(const QString& build)
{
    QMap<QString, QString> rules;
    static const QRegularExpression head("^install_([^ :]+):");
    static const QRegularExpression folder("test -d \\$\\(INSTALL_ROOT\\)(\\S+) ");
    QDirIterator makefiles(build, {"Makefile"}, QDir::Files, QDirIterator::Subdirectories);
    while (makefiles.hasNext())
    {
        QFile makefile(makefiles.next());
        if (!makefile.open(QIODevice::ReadOnly))
            continue;
        QString rule;
        for (const QString& line : QString::fromLocal8Bit(makefile.readAll()).split('\n'))
        {
            const QRegularExpressionMatch started = head.match(line);
            if (started.hasMatch())
                rule = started.captured(1);
            else if (!line.startsWith('\t'))
                rule.clear();
            const QRegularExpressionMatch made = folder.match(line);
            if (!rule.isEmpty() && made.hasMatch())
                rules.insert(QDir::cleanPath(made.captured(1)), rule);
        }
    }
    return rules;
}

TInstallProbe Probe_QMake_Once(const TProbeRequest& request, const QString& project,
                               const QStringList& assignments)
{
    TInstallProbe probe;
    QTemporaryDir build;
    if (!build.isValid())
    {
        probe.Why_Not = "no temporary folder could be made";
        return probe;
    }
    QStringList arguments = {"-r", "PREFIX=" + Probe_Prefix};
    for (const QString& assignment : assignments)
        arguments.append(assignment.section('=', 0, 0) + "=" + Probe_Prefix + "/" +
                         assignment.section('=', 1));
    const TRunResult qmake = Run_In(build.path(), request.QMake, arguments << project);
    const TRunResult make = qmake.Ok ? Run_In(build.path(), "make",
                                              {"-n", "-w", "install", "INSTALL_ROOT=" + Probe_Root})
                                     : qmake;
    if (!make.Ok)
    {
        probe.Why_Not = make.Output;
        return probe;
    }
    probe.Files = Dry_Run_Files(make.Output, Probe_Root, Probe_Prefix, build.path());
    const QMap<QString, QString> rules = Rule_Folders(build.path());
    for (TInstalledFile& file : probe.Files)
    {
        const QString folder = file.Outside ? QFileInfo(file.Path).path()
                                            : QFileInfo(Probe_Prefix + "/" + file.Path).path();
        file.Rule = rules.value(folder);
    }
    Read_Entry_Icons(&probe);
    probe.Learned = true;
    probe.How =
        "from the install rules of \"" + project + "\", read by qmake in a temporary folder";
    return probe;
}

// Every rule that installs outside the prefix, given a folder below it.
QStringList Relocations(const TInstallProbe& probe)
{
    QStringList assignments;
    for (const TInstalledFile& file : probe.Files)
    {
        const QString assignment =
            file.Rule + ".path=" + Relocated_Folder(QFileInfo(file.Path).path(), file.Rule);
        if (file.Outside && !file.Rule.isEmpty() && !assignments.contains(assignment))
            assignments.append(assignment);
    }
    return assignments;
}

TInstallProbe Probe_QMake(const TProbeRequest& request)
{
    const QString project = Project_File(request.Source);
    if (project.isEmpty())
    {
        TInstallProbe probe;
        probe.Why_Not = request.Source.isEmpty() ? QString("no source folder was given")
                                                 : "no .pro file in \"" + request.Source + "\"";
        return probe;
    }
    const TInstallProbe first = Probe_QMake_Once(request, project, {});
    const QStringList assignments = Relocations(first);
    if (!first.Learned || assignments.isEmpty())
        return first;
    TInstallProbe moved = Probe_QMake_Once(request, project, assignments);
    if (!moved.Learned)
        return first;
    // An assignment the project overrides changed nothing and is dropped.
    for (const QString& assignment : assignments)
    {
        const QString rule = assignment.section(".path=", 0, 0);
        const bool followed = std::none_of(moved.Files.begin(), moved.Files.end(),
                                           [&rule](const TInstalledFile& file)
                                           { return file.Outside && file.Rule == rule; });
        if (followed)
            moved.QMake_Assignments.append(assignment);
    }
    return moved;
}
}

QString Project_File(const QString& source)
{
    if (source.isEmpty())
        return QString();
    const QDir folder(source);
    const QStringList projects = folder.entryList({"*.pro"}, QDir::Files, QDir::Name);
    if (projects.isEmpty())
        return QString();
    const QString named = QFileInfo(folder.absolutePath()).fileName() + ".pro";
    const QString chosen =
        projects.size() == 1 || !projects.contains(named) ? projects.first() : named;
    return folder.absoluteFilePath(chosen);
}

std::vector<TInstalledFile> Dry_Run_Files(const QString& output, const QString& root,
                                          const QString& prefix, const QString& top)
{
    std::vector<TInstalledFile> files;
    static const QRegularExpression entering("Entering directory [`'](.*)'$");
    QString folder = top;
    for (const QString& line : output.split('\n'))
    {
        const QRegularExpressionMatch entered = entering.match(line);
        if (entered.hasMatch())
            folder = entered.captured(1);
        const QStringList words = line.simplified().split(' ');
        if (!line.contains(" -install qinstall ") || words.size() < 2 ||
            !words.last().startsWith(root + "/"))
            continue;
        const QString destination = words.last().mid(root.size());
        const QString source = QDir(folder).absoluteFilePath(words[words.size() - 2]);
        if (!QFileInfo(source).isDir())
        {
            TInstalledFile file = Placed(destination, prefix);
            file.Source = source;
            files.push_back(file);
            continue;
        }
        QStringList sources;
        QDirIterator below(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (below.hasNext())
            sources.append(below.next());
        sources.sort();
        for (const QString& from : sources)
        {
            TInstalledFile file = Placed(destination + from.mid(source.size()), prefix);
            file.Source = from;
            files.push_back(file);
        }
    }
    return files;
}

TInstallProbe Probe_Install_Layout(const TProbeRequest& request)
{
    return request.CMake ? Probe_CMake(request) : Probe_QMake(request);
}
