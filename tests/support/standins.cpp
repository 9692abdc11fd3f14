#include "standins.h"

#include <QFile>

#include "testsupport.h"

namespace Test
{
namespace
{
const QFile::Permissions Everyone_Reads_And_Runs =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup |
    QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther;

QStringList Log_Lines(const QString& path)
{
    if (!QFile::exists(path))
        return {};
    return QString::fromUtf8(Read_File(path)).split('\n', Qt::SkipEmptyParts);
}

QString Dependency_Line(const QString& library)
{
    const QString name = library.section('/', -1);
    return QString("\t%1 => %2 (0x00007f0000000000)").arg(name, library);
}
}

QByteArray Listing(const QStringList& libraries, const QString& first_line)
{
    QStringList lines = {first_line, "\tlinux-vdso.so.1 (0x00007ffd00000000)"};
    for (const QString& library : libraries)
        lines.append(Dependency_Line(library));
    lines.append("\t/lib64/ld-linux-x86-64.so.2 (0x00007f0000001000)");
    return lines.join('\n').toUtf8() + "\n";
}

TStandIns::TStandIns() : d_old_path(qgetenv("PATH"))
{
    QFile::setPermissions(d_bin.path(), Everyone_Reads_And_Runs);
    QFile::setPermissions(d_log.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                            QFile::ReadOther | QFile::WriteOther |
                                            QFile::ExeOther);
    qputenv("PATH", d_bin.path().toLocal8Bit());
    Write_Script("ldd",
                 QString("echo \"$1\" >> '%1/ldd.log'\n").arg(d_log.path()) +
                     "case \"$(head -n 1 \"$1\")\" in\n"
                     "'#listing') tail -n +2 \"$1\" ;;\n"
                     "'#slow') sleep 3; tail -n +2 \"$1\" ;;\n" +
                     QString("'#hang') echo $$ >> '%1/hanging.log'; exec sleep 30 ;;\n")
                         .arg(d_log.path()) +
                     "*) echo \"not a dynamic executable\" >&2; exit 1 ;;\n"
                     "esac\n");
}

TStandIns::~TStandIns()
{
    qputenv("PATH", d_old_path);
}

// Like "rpm", the stand-in answers each argument after "-q --whatprovides"
// in order; a library path it does not know is owned by no package, and any
// other capability is provided by none.
void TStandIns::Set_Providers(const std::map<QString, QString>& providers)
{
    QString script =
        QString("echo run >> '%1/rpm-runs.log'\nshift 2\nstatus=0\n"
                "for library in \"$@\"; do\n"
                "case \"$library\" in\n/*) echo \"$library\" >> '%1/rpm.log' ;;\nesac\n"
                "case \"$library\" in\n")
            .arg(d_log.path());
    for (const auto& [library, output] : providers)
        script += QString("'%1') %2 ;;\n")
                      .arg(library, output == "#hang" ? "exec sleep 30" : "echo '" + output + "'");
    script += "/*) echo \"file $library is not owned by any package\"; status=$((status + 1)) ;;\n"
              "*) echo \"no package provides $library\"; status=$((status + 1)) ;;\n"
              "esac\ndone\nexit $status\n";
    Write_Script("rpm", script);
}

void TStandIns::Remove(const QString& program)
{
    QFile::remove(d_bin.filePath(program));
}

QStringList TStandIns::Listed_Files() const
{
    return Log_Lines(d_log.filePath("ldd.log"));
}

QStringList TStandIns::Queries() const
{
    return Log_Lines(d_log.filePath("rpm.log"));
}

QStringList TStandIns::Hanging_Listings() const
{
    return Log_Lines(d_log.filePath("hanging.log"));
}

int TStandIns::Query_Runs() const
{
    return Log_Lines(d_log.filePath("rpm-runs.log")).size();
}

void TStandIns::Write_Script(const QString& name, const QString& body)
{
    const QString path = d_bin.filePath(name);
    Write_File(path, ("#!/bin/sh\nPATH=/usr/bin:/bin\n" + body).toUtf8());
    QFile::setPermissions(path, Everyone_Reads_And_Runs);
}
}
