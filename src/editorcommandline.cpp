#include "editorcommandline.h"

namespace
{
bool Is_Set(const char* variable)
{
    return !qEnvironmentVariableIsEmpty(variable);
}

// One entry of a platform list such as "wayland;xcb", with its own options
// ("xcb:option=value") left aside.
bool Platform_Reachable(const QString& entry)
{
    const QString name = entry.section(':', 0, 0).trimmed();
    if (name == "xcb")
        return Is_Set("DISPLAY");
    if (name.startsWith("wayland"))
        return Is_Set("WAYLAND_DISPLAY");
    return !name.isEmpty();
}
}

TEditorCommandLine::TEditorCommandLine()
    : d_data_folder("data-folder",
                    "Keep the panels in <folder> instead of ~/.kestrelvantory (made when missing). "
                    "The window's own settings stay in ~/.kestrelvantory/settings.ini.",
                    "folder"),
      d_platform("platform", "The Qt platform to show the window on.", "name")
{
    d_parser.setApplicationDescription(
        "Composes RPM spec files for applications that ship their own Qt libraries.\n"
        "Without a display, run it under a virtual X server: xvfb-run -a kestrelvantory");
    d_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    d_parser.addHelpOption();
    d_parser.addVersionOption();
    d_parser.addOption(d_data_folder);
    d_platform.setFlags(QCommandLineOption::HiddenFromHelp);
    d_parser.addOption(d_platform);
}

TEditorCommandLine::TRequest TEditorCommandLine::Parse(const QStringList& arguments)
{
    if (!d_parser.parse(arguments))
        d_error = d_parser.errorText();
    else if (d_parser.isSet("help") || d_parser.isSet("help-all"))
        return Show_Help;
    else if (d_parser.isSet("version"))
        return Show_Version;
    else if (!d_parser.positionalArguments().isEmpty())
        d_error = QString("Unexpected argument '%1'.").arg(d_parser.positionalArguments().first());
    else if (d_parser.isSet(d_data_folder) && Data_Folder().isEmpty())
        d_error = "The data folder must not be empty.";
    return d_error.isEmpty() ? Run_Editor : Wrong_Usage;
}

QString TEditorCommandLine::Data_Folder() const
{
    return d_parser.value(d_data_folder);
}

QString TEditorCommandLine::Platform() const
{
    return d_parser.value(d_platform);
}

bool Display_Available(const QString& platform)
{
    const QString chosen = platform.isEmpty() ? qEnvironmentVariable("QT_QPA_PLATFORM") : platform;
    if (chosen.trimmed().isEmpty())
        return Is_Set("DISPLAY") || Is_Set("WAYLAND_DISPLAY");
    for (const QString& entry : chosen.split(';'))
        if (Platform_Reachable(entry))
            return true;
    return false;
}

QString No_Display_Text(const QString& program)
{
    return QString("%1: there is no display to show the editor on (neither DISPLAY nor "
                   "WAYLAND_DISPLAY is set).\n"
                   "To run it under a virtual X server, use:  xvfb-run -a %1\n")
        .arg(program);
}
