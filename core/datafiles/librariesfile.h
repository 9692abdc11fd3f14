#ifndef LIBRARIESFILE_H
#define LIBRARIESFILE_H

#include <QString>
#include <vector>

#include "libraries/detectionchoices.h"
#include "libraries/libraryrecords.h"

class TXmlFile;

// "libraries.xml" in the per-user data folder: the Libraries panel's targets
// and libraries. Every failure is thrown as TXmlFileException.

// Opens "libraries.xml" in `folder` and checks its identification and version.
void Open_Libraries_File(TXmlFile* xml, const QString& folder);

// Appends the targets and libraries of an opened version 1 file. An element
// "Targets" or "Libraries" without any record reads as an empty list.
void Read_Libraries_V1(const TXmlFile& xml, std::vector<TTargetRecord>* targets,
                       std::vector<TLibraryRecord>* libraries);

// The user's detection choices of an opened file: the optional element
// "Detection_Choices", which older readers pass over. None when it is absent.
TDetectionChoices Read_Detection_Choices(const TXmlFile& xml);

// Writes "libraries.xml" in `folder` with the records in the order given, and
// the detection choices when there are any.
void Write_Libraries_File(const QString& folder, const std::vector<TTargetRecord>& targets,
                          const std::vector<TLibraryRecord>& libraries,
                          const TDetectionChoices& choices = TDetectionChoices());

#endif
