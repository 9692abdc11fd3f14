#ifndef DATAFILENAMES_H
#define DATAFILENAMES_H

#include <QString>

// The names of the files in the data folder: one per panel, the Variables
// panel's backup, the window's settings and the last packaging setup.
namespace Data_File_Names
{
constexpr const char* Variables = "variables.xml";
constexpr const char* Variables_Backup = "alternate_variables.xml";
constexpr const char* Expressions = "expressions.xml";
constexpr const char* Libraries = "libraries.xml";
constexpr const char* Requires = "requires.xml";
constexpr const char* Changes = "changes.xml";
constexpr const char* Options = "options.xml";
constexpr const char* Settings = "settings.ini";
constexpr const char* Package_Settings = "package.xml";

// Every name above.
constexpr const char* All[] = {Variables, Variables_Backup, Expressions, Libraries,
                               Requires,  Changes,          Options,     Settings,
                               Package_Settings};

// The path of the file `name` in `folder`.
inline QString Path(const QString& folder, const char* name)
{
    return folder + "/" + name;
}
}

#endif
