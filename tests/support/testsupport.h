#ifndef TESTSUPPORT_H
#define TESTSUPPORT_H

#include <QByteArray>
#include <QList>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>

#include "filedialog.h"

namespace Test
{
QByteArray Read_File(const QString& path);
void Write_File(const QString& path, const QByteArray& bytes);

// The menu entry and icon "package" needs for the sample program "qtdemo",
// in `top`/desktop_menu.
void Make_Desktop_Files(const QString& top);

// How one run of a program ended: its exit status (-1 when it did not end
// normally within five minutes) and what it printed.
struct TRun
{
    int Exit = -1;
    QString Out;
    QString Err;
};

// Runs `program` to its end, with nothing on its standard input, in `folder`
// when one is given.
TRun Run(const QString& program, const QStringList& arguments,
         const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment(),
         const QString& folder = QString());

// What the command-line tool wrote on standard error after its warnings
// (the lines "kestrelvantory-cli: warning: ...").
QString Without_Warnings(const QString& errors);

// How many times longer the larger of two pieces of work takes than the
// smaller, in processor time of this process, each the fastest of a few runs
// taken in turn, so that a loaded machine does not count. For telling linear
// work from quadratic within one run.
double Time_Ratio(const std::function<void()>& smaller, const std::function<void()>& larger);

// Points HOME (and the XDG folders below it) at a new empty folder for as long
// as it lives, so one test program can start the editor "for the first time"
// more than once.
class TFreshHome
{
public:
    TFreshHome();
    ~TFreshHome();

    QString Path() const;
    QString Data_Folder() const;  // HOME/.kestrelvantory

private:
    QTemporaryDir d_folder;
    QByteArray d_old_home;
    QByteArray d_old_config;
};

// Runs as the unprivileged user "nobody" while it lives, when the tests run as
// root; root would otherwise pass every permission check.
class TUnprivileged
{
public:
    TUnprivileged();
    ~TUnprivileged();

private:
    bool d_dropped = false;
};

// Limits the size of every file this process writes while it lives, so that a
// write fails part-way as on a full disk.
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(long bytes);
    ~TFileSizeLimit();

private:
    long d_old_soft;
};

// Answers the editor's file and folder dialogs in order and records what they
// asked. An exhausted list answers as a cancelled dialog.
class TDialogAnswers
{
public:
    explicit TDialogAnswers(const QStringList& answers);
    ~TDialogAnswers();

    QList<TFileDialogRequest> Requests;

private:
    QStringList d_answers;
};
}

// Runs a checking helper and ends the test function when it failed.
#define CHECK(call)                                                                           \
    do                                                                                       \
    {                                                                                        \
        call;                                                                                \
        if (QTest::currentTestFailed())                                                      \
            return;                                                                          \
    } while (false)

#endif
