#ifndef OPTIONSFILE_H
#define OPTIONSFILE_H

#include <QString>

#include "datafiles/qtbuild.h"
#include "types.h"

class TXmlFile;

// The build options kept in "options.xml".
struct TBuildOptions
{
    TTypes::TOptionMakeGenerator Generator = TTypes::Generator_QMake;
    TTypes::TOptionRequies Requires = TTypes::Requires_Auto_Update;
    TQtBuild Qt;
};

// "options.xml" in the per-user data folder: the root "Options", version 1,
// with the elements "Make_Generator" and "Requires_Option" holding the
// enumerators' names, and, when anything of the Qt to build against is
// known, the element "Qt_Installation" holding "Major" (5, 6 or 0 for
// unknown) and "Prefix". Readers
// that do not know "Qt_Installation" pass it by; without it the Qt is
// unknown. Every failure is thrown as TXmlFileException.
namespace TOptionsFile
{
// Opens folder/options.xml into `xml`; any version but 1 is refused.
void Open(TXmlFile* xml, const QString& folder);
TBuildOptions Read_V1(const TXmlFile& xml);
void Write(const QString& folder, const TBuildOptions& options);

// Stored names; a name that is not recognised, letter case included, gives
// the first enumerator.
QString Generator_Text(TTypes::TOptionMakeGenerator generator);
QString Requires_Text(TTypes::TOptionRequies requires);
TTypes::TOptionMakeGenerator Generator_From_Text(const QString& text);
TTypes::TOptionRequies Requires_From_Text(const QString& text);
}

#endif
