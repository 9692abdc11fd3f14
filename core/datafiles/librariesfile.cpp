#include "datafiles/librariesfile.h"

#include <algorithm>

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
    return xml.Read_Line_Node(&child, false);
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
void Read_Records_Of(const TXmlFile& xml, const QDomElement& parent, const QString& tag,
                     TRead read)
{
    for (QDomElement record = xml.Get_Node(&parent, tag, true); !record.isNull();
         record = xml.Get_Sibling_Node(&record, tag, true))
        read(record);
}

// Calls `read(record)` for every element `tag` directly under the element
// `list` of the root, which must be there unless `optional`.
template <typename TRead>
void Read_Records(const TXmlFile& xml, const QString& list, const QString& tag, TRead read,
                  bool optional = false)
{
    const QDomElement parent = xml.Get_Node(&xml.Root, list, optional);
    if (!parent.isNull())
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
    Read_Records(xml, "Qml_Targets", "Target", [&](const QDomElement& record) {
        targets->push_back({Child_Text(xml, record, "Name"),
                            Child_Text(xml, record, "Checked") == Yes,
                            TTypes::Target_Qml_Modules});
    }, true);
    Read_Records(xml, "Qml_Modules", "Module", [&](const QDomElement& record) {
        libraries->push_back({Child_Text(xml, record, "Target_Name"),
                              Child_Text(xml, record, "Name"), TTypes::Library_Qml_Module,
                              Child_Text(xml, record, "Checked") == Yes});
    }, true);
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

TDetectionChoices Read_Detection_Choices(const TXmlFile& xml)
{
    TDetectionChoices choices;
    const QDomElement element = xml.Get_Node(&xml.Root, Choices_Element, true);
    if (element.isNull())
        return choices;
    const std::pair<QString, QStringList*> lists[] = {
        {With_Plugin, &choices.With_Plugins},
        {Without_Plugin, &choices.Without_Plugins},
        {With_Library, &choices.With_Libraries}};
    for (const auto& list : lists)
    {
        Read_Records_Of(xml, element, list.first, [&](const QDomElement& record) {
            list.second->append(xml.Read_Line_Node(&record, false));
        });
    }
    return choices;
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
