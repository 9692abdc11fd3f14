#include "package/buildfailure.h"

#include <QRegularExpression>

#include <functional>
#include <vector>

namespace
{
const int Quoted_Lines = 6;

// The step rpmbuild ran last before it stopped.
QString Failed_Step(const QStringList& lines)
{
    QString step;
    static const QRegularExpression executing("^Executing\\((%\\w+)\\)");
    for (const QString& line : lines)
    {
        const QRegularExpressionMatch match = executing.match(line);
        if (match.hasMatch())
            step = match.captured(1);
        else if (line.startsWith("Processing files:"))
            step = "the file list (%files)";
        else if (line.startsWith("Checking for unpackaged file(s)"))
            step = "the checks after %install";
    }
    return step;
}

bool Is_Error_Line(const QString& line)
{
    static const QRegularExpression error(
        "(\\berror\\b|\\bError\\b|No such file or directory|command not found|"
        "Could not find|Unknown module|Installed \\(but unpackaged\\)|File not found|"
        "Bad exit status|cannot find -l|undefined reference)",
        QRegularExpression::CaseInsensitiveOption);
    return error.match(line).hasMatch() && !line.startsWith("+ ") &&
           !line.trimmed().startsWith("RPM build errors:") && !line.contains("-Werror");
}

// The first error lines; "Bad exit status" only names the step, so it comes
// only when nothing else does.
QStringList Error_Lines(const QStringList& lines)
{
    QStringList quoted;
    QString bad_exit;
    for (const QString& line : lines)
    {
        if (!Is_Error_Line(line) || quoted.contains(line.trimmed()))
            continue;
        if (line.contains("Bad exit status"))
            bad_exit = bad_exit.isEmpty() ? line.trimmed() : bad_exit;
        else if (quoted.size() < Quoted_Lines)
            quoted.append(line.trimmed());
    }
    if (quoted.isEmpty() && !bad_exit.isEmpty())
        quoted.append(bad_exit);
    return quoted;
}

// The lines rpmbuild lists below a heading such as "Installed (but
// unpackaged) file(s) found:", indented.
QStringList Listed_After(const QStringList& lines, const QString& heading)
{
    QStringList listed;
    bool inside = false;
    for (const QString& line : lines)
    {
        if (line.contains(heading))
            inside = true;
        else if (inside && line.startsWith(' ') && line.trimmed().startsWith('/'))
            listed.append(line.trimmed());
        else if (inside)
            inside = false;
    }
    listed.removeDuplicates();
    return listed;
}

struct TKnownCause
{
    QRegularExpression Pattern;
    std::function<QString(const QRegularExpressionMatch&, const QStringList&)> Fix;
};

QString Missing_Program_Fix(const QRegularExpressionMatch& match, const QStringList&)
{
    return QString("the program is not where the spec expects it (\"%1\"): the spec takes it "
                   "from the QMake Bin Path or CMake Bin Path expression, which must name the "
                   "folder the project's \"make install\" puts it in. For a project that "
                   "installs into <prefix>/bin, set it with --expression "
                   "\"QMake_Bin_Path=%{buildroot}%{_libdir}/%{name}/bin\" (or "
                   "CMake_Bin_Path for CMake); the log's install lines show where it went.")
        .arg(match.captured(1));
}

QString Unpackaged_Fix(const QRegularExpressionMatch&, const QStringList& lines)
{
    const QStringList files = Listed_After(lines, "Installed (but unpackaged) file(s) found");
    return QString("the project installs files outside the program folder (%1): its install "
                   "rules name a fixed path. Make them install below the prefix the spec "
                   "passes (for qmake, set target.path = $$PREFIX/bin in the .pro file when it "
                   "is empty; for CMake, use paths relative to CMAKE_INSTALL_PREFIX), or set "
                   "the Build Root Path expression to that folder.")
        .arg(files.isEmpty() ? QString("see the log") : files.join(", "));
}

QString Missing_Tool_Fix(const QRegularExpressionMatch& match, const QStringList&)
{
    return QString("the build tool \"%1\" is not installed: install the package that "
                   "provides it.")
        .arg(match.captured(1));
}

QString Missing_Config_Fix(const QRegularExpressionMatch& match, const QStringList&)
{
    return QString("CMake found no \"%1\": install its development package (the one "
                   "holding %1Config.cmake or %2-config.cmake), or pass its folder with "
                   "-D%1_DIR.")
        .arg(match.captured(1), match.captured(1).toLower());
}

QString Unknown_Module_Fix(const QRegularExpressionMatch& match, const QStringList&)
{
    return QString("qmake does not know the Qt module(s) \"%1\": install their development "
                   "packages for the Qt the spec builds against.")
        .arg(match.captured(1).trimmed());
}

QString Missing_Header_Fix(const QRegularExpressionMatch& match, const QStringList&)
{
    return QString("the header \"%1\" is missing: install the development package that "
                   "provides it, or add it to the sources if it is the program's own.")
        .arg(match.captured(1));
}

QString Missing_Library_Fix(const QRegularExpressionMatch& match, const QStringList&)
{
    return QString("the linker finds no library \"%1\": install its development package.")
        .arg(match.captured(1));
}

QString File_Not_Found_Fix(const QRegularExpressionMatch& match, const QStringList&)
{
    return QString("the file list names \"%1\", which the install did not make: check the "
                   "path expressions against where the project installs its files.")
        .arg(match.captured(1));
}

const std::vector<TKnownCause>& Known_Causes()
{
    static const std::vector<TKnownCause> causes = {
        {QRegularExpression("patchelf: getting info about '([^']+)': No such file or directory"),
         Missing_Program_Fix},
        {QRegularExpression("Installed \\(but unpackaged\\) file\\(s\\) found"), Unpackaged_Fix},
        {QRegularExpression("(?:^|\\s|:)([\\w.+-]+): (?:command not found|not found)$"),
         Missing_Tool_Fix},
        {QRegularExpression("Could not find a package configuration file provided by "
                            "\"([^\"]+)\""),
         Missing_Config_Fix},
        {QRegularExpression("Unknown module\\(s\\) in QT:?\\s*(.+)$"), Unknown_Module_Fix},
        {QRegularExpression("fatal error: ([^:]+): No such file or directory"),
         Missing_Header_Fix},
        {QRegularExpression("cannot find -l([\\w.+-]+)"), Missing_Library_Fix},
        {QRegularExpression("File not found: (\\S+)"), File_Not_Found_Fix},
    };
    return causes;
}
}

TBuildFailure Explain_Build_Failure(const QString& log)
{
    const QStringList lines = log.split('\n');
    TBuildFailure failure;
    failure.Step = Failed_Step(lines);
    failure.Quoted = Error_Lines(lines);
    for (const TKnownCause& cause : Known_Causes())
    {
        for (const QString& line : lines)
        {
            const QRegularExpressionMatch match = cause.Pattern.match(line);
            if (!match.hasMatch() || line.startsWith("+ "))
                continue;
            failure.Fixes.append(cause.Fix(match, lines));
            break;
        }
    }
    failure.Fixes.removeDuplicates();
    return failure;
}

QStringList Build_Failure_Lines(const TBuildFailure& failure)
{
    QStringList lines;
    if (!failure.Quoted.isEmpty())
        lines.append("The log says:");
    for (const QString& quoted : failure.Quoted)
        lines.append("  " + quoted);
    for (const QString& fix : failure.Fixes)
        lines.append("What to change: " + fix);
    return lines;
}
