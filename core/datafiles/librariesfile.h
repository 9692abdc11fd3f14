#ifndef LIBRARIESFILE_H
#define LIBRARIESFILE_H

#include <QString>
#include <vector>

#include "libraries/detectionchoices.h"
#include "libraries/libraryrecords.h"

class TXmlFile;

// "libraries.xml" in the data folder: the Libraries panel's targets and
// libraries under the root "Library_Data", version 1, and the user's detection
// choices in an element "Detection_Choices" that older readers pass over.
// Every failure is thrown as TXmlFileException.
namespace TLibrariesFile
{
// Opens folder/libraries.xml into `xml`; any version but 1 is refused.
void Open(TXmlFile* xml, const QString& folder);
// Appends the targets and libraries. An element "Targets" or "Libraries"
// without any record reads as an empty list. The targets of QML modules and
// their module folders are kept apart, in the optional elements
// "Qml_Targets" and "Qml_Modules", which a reader that knows nothing of them
// passes over; a file without QML modules has neither.
void Read_V1(const TXmlFile& xml, std::vector<TTargetRecord>* targets,
             std::vector<TLibraryRecord>* libraries);
// The detection choices; none when the element is absent.
TDetectionChoices Read_Detection_Choices(const TXmlFile& xml);
// Writes the records in the order given, and the detection choices when there
// are any.
void Write(const QString& folder, const std::vector<TTargetRecord>& targets,
           const std::vector<TLibraryRecord>& libraries,
           const TDetectionChoices& choices = TDetectionChoices());
}

#endif
