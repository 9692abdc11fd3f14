#ifndef DEFAULTSFILE_H
#define DEFAULTSFILE_H

#include <QString>

class TXmlFile;

// Opens a panel's defaults file `path` into `xml`: its root must be
// `identification`, and any version but 1 is refused with `version_message`.
// Every failure is thrown as TXmlFileException.
void Open_Defaults_File(TXmlFile* xml, const QString& path, const QString& identification,
                        const QString& version_message);

#endif
