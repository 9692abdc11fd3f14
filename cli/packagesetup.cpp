#include "packagesetup.h"

#include <QFileInfo>

#include "datafiles/datafilenames.h"
#include "datafiles/xmlfileexception.h"

namespace
{
QString Absolute(const QString& path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

void Given_On_Top(const QString& given, QString* setting)
{
    if (!given.isEmpty())
        *setting = Absolute(given);
}
}

TPackageSettings Given_Package_Settings(const TCliRequest& request)
{
    return Package_Setup(request, TPackageSettings());
}

TPackageSettings Package_Setup(const TCliRequest& request, const TPackageSettings& stored)
{
    TPackageSettings setup = stored;
    Given_On_Top(request.Program, &setup.Program);
    Given_On_Top(request.Source, &setup.Source);
    Given_On_Top(request.Qml_Sources, &setup.Qml_Sources);
    Given_On_Top(request.Output_Dir, &setup.Output_Dir);
    return setup;
}

bool Read_Package_Settings(const QString& data_folder, TPackageSettings* settings,
                           QTextStream& err)
{
    try
    {
        *settings = TPackageSettingsFile::Read(data_folder);
        return true;
    }
    catch (const TXmlFileException& failure)
    {
        err << "kestrelvantory-cli: cannot read \""
            << Data_File_Names::Path(data_folder, Data_File_Names::Package_Settings)
            << "\": " << failure.Message << "\n";
        return false;
    }
}

void Remember_Package_Settings(const QString& data_folder, const TPackageSettings& settings,
                               QTextStream& err)
{
    try
    {
        TPackageSettingsFile::Write(data_folder, settings);
    }
    catch (const TXmlFileException& failure)
    {
        err << "kestrelvantory-cli: the setup of this run could not be kept in \""
            << Data_File_Names::Path(data_folder, Data_File_Names::Package_Settings)
            << "\": " << failure.Message << "\n";
    }
}
