#include "process/groupprocess.h"

#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

TGroupProcess::TGroupProcess(bool new_session) : d_new_session(new_session)
{
    connect(this, &QProcess::started, this, [this] {
        d_group = processId();
        // Also from this side, in case the child has not got that far yet;
        // not for a session, which a group leader could no longer start.
        if (!d_new_session)
            ::setpgid(pid_t(d_group), pid_t(d_group));
    });
}

TGroupProcess::~TGroupProcess()
{
    Stop_Group();
}

// Runs in the child between fork and exec. The program also ends when
// this tool is killed outright, which leaves no time to stop the group.
void TGroupProcess::setupChildProcess()
{
    if (d_new_session)
        ::setsid();
    else
        ::setpgid(0, 0);
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
}

void TGroupProcess::Signal_Group(int signal_number)
{
    // Without a group yet, the program alone.
    if (::kill(-pid_t(d_group), signal_number) != 0 && state() != NotRunning)
        ::kill(pid_t(d_group), signal_number);
}

void TGroupProcess::Stop_Group(int grace_ms)
{
    if (d_group == 0)
        d_group = processId();
    if (d_group <= 0)
        return;
    if (grace_ms > 0 && state() != NotRunning)
    {
        Signal_Group(SIGTERM);
        waitForFinished(grace_ms);
    }
    Signal_Group(SIGKILL);
    if (state() != NotRunning)
        waitForFinished(-1);
}
