#include "bundle/bundledetection.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringList>
#include <QVersionNumber>

#include <algorithm>

#include "bundle/pluginchoice.h"
#include "elf/elffile.h"

#include "bundle/baselibraries.h"
#include "bundle/bundleclosure.h"
#include "bundle/programfile.h"
#include "bundle/qmlimports.h"
#include "bundle/qtinstallation.h"
#include "libraries/pluginfamilies.h"
#include "text/valuelimits.h"

namespace
{
bool Loads_Qt(const std::vector<TLoadedLibrary>& libraries)
{
    return std::any_of(libraries.begin(), libraries.end(),
                       [](const TLoadedLibrary& library) { return Is_Qt_Library(library.Name); });
}

// A bundle is told one file a line, and installed by spec lines: `name`, the
// part of `path` that becomes a name in the bundle, must hold no line feed
// nor any other control character.
QString Name_Problem(const QString& path, const QString& name)
{
    if (Has_Control_Character(name))
        return QString("the name of \"%1\" holds a line feed or another control character, "
                       "which no spec line can install")
            .arg(Shown_Value(path));
    return QString();
}

QString Name_Problem(const QString& path)
{
    return Name_Problem(path, QFileInfo(path).fileName());
}

bool Is_Readable_Folder(const QString& path)
{
    const QFileInfo info(path);
    return info.isReadable() && info.isExecutable();
}

// The newest "<name>.<version>" in `folder`, such as "libssl.so.3" for
// "libssl.so"; empty when there is none.
QString Newest_Version(const QString& folder, const QString& name)
{
    QString newest;
    QVersionNumber newest_version;
    for (const QString& file : QDir(folder).entryList({name + ".*"}, QDir::Files))
    {
        int end = 0;
        const QString suffix = file.mid(name.size() + 1);
        const QVersionNumber version = QVersionNumber::fromString(suffix, &end);
        if (end == suffix.size() && !version.isNull() && version > newest_version)
        {
            newest = QDir(folder).filePath(file);
            newest_version = version;
        }
    }
    return newest;
}

bool Is_Elf_File(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(4) == "\x7f" "ELF";
}

QString First_Existing(const QStringList& candidates)
{
    const auto found = std::find_if(candidates.begin(), candidates.end(),
                                    [](const QString& path) { return QFileInfo::exists(path); });
    return found == candidates.end() ? QString() : *found;
}

// The name the loader looks for: the library's soname, else the name it was
// needed under.
QString Soname_Of(const QString& real_file, const QString& needed_name)
{
    const TOpenedObject opened = Open_Elf_Object(QFile::encodeName(real_file));
    const QByteArray& soname = opened.Object.Soname;
    return soname.isEmpty() ? needed_name : QString::fromUtf8(soname);
}

// One detection: the files taken so far and the plug-in folders still to
// look into.
class TDetector
{
public:
    TDetector(const TDependencyLister& lister, const TBundleProgress& progress,
              const QString& plugins_folder, const QString& qml_sources,
              const TDetectionChoices& choices, const std::atomic<bool>* stop)
        : d_lister(lister), d_progress(progress), d_stop(stop), d_plugins_folder(plugins_folder),
          d_explicit_plugins_folder(!plugins_folder.isEmpty()), d_qml_sources(qml_sources),
          d_choices(choices), d_plugin_choice(choices)
    {
    }

    bool Run(const QString& program);
    TBundleDetection Result() const;

private:
    bool Examine(const QString& file, std::vector<TLoadedLibrary>* libraries);
    bool Take_Libraries(const QString& file, const std::vector<TLoadedLibrary>& libraries);
    bool Take_Library(const QString& file, const TLoadedLibrary& library);
    bool Take_Chosen();
    bool Take_Own_Library(const QString& path);
    bool Take_Run_Time_Libraries(const QString& file_name);
    void Take_Family(const QString& family);
    bool Take_Other_Library(const QString& file, const TLoadedLibrary& library);
    bool Find_Real_File(const QString& file, const TLoadedLibrary& library, QFileInfo* real);
    bool Take_Plugin_Folder(const QString& name);
    bool Take_Plugin(const QString& folder, const QFileInfo& plugin);
    bool Choose_Plugins_Folder();
    bool Take_Qml_Modules();
    bool Take_Qml_Module(const QString& import_folder, const QString& module);
    bool Fail(const QString& error);

    const TDependencyLister& d_lister;
    const TBundleProgress& d_progress;
    const std::atomic<bool>* const d_stop;
    QString d_plugins_folder;
    bool d_explicit_plugins_folder;
    bool d_plugins_folder_checked = false;
    const QString d_qml_sources;
    QString d_qt_core;
    QSet<QString> d_libraries_taken;
    QSet<QString> d_plugins_taken;  // "<folder>/<file>"
    QSet<QString> d_folders_detected;
    QStringList d_folders_pending;
    QSet<QString> d_folders_pending_now;
    QStringList d_library_folders;  // where the loader found libraries, in order
    const TDetectionChoices d_choices;
    const TPluginChoice d_plugin_choice;
    QStringList d_unmatched;
    TBundle d_bundle;
    QString d_error;
};

bool TDetector::Run(const QString& program)
{
    const QString problem = Program_File_Problem(program);
    if (!problem.isEmpty())
        return Fail(problem);
    if (d_explicit_plugins_folder && !Choose_Plugins_Folder())
        return false;
    std::vector<TLoadedLibrary> libraries;
    if (!Examine(program, &libraries))
        return false;
    if (!Loads_Qt(libraries))
        return Fail(
            QString("\"%1\" loads no Qt library, so there is nothing to bundle").arg(program));
    if (!Take_Libraries(program, libraries) || !Take_Chosen())
        return false;
    if (!d_qml_sources.isEmpty() && !Take_Qml_Modules())
        return false;
    while (!d_folders_pending.isEmpty())
    {
        const QString family = d_folders_pending.takeFirst();
        d_folders_pending_now.remove(family);
        if (!Take_Plugin_Folder(family))
            return false;
    }
    Sort_For_Installation(&d_bundle);
    return true;
}

TBundleDetection TDetector::Result() const
{
    if (!d_error.isEmpty())
        return {false, d_error, TBundle(), QString(), QStringList(), TQtBuild()};
    return {true, QString(), d_bundle, d_plugins_folder_checked ? d_plugins_folder : QString(),
            d_unmatched, d_qt_core.isEmpty() ? TQtBuild() : Qt_Build_Of(d_qt_core)};
}

bool TDetector::Examine(const QString& file, std::vector<TLoadedLibrary>* libraries)
{
    if ((d_progress && !d_progress(file)) || (d_stop != nullptr && *d_stop))
        return Fail("the detection was stopped");
    const TLoadedLibraries loaded = d_lister(file);
    if (!loaded.Ok)
        return Fail(QString("cannot examine \"%1\": %2").arg(file, loaded.Error));
    *libraries = loaded.Libraries;
    return true;
}

bool TDetector::Take_Libraries(const QString& file, const std::vector<TLoadedLibrary>& libraries)
{
    const QSet<QString> needed = Reached_Past_Base_System(file, libraries);
    for (const TLoadedLibrary& library : libraries)
    {
        const QString folder = QFileInfo(library.Path).absolutePath();
        if (!library.Path.isEmpty() && !d_library_folders.contains(folder))
            d_library_folders.append(folder);
    }
    for (const TLoadedLibrary& library : libraries)
    {
        if (Is_Qt_Library(library.Name) && !Take_Library(file, library))
            return false;
        if (!Is_Qt_Library(library.Name) && needed.contains(library.Name) &&
            !Take_Other_Library(file, library))
            return false;
    }
    return true;
}

// A library is taken as the real file behind the name the loader found, and
// brings the plug-in folders suggested for it.
bool TDetector::Take_Library(const QString& file, const TLoadedLibrary& library)
{
    QFileInfo real;
    if (!Find_Real_File(file, library, &real))
        return false;
    if (d_qt_core.isEmpty() && Is_Qt_Core_Library(library.Name))
        d_qt_core = real.filePath();
    if (d_libraries_taken.contains(real.filePath()))
        return true;
    const QString name_problem = Name_Problem(real.filePath());
    if (!name_problem.isEmpty())
        return Fail(name_problem);
    d_libraries_taken.insert(real.filePath());
    d_bundle.Files.push_back({"lib", real.fileName(), real.filePath(), TTypes::Library_Dylib});
    for (const QString& folder : Plugin_Folders_For(real.fileName()))
    {
        if (!d_folders_detected.contains(folder))
        {
            d_folders_detected.insert(folder);
            Take_Family(folder);
        }
    }
    return Take_Run_Time_Libraries(real.fileName());
}

// The user's own libraries and plug-in families, once the program's Qt
// installation is known. Entries that name nothing are noted and left out.
bool TDetector::Take_Chosen()
{
    for (const QString& path : d_choices.With_Libraries)
    {
        if (!QFileInfo(path).isFile())
            d_unmatched.append(path);
        else if (!Take_Own_Library(path))
            return false;
    }
    if (d_choices.With_Plugins.isEmpty() && d_choices.Without_Plugins.isEmpty())
        return true;
    if (!Choose_Plugins_Folder())
        return false;
    d_unmatched += d_plugin_choice.Unmatched(d_plugins_folder);
    for (const QString& family : d_plugin_choice.Wanted_Families())
        Take_Family(family);
    return true;
}

// A library is kept under the name it was found by, which is the name it is
// opened by; its closure is taken as for any other file of the bundle.
bool TDetector::Take_Own_Library(const QString& path)
{
    const QString real = QFileInfo(path).canonicalFilePath();
    if (d_libraries_taken.contains(real))
        return true;
    const QString name_problem = Name_Problem(path);
    if (!name_problem.isEmpty())
        return Fail(name_problem);
    d_libraries_taken.insert(real);
    d_bundle.Files.push_back({"lib", QFileInfo(path).fileName(), real, TTypes::Library_Dylib});
    std::vector<TLoadedLibrary> libraries;
    return Examine(path, &libraries) && Take_Libraries(path, libraries);
}

bool TDetector::Take_Run_Time_Libraries(const QString& file_name)
{
    for (const QString& name : Run_Time_Libraries(file_name))
    {
        for (const QString& folder : d_library_folders)
        {
            const QString found = Newest_Version(folder, name);
            if (found.isEmpty())
                continue;
            if (!Take_Own_Library(found))
                return false;
            break;
        }
    }
    return true;
}

// A family is looked into again when a Qt library takes it after the
// user's list did, so that its other plug-ins are added then.
void TDetector::Take_Family(const QString& family)
{
    if (!d_folders_pending_now.contains(family))
    {
        d_folders_pending_now.insert(family);
        d_folders_pending.append(family);
    }
}

// Any other library the base system lacks is bundled under the name the
// loader looks for, as the spec makes links for Qt's names only.
bool TDetector::Take_Other_Library(const QString& file, const TLoadedLibrary& library)
{
    if (Is_Base_Library(library.Name))
        return true;
    QFileInfo real;
    if (!Find_Real_File(file, library, &real))
        return false;
    const QString soname = Soname_Of(real.filePath(), library.Name);
    if (d_libraries_taken.contains(real.filePath()) || Is_Base_Library(soname))
        return true;
    const QString name_problem = Name_Problem(real.filePath(), soname);
    if (!name_problem.isEmpty())
        return Fail(name_problem);
    d_libraries_taken.insert(real.filePath());
    d_bundle.Files.push_back({"lib", soname, real.filePath(), TTypes::Library_Dylib});
    return true;
}

bool TDetector::Find_Real_File(const QString& file, const TLoadedLibrary& library,
                               QFileInfo* real)
{
    if (library.Path.isEmpty())
        return Fail(
            QString("\"%1\" needs %2, which the loader does not find").arg(file, library.Name));
    *real = QFileInfo(QFileInfo(library.Path).canonicalFilePath());
    if (!real->isFile())
        return Fail(QString("%1, needed by \"%2\", is listed as \"%3\", which is not a file")
                        .arg(library.Name, file, library.Path));
    return true;
}

// A kind of plug-in that is not installed is left out.
bool TDetector::Take_Plugin_Folder(const QString& name)
{
    if (!Choose_Plugins_Folder())
        return false;
    const QString path = QDir(d_plugins_folder).filePath(name);
    if (!QFileInfo(path).isDir())
        return true;
    const QString name_problem = Name_Problem(path, name);
    if (!name_problem.isEmpty())
        return Fail(name_problem);
    if (!Is_Readable_Folder(path))
        return Fail(QString("the plug-in folder \"%1\" cannot be read").arg(path));
    const bool detected = d_folders_detected.contains(name);
    for (const QFileInfo& plugin : QDir(path).entryInfoList(QDir::Files, QDir::Name))
    {
        if (Is_Plugin_File(plugin.fileName()) &&
            d_plugin_choice.Takes(name, plugin.fileName(), detected) && !Take_Plugin(name, plugin))
            return false;
    }
    return true;
}

// A family looked into for the user's list alone is looked into again once a
// Qt library takes it: its other plug-ins are added then.
bool TDetector::Take_Plugin(const QString& folder, const QFileInfo& plugin)
{
    const QString taken = folder + "/" + plugin.fileName();
    if (d_plugins_taken.contains(taken))
        return true;
    const QString name_problem = Name_Problem(plugin.filePath());
    if (!name_problem.isEmpty())
        return Fail(name_problem);
    d_plugins_taken.insert(taken);
    d_bundle.Files.push_back(
        {folder, plugin.fileName(), plugin.canonicalFilePath(), TTypes::Library_Plugin});
    std::vector<TLoadedLibrary> libraries;
    return Examine(plugin.filePath(), &libraries) &&
           Take_Libraries(plugin.filePath(), libraries) &&
           Take_Run_Time_Libraries(plugin.fileName());
}

// The modules are looked up in the QML folder of the Qt installation the
// program loads, with that installation's own scanner.
bool TDetector::Take_Qml_Modules()
{
    if (d_qt_core.isEmpty())
        return Fail("the program loads no Qt Core library, so its Qt installation and QML "
                    "modules are unknown");
    const QString import_folder = First_Existing(Qml_Folder_Candidates(d_qt_core));
    if (import_folder.isEmpty())
        return Fail(QString("the Qt installation of \"%1\" has no QML folder (neither \"%2\" "
                            "nor \"%3\")")
                        .arg(d_qt_core, Qml_Folder_Candidates(d_qt_core).join("\", \"")));
    const QString scanner = First_Existing(Qml_Scanner_Candidates(d_qt_core));
    if (scanner.isEmpty())
        return Fail(QString("the Qt installation of \"%1\" has no QML import scanner "
                            "(qmlimportscanner); install its QML development tools")
                        .arg(d_qt_core));
    const TQmlImports imports = Scan_Qml_Imports(scanner, d_qml_sources, import_folder, d_stop);
    if (!imports.Ok)
        return Fail(imports.Error);
    for (const QString& module : imports.Module_Folders)
        if (!Take_Qml_Module(import_folder, module))
            return false;
    return true;
}

// Every ELF file of the module, at any depth, is a plug-in whose libraries
// come along.
bool TDetector::Take_Qml_Module(const QString& import_folder, const QString& module)
{
    const QString folder = QDir(import_folder).filePath(module);
    const QString name_problem = Name_Problem(folder, module);
    if (!name_problem.isEmpty())
        return Fail(name_problem);
    d_bundle.Files.push_back({"qml", module, folder, TTypes::Library_Qml_Module});
    const QDir module_folder(folder);
    QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext())
    {
        const QString file = files.next();
        const QString file_problem = Name_Problem(file, module_folder.relativeFilePath(file));
        if (!file_problem.isEmpty())
            return Fail(file_problem);
        std::vector<TLoadedLibrary> libraries;
        if (Is_Elf_File(file) && !(Examine(file, &libraries) && Take_Libraries(file, libraries)))
            return false;
    }
    return true;
}

bool TDetector::Choose_Plugins_Folder()
{
    if (d_plugins_folder_checked)
        return true;
    d_plugins_folder_checked = true;
    if (!d_explicit_plugins_folder)
    {
        if (d_qt_core.isEmpty())
            return Fail("the program loads no Qt Core library, so its Qt installation and "
                        "plug-in folder are unknown");
        const QStringList candidates = Plugins_Folder_Candidates(d_qt_core);
        const auto found =
            std::find_if(candidates.begin(), candidates.end(),
                         [](const QString& path) { return QFileInfo(path).isDir(); });
        if (found == candidates.end())
            return Fail(
                QString("the Qt installation of \"%1\" has no plug-in folder (neither \"%2\" "
                        "nor \"%3\"); name the plug-in folder explicitly")
                    .arg(d_qt_core, candidates.value(0), candidates.value(1)));
        d_plugins_folder = *found;
    }
    if (!QFileInfo(d_plugins_folder).isDir())
        return Fail(QString("the plug-in folder \"%1\" does not exist").arg(d_plugins_folder));
    if (!Is_Readable_Folder(d_plugins_folder))
        return Fail(QString("the plug-in folder \"%1\" cannot be read").arg(d_plugins_folder));
    return true;
}

bool TDetector::Fail(const QString& error)
{
    d_error = error;
    return false;
}
}

TBundleDetection Detect_Bundle(const QString& program, const QString& plugins_folder,
                               const TDependencyLister& lister, const TBundleProgress& progress,
                               const QString& qml_sources, const TDetectionChoices& choices,
                               const std::atomic<bool>* stop)
{
    TDetector detector(lister, progress, plugins_folder, qml_sources, choices, stop);
    detector.Run(program);
    return detector.Result();
}
