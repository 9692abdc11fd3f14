#include "progressline.h"

#include <QMutexLocker>

#include <unistd.h>

#include "scan/scanreport.h"

TScanProgressLine::TScanProgressLine(QTextStream& err)
    : d_err(err), d_terminal(isatty(STDERR_FILENO) == 1)
{
}

void TScanProgressLine::Show(int done, int total)
{
    if (!d_terminal)
        return;
    QMutexLocker lock(&d_mutex);
    d_err << "\r" << Scan_Progress_Text(done, total) << Qt::flush;
    d_shown = true;
}

void TScanProgressLine::Finish()
{
    QMutexLocker lock(&d_mutex);
    if (d_shown)
        d_err << "\n" << Qt::flush;
    d_shown = false;
}
