#ifndef LIBRARIESFILE_H
#define LIBRARIESFILE_H

#include <QString>
#include <vector>

#include "libraries/detectionchoices.h"
#include "libraries/libraryrecords.h"

// What "libraries.xml" holds.
struct TLibrariesData
{
    std::vector<TTargetRecord> Targets;
    std::vector<TLibraryRecord> Libraries;
    TDetectionChoices Choices;
};

// "libraries.xml" in the data folder: the Libraries panel's targets and
// libraries under the root "Library_Data", version 1, and the user's detection
// choices in an element "Detection_Choices" that older readers pass over.
// Every failure is thrown as TXmlFileException.
namespace TLibrariesFile
{
// Reads folder/libraries.xml; any version but 1 is refused. An element
// "Targets" or "Libraries" without any record reads as an empty list. The
// targets of QML modules and their module folders are kept apart, in the
// optional elements "Qml_Targets" and "Qml_Modules", which a reader that
// knows nothing of them passes over; a file without QML modules has neither.
// No detection choices when their element is absent.
TLibrariesData Read(const QString& folder);
// Writes the records in the order given, and the detection choices when there
// are any.
void Write(const QString& folder, const std::vector<TTargetRecord>& targets,
           const std::vector<TLibraryRecord>& libraries,
           const TDetectionChoices& choices = TDetectionChoices());
}

#endif
