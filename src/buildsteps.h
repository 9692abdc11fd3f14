#ifndef BUILDSTEPS_H
#define BUILDSTEPS_H

#include <QString>

// The steps of a build as the Build Package window tells them: its own
// check, the run's preparations, rpmbuild's stages as its log announces
// them, and the checks of the package made.
namespace Build_Steps
{
enum TStep
{
    Preflight = 1,
    Tarball,
    Bundle,
    Spec,
    Prep,
    Build,
    Install,
    Files,
    Checks
};
const int Count = Checks;

// The window's step for a step of the packaging run (1 to 5).
int From_Run_Step(int run_step);

// The step a line of rpmbuild's log begins; `current` when it begins none.
int From_Log_Line(const QString& line, int current);

QString Name(int step);
}

#endif
