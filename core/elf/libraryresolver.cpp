#include "libraryresolver.h"

#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <unistd.h>

#include "searchpath.h"

namespace
{
const char* const Cache_File = "/etc/ld.so.cache";
const char* const Preload_File = "/etc/ld.so.preload";
// Folders and candidates one file's libraries may take to find, all of them
// together: each library's own search is bounded by the ELF reader.
const int Max_Search_Steps = 5 * Elf::Max_Searches;
// A named pipe makes "ldd" wait for a writer forever; a folder or a device is
// no library either.
const char* const Not_Regular_Reason = "it is not a regular file";

QByteArray Current_Folder()
{
    QByteArray folder(4096, '\0');
    return getcwd(folder.data(), static_cast<size_t>(folder.size())) != nullptr
               ? QByteArray(folder.constData())
               : QByteArray();
}

TLdCache Read_Cache()
{
    if (!QFileInfo::exists(Cache_File))
        return TLdCache();
    QFile file(Cache_File);
    return TLdCache::From_Bytes(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

// Libraries the loader adds by itself, which only "ldd" can name.
QString Environment_Problem()
{
    if (!qgetenv("LD_PRELOAD").isEmpty() || !qgetenv("LD_AUDIT").isEmpty())
        return "libraries are preloaded through the environment";
    if (QFileInfo(Preload_File).size() > 0)
        return "libraries are preloaded for every program";
    if (qgetenv("LD_LIBRARY_PATH").contains('$'))
        return "LD_LIBRARY_PATH holds a substitution";
    return QString();
}

QString Quoted(const QByteArray& name)
{
    return "\"" + QString::fromUtf8(name) + "\"";
}

// What the ELF reader leaves unread: nobody, "ldd" included, should load it.
bool Is_Refused(const TElfObject& object)
{
    return object.Status == TElfObject::Cut_Short || object.Status == TElfObject::Beyond_Limits;
}

QString Refusal(const QByteArray& path, const QString& reason)
{
    return QString("%1 is not examined: %2").arg(Quoted(path), reason);
}

struct TSessionObject
{
    QByteArray Path;
    QList<QByteArray> Names;  // the names it was asked for, first one first
    std::shared_ptr<const TOpenedObject> File;  // null for the program interpreter
    int Loader = -1;  // the object whose needs brought it in
};
}

class TLibraryResolver::TSession
{
public:
    explicit TSession(const TLibraryResolver& resolver) : d_resolver(resolver) {}

    TResolution Run(const QString& file);

private:
    enum TCandidate
    {
        Use,
        Skip,
        Give_Up,
        Refuse
    };

    enum TFound
    {
        Found,
        Not_Found,
        Undecided
    };

    QString Main_Problem(const TElfObject& object) const;
    TCandidate Candidate(const TOpenedObject& opened) const;
    bool Load_Needs(int index);
    bool Load(const QByteArray& name, int loader);
    bool Is_Loaded(const QByteArray& name) const;
    int Object_Of_File(const TOpenedObject& opened) const;
    TFound Search(const QByteArray& name, int loader, QByteArray* path);
    TFound Search_Path(const QByteArray& list, int owner, const QByteArray& name, QByteArray* path);
    TFound Search_Folders(const QList<QByteArray>& folders, const QByteArray& name,
                          QByteArray* path);
    TFound Try(const QByteArray& path);
    TFound Give_Up_On(const QString& reason);
    TFound Refuse_File(const QByteArray& path, const QString& reason);
    bool Step(int steps);

    const TLibraryResolver& d_resolver;
    std::vector<TSessionObject> d_objects;  // the file, the interpreter, then in load order
    std::shared_ptr<const TOpenedObject> d_candidate;  // the file Try found last
    QString d_reason;
    bool d_refused = false;
    int d_steps = 0;  // folders and candidates taken in the search so far
};

TResolution TLibraryResolver::TSession::Run(const QString& file)
{
    TResolution resolution;
    // As "ldd" does, a bare file name is taken from the current folder.
    const QByteArray path = QFile::encodeName(file.contains('/') ? file : "./" + file);
    const auto main = d_resolver.Opened(path);
    if (main->Outcome == TOpenedObject::Absent)
    {
        resolution.Outcome = TResolution::Unreadable;
        resolution.Reason = QString("\"%1\" cannot be read").arg(file);
        return resolution;
    }
    if (Is_Refused(main->Object) || main->Outcome == TOpenedObject::Not_Regular)
    {
        resolution.Outcome = TResolution::Refused;
        resolution.Reason = Refusal(path, main->Outcome == TOpenedObject::Not_Regular
                                              ? Not_Regular_Reason
                                              : main->Object.Error);
        return resolution;
    }
    resolution.Reason = d_resolver.d_environment_problem;
    if (resolution.Reason.isEmpty())
        resolution.Reason = d_resolver.d_host.Error;
    if (resolution.Reason.isEmpty())
        resolution.Reason = main->Outcome == TOpenedObject::Failed
                                ? QString("\"%1\" cannot be read").arg(file)
                                : Main_Problem(main->Object);
    if (!resolution.Reason.isEmpty())
        return resolution;

    d_objects.push_back({path, {}, main, -1});
    d_objects.push_back(
        {d_resolver.d_host.Interpreter, {d_resolver.d_host.Interpreter_Soname}, nullptr, -1});
    for (int index = 0; index < static_cast<int>(d_objects.size()); ++index)
    {
        if (!Load_Needs(index))
        {
            resolution.Outcome = d_refused ? TResolution::Refused : TResolution::Needs_Ldd;
            resolution.Reason = d_reason;
            return resolution;
        }
    }
    resolution.Outcome = TResolution::Resolved;
    for (std::size_t index = 2; index < d_objects.size(); ++index)
        resolution.Libraries.push_back({QString::fromUtf8(d_objects[index].Names.first()),
                                        QString::fromUtf8(d_objects[index].Path)});
    return resolution;
}

QString TLibraryResolver::TSession::Main_Problem(const TElfObject& object) const
{
    const TLoaderHost& host = d_resolver.d_host;
    if (object.Status == TElfObject::Not_Elf)
        return "it is not an ELF file";
    if (!object.Is_Read() || !object.Ident_Valid || !object.Version_Valid ||
        !object.Entry_Size_Valid)
        return "it is not a well-formed ELF file: " + object.Error;
    if (object.Class != host.Class || object.Little_Endian != host.Little_Endian ||
        object.Machine != host.Machine)
        return "it is made for another kind of machine";
    if (object.Type != Elf::Type_Shared && object.Type != Elf::Type_Executable)
        return "it is neither a program nor a shared library";
    if (!object.Has_Dynamic)
        return "it is not dynamically linked";
    if (!object.Interpreter.isEmpty() && object.Interpreter != host.Interpreter)
        return "it names another program interpreter";
    if (object.Has_Filters)
        return "it names filter libraries";
    return QString();
}

// As the loader checks a file it found: one made for another machine is
// passed over, any other fault ends the search with an error.
TLibraryResolver::TSession::TCandidate TLibraryResolver::TSession::Candidate(
    const TOpenedObject& opened) const
{
    const TLoaderHost& host = d_resolver.d_host;
    const TElfObject& object = opened.Object;
    if (opened.Outcome == TOpenedObject::Absent)
        return Skip;
    if (opened.Outcome == TOpenedObject::Not_Regular)
        return Refuse;
    if (opened.Outcome == TOpenedObject::Failed || object.Status == TElfObject::Not_Elf ||
        object.Status == TElfObject::Too_Short)
        return Give_Up;
    if (object.Class != host.Class)
        return Skip;
    if (object.Little_Endian != host.Little_Endian || !object.Ident_Valid || !object.Version_Valid)
        return Give_Up;
    if (object.Machine != host.Machine)
        return Skip;
    if (Is_Refused(object))
        return Refuse;
    const bool loadable =
        object.Type == Elf::Type_Shared && (object.Flags_1 & Elf::Flag_1_Pie) == 0;
    if (!loadable || !object.Entry_Size_Valid || !object.Is_Read() || !object.Has_Dynamic ||
        object.Has_Filters)
        return Give_Up;
    return Use;
}

bool TLibraryResolver::TSession::Load_Needs(int index)
{
    if (!d_objects[index].File)
        return true;
    for (const QByteArray& name : d_objects[index].File->Object.Needed)
    {
        if (!Load(name, index))
            return false;
    }
    return true;
}

bool TLibraryResolver::TSession::Load(const QByteArray& name, int loader)
{
    if (name.contains('/'))
    {
        d_reason = QString("a library is named by its path, %1").arg(Quoted(name));
        return false;
    }
    if (Is_Loaded(name))
        return true;
    QByteArray path;
    const TFound found = Search(name, loader, &path);
    if (found == Not_Found)
        d_reason = QString("the library %1 is not found").arg(Quoted(name));
    if (found != Found)
        return false;
    const int same = Object_Of_File(*d_candidate);
    if (same >= 0)
        d_objects[same].Names.append(name);
    else
        d_objects.push_back({path, {name}, d_candidate, loader});
    return true;
}

bool TLibraryResolver::TSession::Is_Loaded(const QByteArray& name) const
{
    for (const TSessionObject& object : d_objects)
    {
        if (object.Names.contains(name) || (object.File && object.File->Object.Soname == name))
            return true;
    }
    return false;
}

int TLibraryResolver::TSession::Object_Of_File(const TOpenedObject& opened) const
{
    for (std::size_t index = 0; index < d_objects.size(); ++index)
    {
        const auto& file = d_objects[index].File;
        if (file && file->Device == opened.Device && file->Inode == opened.Inode)
            return static_cast<int>(index);
    }
    return -1;
}

TLibraryResolver::TSession::TFound TLibraryResolver::TSession::Search(const QByteArray& name,
                                                                      int loader, QByteArray* path)
{
    const TElfObject& needing = d_objects[loader].File->Object;
    if (!needing.Has_Runpath)
    {
        for (int owner = loader; owner >= 0; owner = d_objects[owner].Loader)
        {
            const TElfObject& object = d_objects[owner].File->Object;
            if (!object.Has_Rpath || object.Has_Runpath)
                continue;
            const TFound found = Search_Path(object.Rpath, owner, name, path);
            if (found != Not_Found)
                return found;
        }
    }
    const TFound in_library_path = Search_Folders(d_resolver.d_library_path, name, path);
    if (in_library_path != Not_Found)
        return in_library_path;
    if (needing.Has_Runpath)
    {
        const TFound found = Search_Path(needing.Runpath, loader, name, path);
        if (found != Not_Found)
            return found;
    }
    if ((needing.Flags_1 & Elf::Flag_1_No_Default_Lib) != 0)
        return Give_Up_On("a library refuses the system folders");

    const TLdCache::TAnswer cached =
        d_resolver.d_cache.Find(name, d_resolver.d_host.Cache_Kind, path);
    if (cached == TLdCache::Undecided)
        return Give_Up_On(QString("the loader's cache must choose %1").arg(Quoted(name)));
    if (cached == TLdCache::Found)
    {
        const TFound found = Try(*path);
        if (found != Not_Found)
            return found;
    }
    if (!d_resolver.d_host.Knows_Search_Folders)
        return Give_Up_On("the loader's system folders are unknown");
    return Search_Folders(d_resolver.d_host.System_Folders, name, path);
}

TLibraryResolver::TSession::TFound TLibraryResolver::TSession::Search_Path(const QByteArray& list,
                                                                           int owner,
                                                                           const QByteArray& name,
                                                                           QByteArray* path)
{
    QList<QByteArray> folders;
    const QByteArray origin = Origin_Of(d_objects[owner].Path, d_resolver.d_current_folder);
    if (!::Search_Folders(list, ":", origin, &folders))
        return Give_Up_On("a search path holds a substitution other than $ORIGIN");
    if (!Step(folders.size()))
        return Undecided;
    return Search_Folders(folders, name, path);
}

TLibraryResolver::TSession::TFound TLibraryResolver::TSession::Search_Folders(
    const QList<QByteArray>& folders, const QByteArray& name, QByteArray* path)
{
    for (const QByteArray& folder : folders)
    {
        if (d_resolver.Has_Feature_Subfolders(folder))
            return Give_Up_On(
                QString("the folder %1 has processor-specific subfolders").arg(Quoted(folder)));
        *path = folder + name;
        const TFound found = Try(*path);
        if (found != Not_Found)
            return found;
    }
    return Not_Found;
}

TLibraryResolver::TSession::TFound TLibraryResolver::TSession::Try(const QByteArray& path)
{
    if (!Step(1))
        return Undecided;
    d_candidate = d_resolver.Opened(path);
    switch (Candidate(*d_candidate))
    {
    case Use:
        return Found;
    case Skip:
        return Not_Found;
    case Refuse:
        return Refuse_File(path, d_candidate->Outcome == TOpenedObject::Not_Regular
                                     ? Not_Regular_Reason
                                     : d_candidate->Object.Error);
    case Give_Up:
        break;
    }
    return Give_Up_On(QString("the library %1 cannot be loaded").arg(Quoted(path)));
}

// Counts `steps` more of the search; false, with the examined file refused,
// once they pass Max_Search_Steps.
bool TLibraryResolver::TSession::Step(int steps)
{
    d_steps += steps;
    if (d_steps <= Max_Search_Steps)
        return true;
    Refuse_File(d_objects.front().Path,
                QString("finding its libraries takes more than %1 searches").arg(Max_Search_Steps));
    return false;
}

TLibraryResolver::TSession::TFound TLibraryResolver::TSession::Refuse_File(const QByteArray& path,
                                                                           const QString& reason)
{
    d_refused = true;
    d_reason = Refusal(path, reason);
    return Undecided;
}

TLibraryResolver::TSession::TFound TLibraryResolver::TSession::Give_Up_On(const QString& reason)
{
    d_reason = reason;
    return Undecided;
}

TLibraryResolver::TLibraryResolver()
    : d_host(Loader_Host()),
      d_cache(Read_Cache()),
      d_environment_problem(Environment_Problem()),
      d_current_folder(Current_Folder())
{
    Search_Folders(qgetenv("LD_LIBRARY_PATH"), ":;", QByteArray(), &d_library_path);
}

TResolution TLibraryResolver::Resolve(const QString& file) const
{
    return TSession(*this).Run(file);
}

std::shared_ptr<const TOpenedObject> TLibraryResolver::Opened(const QByteArray& path) const
{
    {
        QMutexLocker lock(&d_mutex);
        const auto known = d_objects.constFind(path);
        if (known != d_objects.constEnd())
            return known.value();
    }
    auto opened = std::make_shared<const TOpenedObject>(Open_Elf_Object(path));
    QMutexLocker lock(&d_mutex);
    d_objects.insert(path, opened);
    return opened;
}

bool TLibraryResolver::Has_Feature_Subfolders(const QByteArray& folder) const
{
    {
        QMutexLocker lock(&d_mutex);
        const auto known = d_feature_folders.constFind(folder);
        if (known != d_feature_folders.constEnd())
            return known.value();
    }
    bool found = false;
    for (const QByteArray& subfolder : d_host.Feature_Subfolders)
        found = found || QFileInfo(QFile::decodeName(folder + subfolder)).isDir();
    QMutexLocker lock(&d_mutex);
    d_feature_folders.insert(folder, found);
    return found;
}
