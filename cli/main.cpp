// kestrelvantory-cli: the editor's "Create" without a window, for build
// pipelines. It reads the editor's stored panels and, if given, a project
// file, exactly as the editor would.

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

#include "clicommands.h"
#include "clirequest.h"

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QCoreApplication::setApplicationVersion("1.0");
    QTextStream out(stdout);
    QTextStream err(stderr);

    TCliRequest request;
    QString error;
    if (!Parse_Cli_Arguments(application.arguments().mid(1), &request, &error))
    {
        err << "kestrelvantory-cli: " << error << "\n\n" << Cli_Usage();
        return Cli_Usage_Error;
    }
    return Run_Cli_Request(request, out, err);
}
