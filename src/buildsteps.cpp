#include "buildsteps.h"

#include <QStringList>

namespace Build_Steps
{
int From_Run_Step(int run_step)
{
    static const int steps[] = {Tarball, Bundle, Spec, Prep, Checks};
    if (run_step < 1 || run_step > int(sizeof(steps) / sizeof(steps[0])))
        return Preflight;
    return steps[run_step - 1];
}

// rpmbuild announces each scriptlet it runs, and the file lists after them.
// A later stage never goes back to an earlier one.
int From_Log_Line(const QString& line, int current)
{
    static const struct
    {
        const char* Start;
        int Step;
    } stages[] = {
        {"Executing(%prep)", Prep},
        {"Executing(%build)", Build},
        {"Executing(%install)", Install},
        {"Processing files:", Files},
        {"Checking for unpackaged file(s)", Files},
    };
    for (const auto& stage : stages)
        if (line.startsWith(QLatin1String(stage.Start)) && stage.Step > current)
            return stage.Step;
    return current;
}

QString Name(int step)
{
    static const QStringList names = {
        "Checking before building",
        "Making the source tarball",
        "Collecting the Qt libraries and plug-ins",
        "Writing the spec file",
        "Unpacking the sources (%prep)",
        "Compiling the program (%build)",
        "Installing into the build root (%install)",
        "Packaging the files",
        "Checking the package",
    };
    return names.value(step - 1);
}
}
