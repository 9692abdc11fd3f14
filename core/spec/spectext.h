#ifndef SPECTEXT_H
#define SPECTEXT_H

#include <QString>
#include <QStringList>

#include <vector>

#include "types.h"
#include "datafiles/variabledata.h"
#include "datafiles/qtbuild.h"

// A folder of the installed program and the files deployed into it. A
// target of QML modules holds module folders relative to it, such as
// "QtQuick/Controls.2", each installed with everything below it.
struct TSpecTarget
{
    QString Name;
    QStringList Libraries;  // file names, in the order they are installed
    TTypes::TTargetKind Kind = TTypes::Target_Files;
};

// The seven path expressions, used as typed (normally RPM macros).
struct TSpecPaths
{
    QString Build_Path;
    QString CMake_Bin_Path;
    QString QMake_Bin_Path;
    QString Library_Path;
    QString Desktop_Menu_Path;
    QString Target_Install_Path;
    QString Target_Desktop_Menu_Path;
};

// Everything a spec file is made of.
struct TSpecInput
{
    std::vector<TSpecVariable> Variables;
    QString Description;
    TTypes::TOptionMakeGenerator Generator = TTypes::Generator_QMake;
    TQtBuild Qt;  // the Qt the build lines configure for
    TTypes::TOptionRequies Requires_Mode = TTypes::Requires_Manual_Update;
    TSpecPaths Paths;
    std::vector<TSpecTarget> Targets;  // the active targets, in order
    QStringList Required_Packages;
    QString Changes;  // the change log, lines joined by line feeds
    QString Packager;  // for the "Packager:" tag; empty: none
};

// Either the whole spec text, or why none could be made.
struct TSpecText
{
    QString Text;
    QString Error;

    bool Is_Complete() const { return Error.isEmpty(); }
};

// The folder the executable and the plug-ins look in for their libraries:
// the last target holding a versioned library. Empty when there is none.
QString Library_Directory(const std::vector<TSpecTarget>& targets);

// Composes the spec file for `input`. Fails, with an "ERR  ..." message, when
// Spec_Input_Refusal refuses the input, when a target or library name is not
// a plain file name, when the Qt prefix is not a plain path or when no target
// holds a versioned shared library to serve as the program's library
// directory.
TSpecText Compose_Spec_Text(const TSpecInput& input);

#endif
