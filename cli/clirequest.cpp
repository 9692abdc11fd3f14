#include "clirequest.h"

namespace
{
// Options that take a value, and where the value goes.
QString* Value_Of(const QString& option, TCliRequest* request)
{
    if (option == "--data-folder")
        return &request->Data_Folder;
    if (option == "--project")
        return &request->Project;
    if (option == "--shared-libs")
        return &request->Shared_Libs;
    if (option == "--output")
        return &request->Output;
    return nullptr;
}

bool Parse_Command(const QString& word, TCliRequest* request, QString* error)
{
    if (word == "create")
        request->Command = TCliRequest::Create;
    else if (word == "requires")
        request->Command = TCliRequest::Requires;
    else
        *error = QString("unknown command \"%1\"").arg(word);
    return error->isEmpty();
}

bool Check_Complete(const TCliRequest& request, QString* error)
{
    if (request.Command == TCliRequest::Create && request.Output.isEmpty())
        *error = "create needs --output FILE";
    if (request.Command == TCliRequest::Requires && !request.Output.isEmpty())
        *error = "requires takes no --output";
    return error->isEmpty();
}
}

bool Parse_Cli_Arguments(const QStringList& arguments, TCliRequest* request, QString* error)
{
    if (arguments.contains("--help") || arguments.contains("-h"))
    {
        request->Command = TCliRequest::Show_Help;
        return true;
    }
    if (arguments.contains("--version"))
    {
        request->Command = TCliRequest::Show_Version;
        return true;
    }
    if (arguments.isEmpty())
    {
        *error = "a command is needed";
        return false;
    }
    if (!Parse_Command(arguments[0], request, error))
        return false;

    for (int index = 1; index < arguments.size(); index += 2)
    {
        const QString& option = arguments[index];
        QString* value = Value_Of(option, request);
        if (value == nullptr)
        {
            *error = QString("unknown option \"%1\"").arg(option);
            return false;
        }
        if (index + 1 >= arguments.size() || arguments[index + 1].isEmpty())
        {
            *error = QString("%1 needs a value").arg(option);
            return false;
        }
        *value = arguments[index + 1];
    }
    return Check_Complete(*request, error);
}

QString Cli_Usage()
{
    return "Usage:\n"
           "  kestrelvantory-cli create [--data-folder DIR] [--project FILE] [--shared-libs DIR]"
           " --output FILE\n"
           "  kestrelvantory-cli requires [--data-folder DIR] [--project FILE] [--shared-libs DIR]\n"
           "  kestrelvantory-cli --help | --version\n"
           "\n"
           "create    writes the spec file that the editor's Create would write.\n"
           "requires  prints the packages a fresh scan of the active targets finds, one per line.\n"
           "\n"
           "  --data-folder DIR  the editor's data folder (default: ~/.kestrelvantory); only read\n"
           "  --project FILE     a .spec_data project file, applied as the editor's Open does\n"
           "  --shared-libs DIR  the shared-libraries folder to scan (default: as stored by the\n"
           "                     editor, else the home folder)\n"
           "  --output FILE      the spec file to write\n"
           "\n"
           "Exit status: 0 on success, 1 when the spec cannot be written or the project or a\n"
           "file of the data folder cannot be read (or, for requires, when ldd or rpm could not\n"
           "run), 2 on wrong usage. An absent file of the data folder gives its factory\n"
           "contents, as in the editor.\n";
}
