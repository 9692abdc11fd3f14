// libFuzzer target: any bytes as the output of a Qt installation's QML import
// scanner, read against an import folder that holds a few modules. In the
// seed inputs "@QML@" stands for that folder.

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "bundle/qmlimports.h"

namespace
{
class TImportFolder
{
public:
    TImportFolder()
    {
        for (const char* module : {"QtQuick.2", "QtQuick/Controls.2/Material", "QtQuick/Layouts"})
            if (!QDir().mkpath(Path() + "/" + module))
                std::abort();
    }

    QString Path() const { return d_folder.filePath("qml"); }

private:
    QTemporaryDir d_folder;
};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const TImportFolder folder;
    static const QByteArray placeholder = "@QML@";
    QByteArray json(reinterpret_cast<const char*>(data), static_cast<int>(size));
    json.replace(placeholder, folder.Path().toUtf8());
    const TQmlImports imports = Read_Qml_Imports(json, folder.Path());
    // A module folder is always one inside the import folder.
    for (const QString& module : imports.Module_Folders)
        if (module.isEmpty() || module.startsWith('/') || module.startsWith(".."))
            __builtin_trap();
    return 0;
}
