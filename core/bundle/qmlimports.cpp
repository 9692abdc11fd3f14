#include "bundle/qmlimports.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

#include "process/programrun.h"

namespace
{
const int Scanner_Wait_Ms = 120000;
// Far beyond the imports of any program's sources.
const qint64 Scanner_Max_Output = 16 * 1024 * 1024;

TQmlImports Failed(const QString& error)
{
    TQmlImports imports;
    imports.Error = error;
    return imports;
}

// The module's folder relative to the import folder; empty when it has none
// there.
QString Module_Folder(const QJsonObject& entry, const QDir& import_folder)
{
    if (entry.value("type").toString() != "module")
        return QString();
    const QFileInfo folder(entry.value("path").toString());
    if (!folder.isAbsolute() || !folder.isDir())
        return QString();
    const QString relative = import_folder.relativeFilePath(folder.canonicalFilePath());
    if (relative.isEmpty() || relative == "." || relative.startsWith("../") || relative == "..")
        return QString();
    return relative;
}

// Looks up each folder above `folder`, not every other folder.
bool Is_Below_Another(const QString& folder, const QSet<QString>& folders)
{
    for (int slash = folder.indexOf('/'); slash > 0; slash = folder.indexOf('/', slash + 1))
    {
        if (folders.contains(folder.left(slash)))
            return true;
    }
    return false;
}
}

TQmlImports Read_Qml_Imports(const QByteArray& json, const QString& import_folder)
{
    QJsonParseError parse_error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parse_error);
    if (!document.isArray())
        return Failed(QString("the QML import scanner's output is not a list of imports: %1")
                          .arg(parse_error.error == QJsonParseError::NoError
                                   ? QString("it is no JSON array")
                                   : parse_error.errorString()));
    const QDir root(QFileInfo(import_folder).canonicalFilePath());
    QSet<QString> folders;
    for (const QJsonValue& value : document.array())
    {
        const QString folder = Module_Folder(value.toObject(), root);
        if (!folder.isEmpty())
            folders.insert(folder);
    }
    TQmlImports imports;
    imports.Ok = true;
    for (const QString& folder : folders)
        if (!Is_Below_Another(folder, folders))
            imports.Module_Folders.append(folder);
    imports.Module_Folders.sort();
    return imports;
}

TQmlImports Scan_Qml_Imports(const QString& scanner, const QString& sources,
                             const QString& import_folder, const std::atomic<bool>* stop)
{
    if (!QFileInfo(sources).isDir())
        return Failed(QString("the QML sources folder \"%1\" does not exist").arg(sources));
    TProgramCall call;
    call.Program = scanner;
    call.Arguments = QStringList{"-rootPath", sources, "-importPath", import_folder};
    call.Wait_Ms = Scanner_Wait_Ms;
    call.Stop = stop;
    call.Max_Output = Scanner_Max_Output;
    const TProgramRun run = Run_Program(call);
    if (run.Outcome == TProgramRun::Failed)
        return Failed(QString("the QML import scanner \"%1\" failed: %2")
                          .arg(scanner, run.Errors.trimmed()));
    if (run.Outcome != TProgramRun::Succeeded)
        return Failed(QString("the QML import scanner \"%1\" %2")
                          .arg(scanner, Run_Problem(run.Outcome, call.Max_Output)));
    return Read_Qml_Imports(run.Output.toUtf8(), import_folder);
}
