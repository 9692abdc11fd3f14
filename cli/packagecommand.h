#ifndef PACKAGECOMMAND_H
#define PACKAGECOMMAND_H

#include <QTextStream>

#include <functional>

#include "package/packagerun.h"

// Runs `run` as the command line does: the preflight's problems on `err`
// (and nothing built when there is one), rpmbuild's output on `err` as it
// comes, the report on `out` with the package's path last. Ctrl+C stops the
// build and ends the run cleanly. True when the package was built and passed
// every check. `preflight_passed` is called once the preflight found no
// problem, before anything is made.
bool Run_Package_Command(TPackageRun* run, QTextStream& out, QTextStream& err,
                         const std::function<void()>& preflight_passed);

#endif
