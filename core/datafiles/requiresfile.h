#ifndef REQUIRESFILE_H
#define REQUIRESFILE_H

#include "scan/requireentry.h"

class TXmlFile;

// "requires.xml": the Requires panel's list kept between runs. Under the root
// "Requires", one "Package" per entry holding its "Name" and a "Libraries"
// element with one "Name" per library.
namespace Requires_File
{
extern const char* const File_Name;
extern const char* const Identification;
const int Version = 1;

// Opens folder/requires.xml into `file`; any version but 1 is refused.
void Open(TXmlFile* file, const QString& folder);

// Reads the entries of an opened version-1 file, unchanged and in file order.
// Throws TXmlFileException when a package lacks its name or libraries, or a
// name has no text.
TRequireEntries Read_V1(const TXmlFile& file);

// Builds the document of `entries` in `file`, replacing what it held.
void Build(TXmlFile* file, const TRequireEntries& entries);
}

#endif
