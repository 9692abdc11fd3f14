#ifndef CHANGELOGFILE_H
#define CHANGELOGFILE_H

#include <QString>

class TXmlFile;

// "changes.xml": the change log as one "Text" element under "Change_Data",
// with every line feed stored as "<br>". All failures are thrown as
// TXmlFileException.

// The line every change log starts with, and the whole log a new user has.
extern const char* const Change_Log_Header_Line;
QString Factory_Change_Log();

// Opens folder + "/changes.xml" into `xml` and checks that it is version 1.
void Open_Change_Log_File(TXmlFile* xml, const QString& folder);

// The change log of an opened version 1 file, lines joined by line feeds.
QString Read_Change_Log_V1(const TXmlFile& xml);

// Writes `text` to folder + "/changes.xml".
void Write_Change_Log_File(const QString& folder, const QString& text);

#endif
