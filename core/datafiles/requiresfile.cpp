#include "datafiles/requiresfile.h"

#include "datafiles/datafilenames.h"
#include "datafiles/defaultsfile.h"
#include "datafiles/xmlfile.h"
#include "datafiles/xmltext.h"

namespace
{
const char* const Identification = "Requires";
const int Version = 1;

QStringList Read_Libraries(const TXmlFile& file, const QDomElement& libraries)
{
    QStringList names;
    for (QDomElement name = file.Get_Node(&libraries, "Name", true); !name.isNull();
         name = file.Get_Sibling_Node(&name, "Name", true))
        names.append(file.Read_Line_Node(&name, false));
    return names;
}

TRequireEntry Read_Package(const TXmlFile& file, const QDomElement& package)
{
    const QDomElement name = file.Get_Node(&package, "Name", false);
    TRequireEntry entry;
    entry.Package = file.Read_Line_Node(&name, false);
    entry.Libraries = Read_Libraries(file, file.Get_Node(&package, "Libraries", false));
    return entry;
}

void Write_Package(TXmlFile* file, const TRequireEntry& entry)
{
    QDomElement package = file->Create_Node(&file->Root, "Package");
    QDomElement name = file->Create_Node(&package, "Name");
    file->Write_Text_Node(&name, Xml_Storable(entry.Package));
    QDomElement libraries = file->Create_Node(&package, "Libraries");
    for (const QString& library : entry.Libraries)
    {
        QDomElement library_name = file->Create_Node(&libraries, "Name");
        file->Write_Text_Node(&library_name, Xml_Storable(library));
    }
}
}

namespace TRequiresFile
{

void Open(TXmlFile* xml, const QString& folder)
{
    Open_Defaults_File(xml, Data_File_Names::Path(folder, Data_File_Names::Requires),
                       Identification, "Requires datafile version not recognized");
}

TRequireEntries Read_V1(const TXmlFile& xml)
{
    TRequireEntries entries;
    for (QDomElement package = xml.Get_Node(&xml.Root, "Package", true); !package.isNull();
         package = xml.Get_Sibling_Node(&package, "Package", true))
        entries.push_back(Read_Package(xml, package));
    return entries;
}

void Write(const QString& folder, const TRequireEntries& entries)
{
    TXmlFile xml;
    xml.File_Name = Data_File_Names::Path(folder, Data_File_Names::Requires);
    xml.Reset(Identification, Version);
    for (const TRequireEntry& entry : entries)
        Write_Package(&xml, entry);
    xml.Write_File(false);
}
}
