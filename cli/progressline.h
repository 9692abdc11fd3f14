#ifndef PROGRESSLINE_H
#define PROGRESSLINE_H

#include <QMutex>
#include <QTextStream>

// The scan's progress on standard error, rewritten in place, only when
// standard error is a terminal: a pipe or a log file gets no progress.
class TScanProgressLine
{
public:
    explicit TScanProgressLine(QTextStream& err);

    // Safe to call from the scan's worker threads.
    void Show(int done, int total);
    // Ends the line, if any was shown.
    void Finish();

private:
    QTextStream& d_err;
    const bool d_terminal;
    bool d_shown = false;
    QMutex d_mutex;
};

#endif
