#ifndef LOGGEDBUILD_H
#define LOGGEDBUILD_H

#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>

// What became of one run of rpmbuild.
struct TBuildOutcome
{
    enum TEnd
    {
        Built,
        Failed,       // rpmbuild ended with an error
        Cancelled,    // stopped on request
        Not_Started   // rpmbuild, or its log, could not be opened
    };
    TEnd End = Not_Started;
    QString Error;         // for Failed and Not_Started, in plain words
    QStringList Written;   // the packages rpmbuild says it wrote, in order
};

// Runs "rpmbuild" with `arguments` and `environment` in a process group of
// its own, so that stopping it stops everything it started. Every line it prints, on either
// channel, goes to the log file `log` and to `line_sink` as it comes. The
// run is stopped soon after `cancel` becomes true.
class TLoggedBuild
{
public:
    using TLineSink = std::function<void(const QString& line)>;

    TLoggedBuild(const QStringList& arguments, const QString& log, TLineSink line_sink,
                 const QProcessEnvironment& environment =
                     QProcessEnvironment::systemEnvironment());
    TBuildOutcome Run(const std::atomic_bool& cancel);

private:
    void Pass_On(const QByteArray& bytes);

    const QStringList d_arguments;
    const QString d_log;
    const TLineSink d_line_sink;
    const QProcessEnvironment d_environment;
    QByteArray d_partial_line;
    QStringList d_written;
};

#endif
