#ifndef CHANGELOGFILE_H
#define CHANGELOGFILE_H

#include <QString>

class TXmlFile;

// "changes.xml" in the data folder: the change log as one "Text" element
// under "Change_Data", version 1, with every line feed stored as "<br>".
// Every failure is thrown as TXmlFileException.
namespace TChangeLogFile
{
// The line every change log starts with, and the whole log a new user has.
extern const char* const Header_Line;
QString Factory_Text();

// Opens folder/changes.xml into `xml`; any version but 1 is refused.
void Open(TXmlFile* xml, const QString& folder);
// The change log, lines joined by line feeds.
QString Read_V1(const TXmlFile& xml);
void Write(const QString& folder, const QString& text);
}

#endif
