// libFuzzer target: any bytes as every one of the editor's defaults files,
// read through the XML data file as the command-line tool reads its data
// folder.

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "state/editorstate.h"

namespace
{
// A data folder whose six files are links to one input file.
class TDataFolder
{
public:
    TDataFolder()
    {
        for (const char* name : {"variables.xml", "expressions.xml", "options.xml",
                                 "libraries.xml", "requires.xml", "changes.xml"})
            if (!QFile::link(Input(), d_folder.filePath(name)))
                std::abort();
    }

    QString Path() const { return d_folder.path(); }
    QString Input() const { return d_folder.filePath("input"); }

private:
    QTemporaryDir d_folder;
};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TDataFolder folder;
    QFile input(folder.Input());
    if (!input.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || input.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size))
               != static_cast<qint64>(size))
        std::abort();
    input.close();

    std::vector<TDefaultsProblem> problems;
    Load_Editor_State(folder.Path(), &problems);
    return 0;
}
