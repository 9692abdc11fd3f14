#include "packagequery.h"

#include "scan/packageoutput.h"

const char* const Answer_End = "kestrelvantory-answer-end";

namespace
{
// Libraries per run: far below any limit on the length of a command line.
const int Libraries_Per_Run = 200;

TPackageAnswer Answer_For(const QStringList& lines, const QString& library)
{
    if (lines.isEmpty() || lines.first().contains(library))
        return {TPackageAnswer::Unprovided, QString()};
    return {TPackageAnswer::Provided, Providing_Package(lines.join('\n'))};
}
}

QStringList Package_Query_Arguments(const QStringList& libraries)
{
    QStringList arguments = {"-q", "--whatprovides"};
    for (const QString& library : libraries)
        arguments << library << Answer_End;
    return arguments;
}

// "rpm" answers in argument order, one or more lines for each; a library
// that nothing provides is named in its own answer, or answered on standard
// error only when the file does not exist.
std::vector<TPackageAnswer> Read_Package_Answers(const QString& output,
                                                 const QStringList& libraries)
{
    std::vector<TPackageAnswer> answers;
    QStringList lines;
    for (const QString& line : output.split('\n', Qt::SkipEmptyParts))
    {
        if (!line.contains(Answer_End))
        {
            lines.append(line);
            continue;
        }
        if (answers.size() == static_cast<std::size_t>(libraries.size()))
            break;
        answers.push_back(Answer_For(lines, libraries.at(static_cast<int>(answers.size()))));
        lines.clear();
    }
    if (answers.size() != static_cast<std::size_t>(libraries.size()) || !lines.isEmpty())
        return std::vector<TPackageAnswer>(static_cast<std::size_t>(libraries.size()));
    return answers;
}

TPackageAnswers Query_Packages(const QStringList& libraries, int wait_ms,
                               const std::atomic<bool>* stop)
{
    TPackageAnswers answers;
    for (int first = 0; first < libraries.size(); first += Libraries_Per_Run)
    {
        const QStringList asked = libraries.mid(first, Libraries_Per_Run);
        const TProgramRun run = Run_Program("rpm", Package_Query_Arguments(asked), wait_ms, stop);
        const bool answered = run.Outcome == TProgramRun::Succeeded ||
                              (run.Outcome == TProgramRun::Failed && run.Exit_Code > 0);
        const std::vector<TPackageAnswer> read =
            answered ? Read_Package_Answers(run.Output, asked)
                     : std::vector<TPackageAnswer>(static_cast<std::size_t>(asked.size()));
        if (!read.empty() && read.front().Kind == TPackageAnswer::Unknown)
            answers.Failed_Runs.push_back(run.Outcome);
        for (int index = 0; index < asked.size(); ++index)
            answers.By_Library.insert(asked.at(index), read.at(static_cast<std::size_t>(index)));
    }
    return answers;
}
