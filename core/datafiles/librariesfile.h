#ifndef LIBRARIESFILE_H
#define LIBRARIESFILE_H

#include <QString>
#include <vector>

#include "libraries/libraryrecords.h"

class TXmlFile;

// "libraries.xml" in the per-user data folder: the Libraries panel's targets
// and libraries. Every failure is thrown as TXmlFileException.

// Opens "libraries.xml" in `folder` and checks its identification and version.
void Open_Libraries_File(TXmlFile* xml, const QString& folder);

// Appends the targets and libraries of an opened version 1 file. An element
// "Targets" or "Libraries" without any record reads as an empty list. The
// targets of QML modules and their module folders are kept apart, in the
// optional elements "Qml_Targets" and "Qml_Modules", which a reader that
// knows nothing of them passes over; a file without QML modules has neither.
void Read_Libraries_V1(const TXmlFile& xml, std::vector<TTargetRecord>* targets,
                       std::vector<TLibraryRecord>* libraries);

// Writes "libraries.xml" in `folder` with the records in the order given.
void Write_Libraries_File(const QString& folder, const std::vector<TTargetRecord>& targets,
                          const std::vector<TLibraryRecord>& libraries);

#endif
