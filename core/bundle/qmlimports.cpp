#include "bundle/qmlimports.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>

namespace
{
const int Scanner_Wait_Ms = 120000;

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

bool Is_Below_Another(const QString& folder, const QStringList& folders)
{
    return std::any_of(folders.begin(), folders.end(), [&](const QString& other) {
        return folder.startsWith(other + "/");
    });
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
    QStringList folders;
    for (const QJsonValue& value : document.array())
    {
        const QString folder = Module_Folder(value.toObject(), root);
        if (!folder.isEmpty() && !folders.contains(folder))
            folders.append(folder);
    }
    folders.sort();
    TQmlImports imports;
    imports.Ok = true;
    for (const QString& folder : folders)
        if (!Is_Below_Another(folder, folders))
            imports.Module_Folders.append(folder);
    return imports;
}

TQmlImports Scan_Qml_Imports(const QString& scanner, const QString& sources,
                             const QString& import_folder)
{
    if (!QFileInfo(sources).isDir())
        return Failed(QString("the QML sources folder \"%1\" does not exist").arg(sources));
    QProcess process;
    process.start(scanner, {"-rootPath", sources, "-importPath", import_folder});
    if (!process.waitForStarted())
        return Failed(QString("the QML import scanner \"%1\" cannot run: %2")
                          .arg(scanner, process.errorString()));
    if (!process.waitForFinished(Scanner_Wait_Ms))
    {
        process.kill();
        process.waitForFinished();
        return Failed(QString("the QML import scanner \"%1\" did not finish").arg(scanner));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return Failed(QString("the QML import scanner \"%1\" failed: %2")
                          .arg(scanner, QString::fromLocal8Bit(process.readAllStandardError())
                                            .trimmed()));
    return Read_Qml_Imports(process.readAllStandardOutput(), import_folder);
}
