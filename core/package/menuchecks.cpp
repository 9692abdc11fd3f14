#include "package/menuchecks.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "package/installlayout.h"

namespace
{
struct TMenuFiles
{
    QStringList Entries;   // below the root, beginning with "/"
    QStringList Metainfo;
    QStringList Icons;     // below the data folder: "icons/hicolor/...", "pixmaps/..."
};

TMenuFiles Menu_Files(const QString& root, const QString& program_folder)
{
    TMenuFiles files;
    static const QRegularExpression data("^(.*/share)/((icons/hicolor|pixmaps)/.*)$");
    QDirIterator entries(root, QDir::Files, QDirIterator::Subdirectories);
    while (entries.hasNext())
    {
        const QString path = entries.next().mid(root.size());
        if (path.startsWith(program_folder + "/"))
            continue;
        const QString folder = QFileInfo(path).path();
        if (folder.endsWith("/applications") && path.endsWith(".desktop"))
            files.Entries.append(path);
        else if ((folder.endsWith("/metainfo") || folder.endsWith("/appdata")) &&
                 path.endsWith(".xml"))
            files.Metainfo.append(path);
        else if (data.match(path).hasMatch())
            files.Icons.append(data.match(path).captured(2));
    }
    return files;
}

// What `program` says about `file`, merged; empty when it is content.
QString Refusal(const QString& program, const QStringList& arguments)
{
    QProcess validate;
    validate.setProcessChannelMode(QProcess::MergedChannels);
    validate.start(program, arguments);
    validate.waitForFinished(-1);
    const QString said = QString::fromLocal8Bit(validate.readAll()).trimmed();
    const bool refused = validate.exitStatus() != QProcess::NormalExit ||
                         validate.exitCode() != 0 || (program.contains("desktop") && said.contains("error:"));
    return refused ? (said.isEmpty() ? QString("(nothing said)") : said) : QString();
}

QString Command_Of(const QString& exec)
{
    QString command = exec.section(' ', 0, 0);
    if (command.startsWith('"'))
        command = exec.mid(1).section('"', 0, 0);
    return command;
}

void Check_Entry(const QString& root, const QString& entry, const TMenuFiles& files,
                 const TPackageExpectation& expected, QStringList* failures)
{
    QFile file(root + entry);
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll())
                                                        : QString();
    const QString command = Command_Of(Desktop_Entry_Value(text, "Exec"));
    const bool in_package = command.startsWith('/') && QFileInfo(root + command).isFile();
    if (!expected.Command.isEmpty() && command != expected.Command && !in_package)
        failures->append(QString("the desktop entry \"%1\" starts \"%2\", which the package does "
                                 "not put on PATH; its Exec= must start \"%3\"")
                             .arg(entry, command, expected.Command));
    const QString icon = Desktop_Entry_Value(text, "Icon");
    const bool icon_file = icon.startsWith('/') && QFileInfo(root + icon).isFile();
    if (!icon.isEmpty() && !icon_file && !Names_Installed_Icon(icon, files.Icons))
        failures->append(QString("the desktop entry \"%1\" names the icon \"%2\", which the "
                                 "package does not install; install an icon of that name "
                                 "(share/icons/hicolor/<size>/apps/%2.png or .svg), or name one "
                                 "the package installs in Icon=")
                             .arg(entry, icon));
}

void Validate_Entries(const QString& root, const TMenuFiles& files,
                      const TPackageExpectation& expected, QStringList* failures,
                      QStringList* notes)
{
    if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
    {
        notes->append("desktop-file-validate is not installed: the desktop entry was not "
                      "validated");
        return;
    }
    for (const QString& entry : files.Entries)
    {
        const QString said = Refusal("desktop-file-validate", {root + entry});
        if (said.isEmpty())
            continue;
        const QString words = QString(said).replace(root, QString());
        if (expected.Own_Entries.contains(QFileInfo(entry).fileName()))
            notes->append(QString("the program's own desktop entry \"%1\" is refused by "
                                  "desktop-file-validate: %2\nThe package was built all the "
                                  "same; fix the entry in the program's sources: %3")
                              .arg(entry, words, Entry_Advice(said)));
        else
            failures->append(QString("the desktop entry \"%1\" is not valid: %2").arg(entry, words));
    }
}

void Validate_Metainfo(const QString& root, const TMenuFiles& files, QStringList* notes)
{
    if (files.Metainfo.isEmpty())
        return;
    if (QStandardPaths::findExecutable("appstreamcli").isEmpty())
    {
        notes->append("appstreamcli is not installed: the AppStream metainfo was not validated");
        return;
    }
    for (const QString& metainfo : files.Metainfo)
    {
        const QString said = Refusal("appstreamcli", {"validate", "--no-net", root + metainfo});
        if (!said.isEmpty())
            notes->append(QString("the program's AppStream metainfo \"%1\" is refused by "
                                  "appstreamcli: %2\nThe package was built all the same; fix "
                                  "the file in the program's sources as appstreamcli says")
                              .arg(metainfo, QString(said).replace(root, QString())));
    }
}
}

QString Entry_Advice(const QString& said)
{
    static const QRegularExpression category(
        "value \"[^\"]*\" for key \"Categories\"[^\n]*unregistered value \"([^\"]+)\"");
    const QRegularExpressionMatch unregistered = category.match(said);
    if (unregistered.hasMatch())
        return QString("the category \"%1\" is not registered: name a registered one instead "
                       "(such as \"Utility\"), or one of the program's own as \"X-%1\"")
            .arg(unregistered.captured(1));
    return "change what the validator names";
}

void Check_Menu_Files(const QString& root, const TPackageExpectation& expected,
                      QStringList* failures, QStringList* notes)
{
    const TMenuFiles files = Menu_Files(root, expected.Program_Folder);
    for (const QString& entry : files.Entries)
        Check_Entry(root, entry, files, expected, failures);
    Validate_Entries(root, files, expected, failures, notes);
    Validate_Metainfo(root, files, notes);
}
