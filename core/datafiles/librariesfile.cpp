#include "datafiles/librariesfile.h"

#include <algorithm>

#include "libraries/librarytypetext.h"
#include "datafiles/datafilenames.h"
#include "datafiles/xmlfile.h"
#include "datafiles/xmltext.h"
#include "datafiles/xmltree.h"

namespace
{
const QString Identification = "Library_Data";
const int Version = 1;
const QString Yes = "Yes";
const QString No = "No";

QString Child_Text(const TXmlTree& xml, int record, const QString& name)
{
    return xml.Line_Text(xml.Child(record, name, false), false);
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

bool Is_Qml(const TTargetRecord& target)
{
    return target.Kind == TTypes::Target_Qml_Modules;
}

bool Is_Qml(const TLibraryRecord& library)
{
    return library.Type == TTypes::Library_Qml_Module;
}

// Calls `read(record)` for every element `tag` directly under `parent`.
template <typename TRead>
void Read_Records_Of(const TXmlTree& xml, int parent, const QString& tag, TRead read)
{
    for (int record = xml.Child(parent, tag, true); record != TXmlTree::None;
         record = xml.Next_Sibling(record))
        read(record);
}

// Calls `read(record)` for every element `tag` directly under the element
// `list` of the root, which must be there unless `optional`.
template <typename TRead>
void Read_Records(const TXmlTree& xml, const QString& list, const QString& tag, TRead read,
                  bool optional = false)
{
    const int parent = xml.Child(TXmlTree::Root, list, optional);
    if (parent != TXmlTree::None)
        Read_Records_Of(xml, parent, tag, read);
}

const QString Choices_Element = "Detection_Choices";
const QString With_Plugin = "With_Plugin";
const QString Without_Plugin = "Without_Plugin";
const QString With_Library = "With_Library";

void Write_Choices(TXmlFile* xml, const TDetectionChoices& choices)
{
    if (choices.Is_Empty())
        return;
    QDomElement element = xml->Create_Node(&xml->Root, Choices_Element);
    for (const QString& entry : choices.With_Plugins)
        Write_Child(xml, &element, With_Plugin, entry);
    for (const QString& entry : choices.Without_Plugins)
        Write_Child(xml, &element, Without_Plugin, entry);
    for (const QString& path : choices.With_Libraries)
        Write_Child(xml, &element, With_Library, path);
}

void Read_Lists(const TXmlTree& xml, TLibrariesData* data)
{
    Read_Records(xml, "Targets", "Target", [&](int record) {
        data->Targets.push_back({Child_Text(xml, record, "Name"),
                                 Child_Text(xml, record, "Checked") == Yes});
    });
    Read_Records(xml, "Libraries", "Library", [&](int record) {
        data->Libraries.push_back({Child_Text(xml, record, "Target_Name"),
                                   Child_Text(xml, record, "Name"),
                                   Library_Type_From_File_Text(Child_Text(xml, record, "Type")),
                                   Child_Text(xml, record, "Checked") == Yes});
    });
    Read_Records(xml, "Qml_Targets", "Target", [&](int record) {
        data->Targets.push_back({Child_Text(xml, record, "Name"),
                                 Child_Text(xml, record, "Checked") == Yes,
                                 TTypes::Target_Qml_Modules});
    }, true);
    Read_Records(xml, "Qml_Modules", "Module", [&](int record) {
        data->Libraries.push_back({Child_Text(xml, record, "Target_Name"),
                                   Child_Text(xml, record, "Name"), TTypes::Library_Qml_Module,
                                   Child_Text(xml, record, "Checked") == Yes});
    }, true);
}

TDetectionChoices Read_Detection_Choices(const TXmlTree& xml)
{
    TDetectionChoices choices;
    const int element = xml.Child(TXmlTree::Root, Choices_Element, true);
    if (element == TXmlTree::None)
        return choices;
    const std::pair<QString, QStringList*> lists[] = {
        {With_Plugin, &choices.With_Plugins},
        {Without_Plugin, &choices.Without_Plugins},
        {With_Library, &choices.With_Libraries}};
    for (const auto& list : lists)
    {
        Read_Records_Of(xml, element, list.first, [&](int record) {
            list.second->append(xml.Line_Text(record, false));
        });
    }
    return choices;
}
}

namespace TLibrariesFile
{
TLibrariesData Read(const QString& folder)
{
    TXmlTree xml;
    int version = 0;
    xml.Open(Data_File_Names::Path(folder, Data_File_Names::Libraries), Identification, &version);
    if (version != Version)
        throw TXmlFileException("Library datafile version not recognized",
                                TXmlFileException::Xml_Error);
    TLibrariesData data;
    Read_Lists(xml, &data);
    data.Choices = Read_Detection_Choices(xml);
    return data;
}

namespace
{
void Write_Target(TXmlFile* xml, QDomElement* list, const TTargetRecord& target)
{
    QDomElement record = xml->Create_Node(list, "Target");
    Write_Child(xml, &record, "Name", target.Name);
    Write_Child(xml, &record, "Checked", Checked_Text(target.Checked));
}

void Write_Qml_Records(TXmlFile* xml, const std::vector<TTargetRecord>& targets,
                       const std::vector<TLibraryRecord>& libraries)
{
    if (std::none_of(targets.begin(), targets.end(), [](const auto& t) { return Is_Qml(t); }) &&
        std::none_of(libraries.begin(), libraries.end(), [](const auto& l) { return Is_Qml(l); }))
        return;
    QDomElement target_list = xml->Create_Node(&xml->Root, "Qml_Targets");
    for (const TTargetRecord& target : targets)
        if (Is_Qml(target))
            Write_Target(xml, &target_list, target);
    QDomElement module_list = xml->Create_Node(&xml->Root, "Qml_Modules");
    for (const TLibraryRecord& library : libraries)
    {
        if (!Is_Qml(library))
            continue;
        QDomElement record = xml->Create_Node(&module_list, "Module");
        Write_Child(xml, &record, "Target_Name", library.Target_Name);
        Write_Child(xml, &record, "Name", library.Name);
        Write_Child(xml, &record, "Checked", Checked_Text(library.Checked));
    }
}
}

void Write(const QString& folder, const std::vector<TTargetRecord>& targets,
           const std::vector<TLibraryRecord>& libraries, const TDetectionChoices& choices)
{
    TXmlFile xml;
    xml.File_Name = Data_File_Names::Path(folder, Data_File_Names::Libraries);
    xml.Reset(Identification, Version);

    QDomElement target_list = xml.Create_Node(&xml.Root, "Targets");
    for (const TTargetRecord& target : targets)
        if (!Is_Qml(target))
            Write_Target(&xml, &target_list, target);

    QDomElement library_list = xml.Create_Node(&xml.Root, "Libraries");
    for (const TLibraryRecord& library : libraries)
    {
        if (Is_Qml(library))
            continue;
        QDomElement record = xml.Create_Node(&library_list, "Library");
        Write_Child(&xml, &record, "Target_Name", library.Target_Name);
        Write_Child(&xml, &record, "Name", library.Name);
        Write_Child(&xml, &record, "Type", Library_Type_File_Text(library.Type));
        Write_Child(&xml, &record, "Checked", Checked_Text(library.Checked));
    }
    Write_Qml_Records(&xml, targets, libraries);

    Write_Choices(&xml, choices);
    xml.Write_File(false);
}
}
