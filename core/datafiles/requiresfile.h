#ifndef REQUIRESFILE_H
#define REQUIRESFILE_H

#include <QString>

#include "scan/requireentry.h"

class TXmlFile;

// "requires.xml" in the data folder: the Requires panel's list kept between
// runs. Under the root "Requires", version 1, one "Package" per entry holding
// its "Name" and a "Libraries" element with one "Name" per library. Every
// failure is thrown as TXmlFileException.
namespace TRequiresFile
{
// Opens folder/requires.xml into `xml`; any version but 1 is refused.
void Open(TXmlFile* xml, const QString& folder);
// The entries, unchanged and in file order; a package without its name or
// libraries, or a name without text, is refused.
TRequireEntries Read_V1(const TXmlFile& xml);
void Write(const QString& folder, const TRequireEntries& entries);
}

#endif
