#include "installroot.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

namespace Test
{
namespace
{
// Runs `program` to its end; the empty string when it succeeded, otherwise
// the command and what it printed. Its standard output goes to `output`.
QString Run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment, QString* output = nullptr)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    const bool finished = process.waitForFinished(300000);
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    if (output)
        *output = out;
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return QString();
    return program + " " + arguments.join(' ') + (finished ? " failed\n" : " did not finish\n") +
           out.right(3000) + QString::fromLocal8Bit(process.readAllStandardError()).right(3000);
}
}

QStringList Rpm_Root_Options(const QString& root)
{
    return {"--root", root, "--dbpath", "/var/lib/rpm"};
}

QString Make_Install_Root(const QString& root)
{
    for (const QString& folder : {root + "/bin", root + "/usr/bin"})
        if (!QDir().mkpath(folder))
            return "cannot make the folder " + folder;
    const QString busybox = QStandardPaths::findExecutable("busybox");
    if (!QFile::copy(busybox, root + "/bin/busybox"))
        return "cannot copy " + busybox + " into " + root;
    const QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    QString applets;
    const QString listed = Run(busybox, {"--list"}, environment, &applets);
    if (!listed.isEmpty())
        return listed;
    for (const QString& applet : applets.split('\n', Qt::SkipEmptyParts))
        if (applet != "busybox" && !QFile::link("busybox", root + "/bin/" + applet))
            return "cannot link " + root + "/bin/" + applet;
    return Run("rpm", Rpm_Root_Options(root) << "--initdb", environment);
}

QStringList Loaded_Paths(const QString& file, const QProcessEnvironment& environment)
{
    QString listing;
    const QString failed = Run("ldd", {file}, environment, &listing);
    if (!failed.isEmpty())
        return {"ldd failed: " + failed};
    QStringList paths;
    static const QRegularExpression path("(?:=> |^\\s*)(/\\S+) \\(0x");
    for (const QString& line : listing.split('\n'))
    {
        const QRegularExpressionMatch match = path.match(line);
        if (match.hasMatch())
            paths.append(match.captured(1));
        else if (line.contains("not found"))
            paths.append("not found: " + line.trimmed());
    }
    return paths;
}

bool Is_Qt_Library(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.startsWith("libQt5") || name.startsWith("libQt6") || path.contains("libQt");
}

QString Copy_System_Libraries(const QString& root, const QStringList& files)
{
    for (const QString& file : files)
        for (const QString& path : Loaded_Paths(file))
        {
            if (!path.startsWith('/'))
                return file + ": " + path;
            const QString copy = root + path;
            if (Is_Qt_Library(path) || QFileInfo::exists(copy))
                continue;
            if (!QDir().mkpath(QFileInfo(copy).path()) ||
                !QFile::copy(QFileInfo(path).canonicalFilePath(), copy))
                return "cannot copy " + path + " into " + root;
        }
    return QString();
}
}
