// What the Build Package window starts from: the program Detect applied,
// with the source folder its build folder names, or the fields of the last
// build or of the project opened; kept in the data folder, where the
// command-line tool's package command finds them too.

#include "kestrelvantory.h"

#include <QFileInfo>

#include "datafiles/datafilenames.h"
#include "datafiles/xmlfileexception.h"
#include "package/sourceguess.h"

namespace
{
QString Absolute(const QString& path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}
}

void TKestrelvantory::Use_Detected_Program(const QString& program)
{
    const QString source = Guessed_Source_Folder(program);
    TPackageSettings fields = d_package;
    fields.Program = program;
    if (!source.isEmpty())
        fields.Source = source;
    Remember_Package_Fields(fields);
}

// A build's fields reach the data folder at once, for the tool.
void TKestrelvantory::Remember_Package_Fields(const TPackageSettings& fields)
{
    d_package.Program = Absolute(fields.Program);
    d_package.Source = Absolute(fields.Source);
    d_package.Repository = Absolute(fields.Repository);
    d_package.Sign_Key = fields.Sign_Key;
    QString reason;
    if (!Store_Package_Fields(&reason))
        Show_Status(QString("The Build Package fields could not be stored: %1").arg(reason));
}

// A refused file is kept aside like the panels' files.
void TKestrelvantory::Load_Package_Fields(QStringList* kept)
{
    try
    {
        d_package = TPackageSettingsFile::Read(d_data_folder);
    }
    catch (const TXmlFileException& error)
    {
        Keep_Refused_File(false, Data_File_Names::Package_Settings, error.Message, kept);
        d_package_refused = true;
    }
    d_package_stored = d_package;
}

// Only a change is stored: the data folder is left as it is otherwise.
bool TKestrelvantory::Store_Package_Fields(QString* reason)
{
    if (d_package == d_package_stored && !d_package_refused)
        return true;
    try
    {
        TPackageSettingsFile::Write(d_data_folder, d_package);
        d_package_stored = d_package;
        d_package_refused = false;
        return true;
    }
    catch (const TXmlFileException& error)
    {
        *reason = error.Message;
        return false;
    }
}
