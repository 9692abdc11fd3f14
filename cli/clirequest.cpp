#include "clirequest.h"

#include "datafiles/qtbuild.h"
#include "state/stateoverrides.h"

namespace
{
// The panel settings and the package's own options.
QString* Panel_Value_Of(const QString& option, TCliRequest* request)
{
    if (option == "--generator")
        return &request->Generator;
    if (option == "--requirements")
        return &request->Requirements;
    if (option == "--description-file")
        return &request->Description_File;
    if (option == "--changelog-file")
        return &request->Changelog_File;
    if (option == "--source")
        return &request->Source;
    if (option == "--output-dir")
        return &request->Output_Dir;
    return nullptr;
}

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
    if (option == "--set")
    {
        request->Settings.append(QString());
        return &request->Settings.last();
    }
    if (option == "--expression")
    {
        request->Expressions.append(QString());
        return &request->Expressions.last();
    }
    if (option == "--program")
        return &request->Program;
    if (option == "--plugins-folder")
        return &request->Plugins_Folder;
    if (option == "--collect-into")
        return &request->Collect_Into;
    if (option == "--qml-sources")
        return &request->Qml_Sources;
    if (option == "--qt-version")
        return &request->Qt_Version;
    if (option == "--qt-prefix")
        return &request->Qt_Prefix;
    return Panel_Value_Of(option, request);
}

bool Writes_Spec(const TCliRequest& request)
{
    return request.Command == TCliRequest::Create || request.Command == TCliRequest::Package;
}

// The commands that take the panel settings: to store them, or for one run.
bool Sets_Panels(const TCliRequest& request)
{
    return Writes_Spec(request) || request.Command == TCliRequest::Init;
}

// The options that add to the user's choices, and the list each adds to.
QStringList* Choice_List_Of(const QString& option, TCliRequest* request)
{
    TDetectionChoices& choices = request->Choices;
    if (option == "--with-plugins")
        return &choices.With_Plugins;
    if (option == "--without-plugins")
        return &choices.Without_Plugins;
    if (option == "--with-library")
        return &choices.With_Libraries;
    return nullptr;
}

// Detect and create detect only a program given; package may take the stored
// one, and init stores the choices for later runs.
bool Needs_Given_Program(const TCliRequest& request)
{
    return request.Command == TCliRequest::Detect || request.Command == TCliRequest::Create;
}

bool Check_Choices(const TCliRequest& request, QString* error)
{
    const TDetectionChoices& choices = request.Choices;
    const bool detects = request.Command == TCliRequest::Detect ||
                         request.Command == TCliRequest::Create ||
                         request.Command == TCliRequest::Package;
    if (!choices.Is_Empty() && !detects && request.Command != TCliRequest::Init)
        *error = "only detect, create, package and init take --with-plugins, --without-plugins "
                 "and --with-library";
    else if (!choices.Is_Empty() && Needs_Given_Program(request) && request.Program.isEmpty())
        *error = "--with-plugins, --without-plugins and --with-library need --program";
    for (const QString& entry : choices.With_Plugins)
    {
        if (error->isEmpty() && choices.Without_Plugins.contains(entry))
            *error = QString("\"%1\" is in both --with-plugins and --without-plugins").arg(entry);
    }
    return error->isEmpty();
}

bool Parse_Command(const QString& word, TCliRequest* request, QString* error)
{
    if (word == "create")
        request->Command = TCliRequest::Create;
    else if (word == "requires")
        request->Command = TCliRequest::Requires;
    else if (word == "detect")
        request->Command = TCliRequest::Detect;
    else if (word == "init")
        request->Command = TCliRequest::Init;
    else if (word == "package")
        request->Command = TCliRequest::Package;
    else
        *error = QString("unknown command \"%1\"").arg(word);
    return error->isEmpty();
}

// Detection options: --program for detect and create only, the others with it.
bool Check_Detection_Options(const TCliRequest& request, QString* error)
{
    const bool detect = request.Command == TCliRequest::Detect;
    const QString editor_options = request.Shared_Libs + request.Output;
    if (detect && request.Program.isEmpty())
        *error = "detect needs --program PATH";
    else if (detect && !editor_options.isEmpty())
        *error = "detect takes no --shared-libs and no --output";
    else if (request.Command == TCliRequest::Requires && !request.Program.isEmpty())
        *error = "requires takes no --program";
    else if (!detect && !request.Collect_Into.isEmpty())
        *error = "only detect takes --collect-into";
    else if (Needs_Given_Program(request) && request.Program.isEmpty() &&
             !request.Plugins_Folder.isEmpty())
        *error = "--plugins-folder needs --program";
    else if (Needs_Given_Program(request) && request.Program.isEmpty() &&
             !request.Qml_Sources.isEmpty())
        *error = "--qml-sources needs --program";
    return error->isEmpty();
}

bool Check_Qt_Options(const TCliRequest& request, QString* error)
{
    const bool given = !request.Qt_Version.isEmpty() || !request.Qt_Prefix.isEmpty();
    if (given && !Sets_Panels(request))
        *error = "only init, create and package take --qt-version and --qt-prefix";
    else if (!request.Qt_Version.isEmpty() && request.Qt_Version != "5" &&
             request.Qt_Version != "6")
        *error = QString("--qt-version must be 5 or 6, not \"%1\"").arg(request.Qt_Version);
    else if (!Is_Plain_Qt_Prefix(request.Qt_Prefix))
        *error = QString("--qt-prefix must be an absolute path of letters, digits and \"/._+-\", "
                         "not \"%1\"")
                     .arg(request.Qt_Prefix);
    return error->isEmpty();
}

// The panel settings belong to the commands that write a spec.
bool Check_Panel_Options(const TCliRequest& request, QString* error)
{
    const QString panel = request.Generator + request.Requirements + request.Description_File +
                          request.Changelog_File + request.Expressions.join("");
    if (!panel.isEmpty() && !Sets_Panels(request))
        *error = "only init, create and package take --generator, --requirements, "
                 "--description-file, --changelog-file and --expression";
    else if (!request.Generator.isEmpty() && !Generator_From_Word(request.Generator))
        *error = QString("--generator must be cmake or qmake, not \"%1\"").arg(request.Generator);
    else if (!request.Requirements.isEmpty() && !Requires_From_Word(request.Requirements))
        *error = QString("--requirements must be auto, manual or ignore, not \"%1\"")
                     .arg(request.Requirements);
    return error->isEmpty();
}

bool Check_Package_Options(const TCliRequest& request, QString* error)
{
    const bool package = request.Command == TCliRequest::Package;
    const bool stores = package || request.Command == TCliRequest::Init;
    if (!stores && !(request.Source + request.Output_Dir).isEmpty())
        *error = "only package and init take --source and --output-dir";
    else if (package && request.Data_Folder.isEmpty())
        *error = "package needs --data-folder DIR";
    else if (package && !(request.Output + request.Shared_Libs).isEmpty())
        *error = "package takes no --output and no --shared-libs: the spec goes into SPECS and "
                 "the libraries come from the Libraries Path";
    return error->isEmpty();
}

// What init cannot store.
QString Unstored_Options(const TCliRequest& request)
{
    return request.Project + request.Shared_Libs + request.Output + request.Plugins_Folder +
           request.Collect_Into;
}

bool Check_Init_Options(const TCliRequest& request, QString* error)
{
    if (request.Command != TCliRequest::Init)
        return true;
    if (request.Data_Folder.isEmpty())
        *error = "init needs --data-folder DIR";
    else if (!Unstored_Options(request).isEmpty())
        *error = "init takes no --project, --shared-libs, --output, --plugins-folder and "
                 "--collect-into";
    return error->isEmpty();
}

bool Check_Complete(const TCliRequest& request, QString* error)
{
    if (request.Command == TCliRequest::Create && request.Output.isEmpty())
        *error = "create needs --output FILE";
    if (request.Command == TCliRequest::Requires && !request.Output.isEmpty())
        *error = "requires takes no --output";
    if (request.Command == TCliRequest::Requires && !request.Settings.isEmpty())
        *error = "requires takes no --set";
    return error->isEmpty() && Check_Detection_Options(request, error) &&
           Check_Qt_Options(request, error) && Check_Panel_Options(request, error) &&
           Check_Package_Options(request, error) && Check_Init_Options(request, error) &&
           Check_Choices(request, error);
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
        QStringList* choices = Choice_List_Of(option, request);
        if (value == nullptr && choices == nullptr)
        {
            *error = QString("unknown option \"%1\"").arg(option);
            return false;
        }
        if (index + 1 >= arguments.size() || arguments[index + 1].isEmpty())
        {
            *error = QString("%1 needs a value").arg(option);
            return false;
        }
        if (value != nullptr)
            *value = arguments[index + 1];
        else if (option == "--with-library")
            choices->append(arguments[index + 1]);
        else
            *choices += Choice_List(arguments[index + 1]);
    }
    return Check_Complete(*request, error);
}

QString Cli_Usage()
{
    return "Usage:\n"
           "  kestrelvantory-cli create [--data-folder DIR] [--project FILE] [--shared-libs DIR]"
           " [--set NAME=VALUE]...\n"
           "                            [--program PATH [--qml-sources DIR] [CHOICES]]\n"
           "                            [--qt-version 5|6] [--qt-prefix DIR] [PANEL SETTINGS]\n"
           "                            --output FILE\n"
           "  kestrelvantory-cli package --data-folder DIR [--project FILE]\n"
           "                            [--program PATH [--qml-sources DIR] [CHOICES]]\n"
           "                            [--source DIR] [--set NAME=VALUE]... [PANEL SETTINGS]\n"
           "                            [--qt-version 5|6] [--qt-prefix DIR] [--output-dir DIR]\n"
           "  kestrelvantory-cli init --data-folder DIR [--program PATH] [--qml-sources DIR]\n"
           "                            [--source DIR] [--output-dir DIR] [CHOICES]\n"
           "                            [--set NAME=VALUE]... [PANEL SETTINGS]\n"
           "                            [--qt-version 5|6] [--qt-prefix DIR]\n"
           "  kestrelvantory-cli requires [--data-folder DIR] [--project FILE] [--shared-libs DIR]\n"
           "  kestrelvantory-cli detect [--data-folder DIR] [--project FILE] --program PATH\n"
           "                            [--plugins-folder DIR] [--qml-sources DIR]\n"
           "                            [--collect-into DIR] [CHOICES]\n"
           "  kestrelvantory-cli --help | --version\n"
           "\n"
           "create    writes the spec file that the editor's Create would write.\n"
           "requires  prints the packages a fresh scan of the active targets finds, one per line.\n"
           "detect    prints the Qt libraries and plug-ins a built program needs, with every\n"
           "          other library they load that the base system lacks, one\n"
           "          <target>/<file> per line in the order the spec installs them.\n"
           "package   from a built program to a checked RPM: checks everything it can first\n"
           "          and builds nothing when a problem is found; makes the source tarball\n"
           "          (--source), detects and collects the bundle (--program), writes\n"
           "          SPECS/<name>.spec, runs rpmbuild -bb (its output on standard error and in\n"
           "          <name>.build.log in %{_topdir}), then checks the package. The report\n"
           "          goes to standard output, the package's path last. Ctrl+C stops rpmbuild.\n"
           "          --program, --qml-sources, --source and --output-dir not given are the\n"
           "          ones of the last run, or of init; those given are kept in DIR/package.xml\n"
           "          for the next run. So once init has the whole setup, \"package\n"
           "          --data-folder DIR\" repeats it.\n"
           "init      writes the factory panels into a new data folder, with the panel\n"
           "          settings, --set, --expression and CHOICES given stored in them, and\n"
           "          --program, --qml-sources, --source and --output-dir in package.xml.\n"
           "\n"
           "  --data-folder DIR  the editor's data folder (default: ~/.kestrelvantory); only read,\n"
           "                     but for init and for package's package.xml\n"
           "  --project FILE     a .spec_data project file, applied as the editor's Open does\n"
           "  --shared-libs DIR  the shared-libraries folder to scan (default: as stored by the\n"
           "                     editor, else the home folder)\n"
           "  --output FILE      the spec file to write\n"
           "  --set NAME=VALUE   for this run only, VALUE for the first variable named exactly NAME,\n"
           "                     e.g. --set \"%define release=42\"; repeatable\n"
           "  --program PATH     a built program; with create, the spec installs the Qt\n"
           "                     libraries and plug-ins detected for it instead of the\n"
           "                     stored active libraries, and builds against its Qt\n"
           "  --qt-version 5|6   the Qt the spec builds against: 6 runs qmake6 (or the\n"
           "                     prefix's qmake) (default: detected with --program, else as\n"
           "                     stored by the editor)\n"
           "  --qt-prefix DIR    that Qt's installation prefix; other than /usr, the spec runs\n"
           "                     DIR/bin/qmake or passes -DCMAKE_PREFIX_PATH=DIR to cmake\n"
           "  --plugins-folder DIR  the Qt plug-in folder to take plug-ins from (default: the\n"
           "                     one of the Qt installation the program loads)\n"
           "  --qml-sources DIR  the folder of the program's QML sources: the QML modules they\n"
           "                     import are bundled too, in qml/<module folder> (default for\n"
           "                     create and package: the folder the project names, if any)\n"
           "  --collect-into DIR the shared-libraries folder to copy the detected files into,\n"
           "                     as DIR/<target>/<file>\n"
           "  --source DIR       package: the source folder; SOURCES/<name>-<version>.tar.gz is\n"
           "                     made of it as <name>-<version>/, without .git and build folders\n"
           "  --output-dir DIR   package: where rpmbuild writes the RPM (default: %{_topdir}/RPMS)\n"
           "PANEL SETTINGS, for this run only (stored, for init):\n"
           "  --generator cmake|qmake        the build system the spec runs\n"
           "  --requirements auto|manual|ignore  auto scans the libraries afresh, manual\n"
           "                     writes the stored list, ignore writes none\n"
           "  --description-file FILE        the description, the file's whole text\n"
           "  --changelog-file FILE          the change log, the file's whole text\n"
           "  --expression NAME=VALUE        VALUE for the path expression NAME, named as in\n"
           "                     expressions.xml or as labelled, e.g. --expression\n"
           "                     \"QMake_Bin_Path=%{buildroot}%{_libdir}/%{name}/bin\"; repeatable\n"
           "CHOICES, besides what detection finds, on top of those stored with the libraries\n"
           "(data folder and project):\n"
           "  --with-plugins LIST     plug-ins to bundle as well, comma-separated: a family\n"
           "                     folder (all of its plug-ins) or one file, e.g.\n"
           "                     sqldrivers,imageformats/libqwebp.so; repeatable\n"
           "  --without-plugins LIST  plug-ins to leave out, in the same form; a file entry\n"
           "                     weighs more than a family entry; repeatable\n"
           "  --with-library PATH a library the program opens itself (dlopen, QLibrary),\n"
           "                     bundled in lib with the Qt libraries it loads; repeatable\n"
           "\n"
           "Exit status: 0 on success, 1 when the spec cannot be written or the project or a\n"
           "file of the data folder cannot be read (or, for requires, when ldd or rpm could not\n"
           "run or the RPM database knows none of the libraries; for detect, when the program\n"
           "cannot be examined or a copy fails; for package, when the preflight, the build or a\n"
           "check fails; for init, when DIR is a data folder already), 2 on wrong usage (an\n"
           "unknown NAME of --set or --expression included, and a plug-in or library of\n"
           "CHOICES that names nothing in the Qt installation, which package lists with the\n"
           "preflight's problems instead). An absent file of the data folder gives its\n"
           "factory contents, as in the editor. The scan's progress is shown on standard\n"
           "error when it is a terminal.\n";
}
