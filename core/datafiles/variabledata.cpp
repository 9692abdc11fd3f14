#include "datafiles/variabledata.h"

#include "datafiles/defaultsfile.h"
#include "datafiles/xmlfile.h"
#include "datafiles/xmltext.h"

namespace
{
const char* const Identification = "Variable_Data";
const int Version = 1;

// An element the program wrote with an empty string has no text node; it
// reads back as that empty string. The element itself stays required.
QString Required_Line(const TXmlFile& file, const QDomElement& parent, const QString& name)
{
    const QDomElement element = file.Get_Node(&parent, name, false);
    return file.Read_Line_Node(&element, true);
}

void Write_Text_Child(TXmlFile* file, QDomElement* parent, const QString& name,
                      const QString& text)
{
    QDomElement element = file->Create_Node(parent, name);
    file->Write_Text_Node(&element, Xml_Storable(text));
}
}

namespace TVariablesFile
{
TVariableData Factory_Data()
{
    TVariableData data;
    data.Variables = {
        {"%define _topdir", "%{getenv:HOME}/rpmbuild"},
        {"%define name", "program_name"},
        {"%define release", "1"},
        {"%define version", "1.0"},
        {"%define buildroot", "%{_topdir}/%{name}-%{version}-root"},
        {"Name:", "%{name}"},
        {"Version:", "%{version}"},
        {"Release:", "%{release}"},
        {"Source:", "%{name}-%{version}.tar.gz"},
        {"Summary:", "summary of the program function"},
        {"License:", "GPLv3+"},
        {"Group:", "Applications"},
        {"URL:", "https://www.example.org"},
        {"Requires:", "glibc >= 2.31"},
    };
    data.Description = "Description of the program";
    return data;
}

void Open(TXmlFile* xml, const QString& folder, const char* file_name)
{
    Open_Defaults_File(xml, Data_File_Names::Path(folder, file_name), Identification,
                       "Variable datafile version not recognized");
}

TVariableData Read_V1(const TXmlFile& file)
{
    TVariableData data;
    const QDomElement description = file.Get_Node(&file.Root, "Description", false);
    data.Description = file.Read_Lines_Node(&description, true);

    const QDomElement list = file.Get_Node(&file.Root, "Variables", false);
    QDomElement entry = file.Get_Node(&list, "Variable", false);
    while (!entry.isNull())
    {
        data.Variables.push_back(
            {Required_Line(file, entry, "Name"), Required_Line(file, entry, "Value")});
        entry = file.Get_Sibling_Node(&entry, "Variable", true);
    }
    return data;
}

void Write(const QString& folder, const TVariableData& data, const char* file_name)
{
    TXmlFile file;
    file.File_Name = Data_File_Names::Path(folder, file_name);
    file.Reset(Identification, Version);
    Write_Text_Child(&file, &file.Root, "Description", data.Description);

    QDomElement list = file.Create_Node(&file.Root, "Variables");
    for (const TSpecVariable& variable : data.Variables)
    {
        QDomElement entry = file.Create_Node(&list, "Variable");
        Write_Text_Child(&file, &entry, "Name", variable.Name);
        Write_Text_Child(&file, &entry, "Value", variable.Value);
    }
    file.Write_File(false);
}
}
