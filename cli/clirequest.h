#ifndef CLIREQUEST_H
#define CLIREQUEST_H

#include <QString>
#include <QStringList>

#include "libraries/detectionchoices.h"

// One call of the command-line tool, as its arguments ask for it.
struct TCliRequest
{
    enum TCommand
    {
        Show_Help,
        Show_Version,
        Create,
        Requires,
        Detect,
        Init,
        Package
    };

    TCommand Command = Show_Help;
    QString Data_Folder;  // empty: ~/.kestrelvantory
    QString Project;      // empty: no project file
    QString Shared_Libs;  // empty: as stored in "settings.ini"
    QString Output;       // the spec file, for Create
    QStringList Settings; // "NAME=VALUE" for variables, for Create
    QStringList Expressions;  // "NAME=VALUE" for path expressions
    QString Program;         // the built program whose Qt bundle is detected
    QString Plugins_Folder;  // empty: the plug-in folder of the program's Qt
    QString Collect_Into;    // empty: the bundle is only listed
    QString Qml_Sources;     // the program's QML sources; empty: as the project names them
    QString Qt_Version;      // "5" or "6" for create; empty: as stored or detected
    QString Qt_Prefix;       // for create; empty: as stored or detected
    // Panel settings for this run, for create and package, or to store, for
    // init; empty: as stored.
    QString Generator;         // "cmake" or "qmake"
    QString Requirements;      // "auto", "manual" or "ignore"
    QString Description_File;  // the description, the file's whole text
    QString Changelog_File;    // the change log, the file's whole text
    QString Source;      // for package: the source folder to make the tarball of
    QString Output_Dir;  // for package: where the RPM goes; empty: %{_topdir}/RPMS
    // For package, the program, sources and output folder not given are the
    // ones stored; init stores them.
    TDetectionChoices Choices;  // the plug-ins and libraries asked for besides detection
};

// Reads the arguments (without the program name). On wrong usage returns
// false with the reason in `error`.
bool Parse_Cli_Arguments(const QStringList& arguments, TCliRequest* request, QString* error);

QString Cli_Usage();

#endif
