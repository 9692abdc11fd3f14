#include "loaderhost.h"

#include <QFile>

#include "elffile.h"
#include "process/programrun.h"

namespace
{
const quint16 Machine_I386 = 3;
const quint16 Machine_X86_64 = 62;

// The cache entries the loader accepts on the machines whose rules are known
// here; on others the cache is left to "ldd".
TLdCache::TKind Cache_Kind(int elf_class, quint16 machine)
{
    TLdCache::TKind kind;
    if (elf_class == 2 && machine == Machine_X86_64)
        kind = {{0x0303}, 0x0303};
    else if (elf_class == 1 && machine == Machine_I386)
        kind = {{0x0001, 0x0003}, 0x0003};
    return kind;
}

enum TSection
{
    Other_Section,
    Search_Path_Section,
    Hwcaps_Section,
    Legacy_Section
};

TSection Section_Of(const QString& line, TSection current)
{
    if (!line.startsWith(' '))
    {
        if (line.startsWith("Shared library search path"))
            return Search_Path_Section;
        if (line.startsWith("Subdirectories of glibc-hwcaps"))
            return Hwcaps_Section;
        if (line.startsWith("Legacy HWCAP subdirectories"))
            return Legacy_Section;
        return Other_Section;
    }
    return current;
}

void Examine_Loader(TLoaderHost* host)
{
    const TOpenedObject self = Open_Elf_Object("/proc/self/exe");
    if (self.Outcome != TOpenedObject::Opened || self.Object.Interpreter.isEmpty())
    {
        host->Error = "the program interpreter of this program is unknown";
        return;
    }
    host->Interpreter = self.Object.Interpreter;
    const TOpenedObject loader = Open_Elf_Object(host->Interpreter);
    if (loader.Outcome != TOpenedObject::Opened || !loader.Object.Is_Read())
    {
        host->Error = "the program interpreter could not be read";
        return;
    }
    host->Interpreter_Soname = loader.Object.Soname;
    host->Class = loader.Object.Class;
    host->Little_Endian = loader.Object.Little_Endian;
    host->Machine = loader.Object.Machine;
    host->Cache_Kind = Cache_Kind(host->Class, host->Machine);

    const TProgramRun help = Run_Program(QFile::decodeName(host->Interpreter), {"--help"}, 10000);
    if (help.Outcome == TProgramRun::Succeeded)
        Read_Loader_Help(help.Output, host);
}
}

void Read_Loader_Help(const QString& help, TLoaderHost* host)
{
    const QString system_marker = " (system search path)";
    TSection section = Other_Section;
    for (const QString& line : help.split('\n'))
    {
        section = Section_Of(line, section);
        const QString text = line.trimmed();
        if (section == Search_Path_Section && text.endsWith(system_marker))
        {
            host->Knows_Search_Folders = true;
            QString folder = text.left(text.size() - system_marker.size());
            host->System_Folders.append(
                QFile::encodeName(folder.endsWith('/') ? folder : folder + '/'));
        }
        else if ((section == Hwcaps_Section || section == Legacy_Section) && line.startsWith(' ') &&
                 !text.isEmpty())
        {
            const QByteArray name = section == Hwcaps_Section
                                        ? "glibc-hwcaps"
                                        : QFile::encodeName(text.section(' ', 0, 0));
            if (!host->Feature_Subfolders.contains(name))
                host->Feature_Subfolders.append(name);
        }
    }
}

const TLoaderHost& Loader_Host()
{
    static const TLoaderHost host = [] {
        TLoaderHost examined;
        Examine_Loader(&examined);
        return examined;
    }();
    return host;
}
