#include "package/lintreport.h"

#include <QRegularExpression>
#include <QStandardPaths>

#include "process/programrun.h"

namespace
{
// rpmlint reads every file of a large bundle.
const int Lint_Wait_Ms = 300000;

// Why the findings a bundled program always gets are no fault of its spec.
const std::map<QString, QString>& Explanations()
{
    static const std::map<QString, QString> explanations = {
        {"library-without-ldconfig-postin",
         "the bundled libraries are in the program's own folder, where ldconfig never looks; "
         "running it would change nothing"},
        {"library-without-ldconfig-postun",
         "the bundled libraries are in the program's own folder, where ldconfig never looks; "
         "running it would change nothing"},
        {"missing-hash-section",
         "the bundled libraries carry only the GNU hash section, as their distribution built "
         "them; the loader needs no other"},
        {"non-versioned-file-in-library-package",
         "the package is a program with its own libraries, not a library package; these are "
         "its command, desktop entry and icon"},
        {"shared-library-without-dependency-information",
         "a bundled library links no other library, as its distribution built it"},
        {"binary-or-shlib-defines-rpath",
         "the bundled files find their libraries through their run path, as a bundle must"},
        {"no-signature", "sign the package before publishing it"},
        {"no-packager-tag", "set the packager's name for the package"},
        {"no-group-tag", "add a \"Group:\" variable where the distribution asks for one"},
    };
    return explanations;
}

int Total(const std::map<QString, int>& counts)
{
    int total = 0;
    for (const auto& kind : counts)
        total += kind.second;
    return total;
}

void Append_Kinds(const QString& letter, const std::map<QString, int>& counts,
                  QStringList* lines)
{
    for (const auto& kind : counts)
    {
        QString line = QString("rpmlint %1: %2 (%3)").arg(letter, kind.first).arg(kind.second);
        const auto explained = Explanations().find(kind.first);
        if (explained != Explanations().end())
            line += ": " + explained->second;
        lines->append(line);
    }
}
}

TLintFindings Read_Lint_Output(const QString& output)
{
    static const QRegularExpression finding("^\\S+: ([EW]): (\\S+)");
    TLintFindings findings;
    for (const QString& line : output.split('\n'))
    {
        const QRegularExpressionMatch match = finding.match(line);
        if (!match.hasMatch())
            continue;
        auto& counts = match.captured(1) == "E" ? findings.Errors : findings.Warnings;
        ++counts[match.captured(2)];
    }
    return findings;
}

QStringList Lint_Report_Lines(const TLintFindings& findings)
{
    QStringList lines = {QString("rpmlint: %1 errors, %2 warnings")
                             .arg(Total(findings.Errors))
                             .arg(Total(findings.Warnings))};
    Append_Kinds("E", findings.Errors, &lines);
    Append_Kinds("W", findings.Warnings, &lines);
    return lines;
}

// rpmlint exits with 0 on a clean package and with 64 to 66 when it found
// errors or too much badness; any other ending is its own failure.
QStringList Lint_Package(const QString& rpm, QStringList* notes, const std::atomic<bool>* stop)
{
    if (QStandardPaths::findExecutable("rpmlint").isEmpty())
    {
        notes->append("rpmlint is not installed: the package was not linted");
        return {};
    }
    const TProgramRun run = Run_Program("rpmlint", {rpm}, Lint_Wait_Ms, stop);
    if (run.Outcome == TProgramRun::Stopped)
    {
        notes->append("rpmlint was stopped: the package was not linted");
        return {};
    }
    const bool told = run.Outcome == TProgramRun::Succeeded ||
                      (run.Outcome == TProgramRun::Failed &&
                       run.Exit_Code >= 64 && run.Exit_Code <= 66);
    if (!told)
    {
        notes->append("rpmlint did not finish its check of the package");
        return {};
    }
    return Lint_Report_Lines(Read_Lint_Output(run.Output));
}
