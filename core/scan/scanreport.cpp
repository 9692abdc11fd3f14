#include "scan/scanreport.h"

namespace
{
void Note_Once(QStringList& programs, const QString& program)
{
    if (!programs.contains(program))
        programs.append(program);
}

QString Counted(int count, const QString& singular, const QString& plural)
{
    return QString("%1 %2").arg(count).arg(count == 1 ? singular : plural);
}

QStringList Problems(const TScanReport& report)
{
    QStringList problems;
    if (report.No_Shared_Libs_Path)
        problems.append("no shared-libraries folder is set");
    for (const QString& target : report.Missing_Targets)
        problems.append(QString("the target \"%1\" has no folder").arg(target));
    for (const QString& program : report.Not_Started)
        problems.append(QString("\"%1\" could not be started").arg(program));
    for (const QString& program : report.Timed_Out)
        problems.append(QString("\"%1\" did not finish in time").arg(program));
    if (report.Files_Not_Examined > 0)
        problems.append(Counted(report.Files_Not_Examined, "file", "files") +
                        " could not be examined");
    problems += report.Refused_Files;
    if (Database_Knows_None(report))
        problems.append(QString("the RPM database of this host knows none of the %1; requirements "
                                "need an RPM-based host or database")
                            .arg(Counted(report.Libraries_Answered, "library", "libraries")));
    return problems;
}
}

bool Database_Knows_None(const TScanReport& report)
{
    return report.Libraries_Answered > 0 &&
           report.Unprovided_Libraries.size() == report.Libraries_Answered;
}

void Note_Not_Started(TScanReport& report, const QString& program)
{
    Note_Once(report.Not_Started, program);
}

void Note_Timed_Out(TScanReport& report, const QString& program)
{
    Note_Once(report.Timed_Out, program);
}

void Note_Missing_Target(TScanReport& report, const QString& target)
{
    Note_Once(report.Missing_Targets, target);
}

QString Scan_Problems(const TScanReport& report)
{
    return Problems(report).join("; ");
}

QString Scan_Progress_Text(int done, int total)
{
    return QString("Scanning requirements: %1 of %2")
        .arg(done)
        .arg(Counted(total, "file", "files"));
}

QString Scan_Notes(const TScanReport& report)
{
    if (report.Unprovided_Libraries.isEmpty() || Database_Knows_None(report))
        return QString();
    return QString("no installed package provides %1: %2")
        .arg(Counted(report.Unprovided_Libraries.size(), "library", "libraries"),
             report.Unprovided_Libraries.join(", "));
}

QString Scan_Summary(const TScanReport& report, int packages)
{
    QString summary =
        QString("Requirements: %1 found.").arg(Counted(packages, "package", "packages"));
    const QString problems = Scan_Problems(report);
    if (!problems.isEmpty())
        summary += " Incomplete: " + problems + ".";
    const QString notes = Scan_Notes(report);
    if (!notes.isEmpty())
        summary += " " + notes.left(1).toUpper() + notes.mid(1) + ".";
    return summary;
}
