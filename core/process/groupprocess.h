#ifndef GROUPPROCESS_H
#define GROUPPROCESS_H

#include <QProcess>

// A QProcess whose program leads a process group of its own, so that
// stopping it stops everything it started, however deep. The group is not
// the terminal's foreground group: Ctrl+C reaches only this program, which
// then stops the group itself. Nothing of the group outlives the object.
// With `new_session` the group leads a session of its own as well, without a
// controlling terminal, so that nothing in it can stop to ask on one (for a
// passphrase, say).
class TGroupProcess : public QProcess
{
public:
    explicit TGroupProcess(bool new_session = false);
    ~TGroupProcess() override;

    // Asks the whole group to end (SIGTERM), waits up to `grace_ms` for the
    // program, then kills what is left of the group (SIGKILL), children of
    // an ended program included, and waits for the program.
    void Stop_Group(int grace_ms = 0);

protected:
    void setupChildProcess() override;

private:
    void Signal_Group(int signal_number);

    const bool d_new_session;
    qint64 d_group = 0;
};

#endif
