#include "datafiles/librariesfile.h"

#include "libraries/librarytypetext.h"
#include "datafiles/datafilenames.h"
#include "datafiles/defaultsfile.h"
#include "datafiles/xmlfile.h"
#include "datafiles/xmltext.h"

namespace
{
const QString Identification = "Library_Data";
const int Version = 1;
const QString Yes = "Yes";
const QString No = "No";

QString Child_Text(const TXmlFile& xml, const QDomElement& record, const QString& name)
{
    const QDomElement child = xml.Get_Node(&record, name, false);
    return xml.Read_Text_Node(&child, false);
}

void Write_Child(TXmlFile* xml, QDomElement* record, const QString& name, const QString& text)
{
    QDomElement child = xml->Create_Node(record, name);
    xml->Write_Text_Node(&child, Xml_Storable(text));
}

QString Checked_Text(bool checked)
{
    return checked ? Yes : No;
}

// Calls `read(record)` for every element `tag` directly under the required
// element `list` of the root.
template <typename TRead>
void Read_Records(const TXmlFile& xml, const QString& list, const QString& tag, TRead read)
{
    const QDomElement parent = xml.Get_Node(&xml.Root, list, false);
    for (QDomElement record = xml.Get_Node(&parent, tag, true); !record.isNull();
         record = xml.Get_Sibling_Node(&record, tag, true))
        read(record);
}
}

namespace TLibrariesFile
{
void Open(TXmlFile* xml, const QString& folder)
{
    Open_Defaults_File(xml, Data_File_Names::Path(folder, Data_File_Names::Libraries),
                       Identification, "Library datafile version not recognized");
}

void Read_V1(const TXmlFile& xml, std::vector<TTargetRecord>* targets,
             std::vector<TLibraryRecord>* libraries)
{
    Read_Records(xml, "Targets", "Target", [&](const QDomElement& record) {
        targets->push_back({Child_Text(xml, record, "Name"),
                            Child_Text(xml, record, "Checked") == Yes});
    });
    Read_Records(xml, "Libraries", "Library", [&](const QDomElement& record) {
        libraries->push_back({Child_Text(xml, record, "Target_Name"),
                              Child_Text(xml, record, "Name"),
                              Library_Type_From_File_Text(Child_Text(xml, record, "Type")),
                              Child_Text(xml, record, "Checked") == Yes});
    });
}

void Write(const QString& folder, const std::vector<TTargetRecord>& targets,
           const std::vector<TLibraryRecord>& libraries)
{
    TXmlFile xml;
    xml.File_Name = Data_File_Names::Path(folder, Data_File_Names::Libraries);
    xml.Reset(Identification, Version);

    QDomElement target_list = xml.Create_Node(&xml.Root, "Targets");
    for (const TTargetRecord& target : targets)
    {
        QDomElement record = xml.Create_Node(&target_list, "Target");
        Write_Child(&xml, &record, "Name", target.Name);
        Write_Child(&xml, &record, "Checked", Checked_Text(target.Checked));
    }

    QDomElement library_list = xml.Create_Node(&xml.Root, "Libraries");
    for (const TLibraryRecord& library : libraries)
    {
        QDomElement record = xml.Create_Node(&library_list, "Library");
        Write_Child(&xml, &record, "Target_Name", library.Target_Name);
        Write_Child(&xml, &record, "Name", library.Name);
        Write_Child(&xml, &record, "Type", Library_Type_File_Text(library.Type));
        Write_Child(&xml, &record, "Checked", Checked_Text(library.Checked));
    }

    xml.Write_File(false);
}
}
