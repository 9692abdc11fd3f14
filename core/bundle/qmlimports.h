#ifndef QMLIMPORTS_H
#define QMLIMPORTS_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>

// The QML modules a program's QML sources import, as module folders relative
// to the Qt installation's QML import folder, such as "QtQuick/Controls.2".
struct TQmlImports
{
    bool Ok = false;
    QString Error;  // why the modules are unknown, in plain words
    QStringList Module_Folders;
};

// Reads the JSON output of the installation's import scanner. Each module
// listed with a folder that exists inside `import_folder` is taken once, in
// name order; a folder below another one taken is left out, since the
// folders are installed with everything below them. Modules without a
// folder (not installed) and the program's own folders are left out.
TQmlImports Read_Qml_Imports(const QByteArray& json, const QString& import_folder);

// Runs the import scanner `scanner` on the QML sources below `sources`,
// looking the modules up in `import_folder`, and reads its output. The
// scanner, and all it started, is stopped once `stop` is set, when it runs too
// long or when it prints too much.
TQmlImports Scan_Qml_Imports(const QString& scanner, const QString& sources,
                             const QString& import_folder,
                             const std::atomic<bool>* stop = nullptr);

#endif
