#include "datafiles/defaultsfile.h"

#include "datafiles/xmlfile.h"

void Open_Defaults_File(TXmlFile* xml, const QString& path, const QString& identification,
                        const QString& version_message)
{
    xml->File_Name = path;
    int version = 0;
    xml->Open(identification, &version, true);
    if (version != 1)
        throw TXmlFileException(version_message, TXmlFileException::Xml_Error);
}
