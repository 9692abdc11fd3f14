#ifndef CLICOMMANDS_H
#define CLICOMMANDS_H

#include <QTextStream>

#include "clirequest.h"

// Exit statuses of the command-line tool.
enum TCliExit
{
    Cli_Success = 0,
    Cli_Failure = 1,
    Cli_Usage_Error = 2
};

// Runs the request's command, writing results to `out` and messages to `err`.
TCliExit Run_Cli_Request(const TCliRequest& request, QTextStream& out, QTextStream& err);

#endif
