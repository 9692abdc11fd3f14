#include "state/datafolderinit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "datafiles/changelogfile.h"
#include "datafiles/datafilenames.h"
#include "datafiles/expressionsfile.h"
#include "datafiles/librariesfile.h"
#include "datafiles/optionsfile.h"
#include "datafiles/packagesettingsfile.h"
#include "datafiles/requiresfile.h"
#include "datafiles/variabledata.h"
#include "datafiles/xmlfileexception.h"

namespace
{
QString Existing_Data_File(const QString& folder)
{
    for (const char* name : Data_File_Names::All)
    {
        const QFileInfo file(Data_File_Names::Path(folder, name));
        if (file.exists() || file.isSymLink())
            return file.filePath();
    }
    return QString();
}

void Write_Panels(const QString& folder, const TEditorState& state,
                  const TPackageSettings& package)
{
    TVariablesFile::Write(folder, state.Variables);
    TExpressionsFile::Write(folder, state.Expressions);
    TLibrariesFile::Write(folder, state.Targets, state.Libraries, state.Detection_Choices);
    TRequiresFile::Write(folder, state.Requires);
    TChangeLogFile::Write(folder, state.Changes);
    TOptionsFile::Write(folder, state.Options);
    TPackageSettingsFile::Write(folder, package);
}
}

bool Init_Data_Folder(const QString& folder, const TEditorState& state,
                      const TPackageSettings& package, QString* error)
{
    const QString existing = Existing_Data_File(folder);
    if (!existing.isEmpty())
    {
        *error = QString("\"%1\" is a data folder already (it holds \"%2\"); nothing was written")
                     .arg(folder, QFileInfo(existing).fileName());
        return false;
    }
    if (!QDir().mkpath(folder))
    {
        *error = QString("cannot make the folder \"%1\"").arg(folder);
        return false;
    }
    try
    {
        Write_Panels(folder, state, package);
    }
    catch (const TXmlFileException& failure)
    {
        // None of the files was there before: a half-written folder would
        // refuse the next init and load as a mix of written and factory panels.
        for (const char* name : Data_File_Names::All)
            QFile::remove(Data_File_Names::Path(folder, name));
        *error = failure.Message;
        return false;
    }
    return true;
}
