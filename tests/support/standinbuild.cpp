#include "standinbuild.h"

#include <QDir>
#include <QFile>

#include "datafiles/optionsfile.h"
#include "datafiles/variabledata.h"
#include "testsupport.h"

namespace Test
{
TStandInBuild::TStandInBuild() : d_old_path(qgetenv("PATH"))
{
    for (const QString& folder : {Data(), Top() + "/SOURCES", Top() + "/desktop_menu",
                                  Top() + "/shared_libs/lib", d_folder.path() + "/bin"})
        QDir().mkpath(folder);
    TVariableData variables = TVariablesFile::Factory_Data();
    for (TSpecVariable& variable : variables.Variables)
    {
        if (variable.Name == "%define _topdir")
            variable.Value = Top();
        else if (variable.Name == "%define name")
            variable.Value = "qtdemo";
    }
    TVariablesFile::Write(Data(), variables);
    TBuildOptions options;
    options.Generator = TTypes::Generator_CMake;
    options.Requires = TTypes::Requires_Ignored;
    TOptionsFile::Write(Data(), options);
    Write_File(Top() + "/SOURCES/qtdemo-1.0.tar.gz", "not looked into before rpmbuild");
    Write_File(Top() + "/shared_libs/lib/" + Library(), "a library");
    Write_File(Top() + "/desktop_menu/qtdemo.desktop", "[Desktop Entry]\n");
    Write_File(Top() + "/desktop_menu/qtdemo.png", "an icon");
    const QString rpmbuild = d_folder.path() + "/bin/rpmbuild";
    Write_File(rpmbuild, QString("#!/bin/sh\necho 'Executing(%prep): /bin/sh -e stand-in'\n"
                                 "[ -e '%1/hold' ] && exec sleep 3145\n"
                                 "echo 'error: the stand-in builds nothing' >&2\nexit 1\n")
                             .arg(d_folder.path())
                             .toUtf8());
    QFile::setPermissions(rpmbuild, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(d_folder.path() + "/bin") + ":" + d_old_path);
}

TStandInBuild::~TStandInBuild()
{
    qputenv("PATH", d_old_path);
}

void TStandInBuild::Hold(bool held)
{
    const QString hold = d_folder.path() + "/hold";
    if (held)
        Write_File(hold, "");
    else
        QFile::remove(hold);
}
}
