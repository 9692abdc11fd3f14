#ifndef LIBRARYLISTING_H
#define LIBRARYLISTING_H

#include <QString>

#include <atomic>

#include "libraryresolver.h"
#include "loadedlibraries.h"
#include "process/programrun.h"

// The libraries of one file, and whether "ldd" had to be asked.
struct TLibraryListing
{
    TLoadedLibraries Libraries;
    bool Refused = false;  // cut short or beyond the limits: the error says which file and why
    bool Ldd_Asked = false;
    TProgramRun::TOutcome Ldd_Outcome = TProgramRun::Succeeded;
};

// Lists the libraries `file` loads through `resolver`, and runs "ldd" (for at
// most `wait_ms`, less once `stop` is set) only for a file the resolver
// leaves undecided.
TLibraryListing List_Libraries(const TLibraryResolver& resolver, const QString& file, int wait_ms,
                               const std::atomic<bool>* stop);

#endif
