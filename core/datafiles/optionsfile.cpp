#include "datafiles/optionsfile.h"

#include "datafiles/datafilenames.h"
#include "datafiles/defaultsfile.h"
#include "datafiles/xmlfile.h"
#include "text/valuelimits.h"

#include <QRegularExpression>
#include <QStringList>

#include <utility>
#include <vector>

namespace
{
const char* const Identification = "Options";
const char* const Generator_Element = "Make_Generator";
const char* const Requires_Element = "Requires_Option";
const char* const Qt_Element = "Qt_Installation";
const char* const Qt_Major_Element = "Major";
const char* const Qt_Prefix_Element = "Prefix";

QString File_Name(const QString& folder)
{
    return Data_File_Names::Path(folder, Data_File_Names::Options);
}

[[noreturn]] void Refuse(const TXmlFile& xml, const QString& element, const QString& value,
                         const QString& expected)
{
    throw TXmlFileException(QString("ERR:  The element '%1' of '%2' holds '%3', but %4.")
                                .arg(element, xml.File_Name, Shown_Value(value), expected),
                            TXmlFileException::Xml_Error);
}

QString Required_Text(const TXmlFile& xml, const QString& name)
{
    const QDomElement node = xml.Get_Node(&xml.Root, name, false);
    return xml.Read_Line_Node(&node, false);
}

QString Optional_Text(const TXmlFile& xml, const QDomElement& parent, const QString& name)
{
    const QDomElement node = xml.Get_Node(&parent, name, true);
    return node.isNull() ? QString() : xml.Read_Line_Node(&node, true);
}

// One of the stored names `known`, letter case included.
template <typename TValue>
TValue Known_Value(const TXmlFile& xml, const QString& element,
                   const std::vector<std::pair<QString, TValue>>& known)
{
    const QString text = Required_Text(xml, element);
    QStringList names;
    for (const auto& [name, value] : known)
    {
        if (text == name)
            return value;
        names.append("\"" + name + "\"");
    }
    Refuse(xml, element, text, "it must be one of " + names.join(", "));
}

// The major version is 5 or 6, or 0 (or nothing) when only the prefix is
// known; the prefix is empty or a plain absolute path, as it goes into the
// spec's build lines.
TQtBuild Read_Qt(const TXmlFile& xml)
{
    const QDomElement qt = xml.Get_Node(&xml.Root, Qt_Element, true);
    if (qt.isNull())
        return TQtBuild();
    const QString major_text = Optional_Text(xml, qt, Qt_Major_Element);
    const QString major_element = QString(Qt_Element) + "/" + Qt_Major_Element;
    static const QRegularExpression known_major("^[056]?$");
    if (!known_major.match(major_text).hasMatch())
        Refuse(xml, major_element, major_text, "the Qt major version must be 5 or 6 (or 0, unknown)");
    const TQtBuild read = {major_text.toInt(), Optional_Text(xml, qt, Qt_Prefix_Element)};
    if (!Is_Plain_Qt_Prefix(read.Prefix))
        Refuse(xml, QString(Qt_Element) + "/" + Qt_Prefix_Element, read.Prefix,
               "the Qt prefix must be an absolute path of letters, digits and \"/._+-\"");
    return read;
}

void Write_Qt(TXmlFile* xml, const TQtBuild& qt)
{
    if (qt == TQtBuild())
        return;
    QDomElement element = xml->Create_Node(&xml->Root, Qt_Element);
    QDomElement major = xml->Create_Node(&element, Qt_Major_Element);
    xml->Write_Text_Node(&major, qt.Major);
    QDomElement prefix = xml->Create_Node(&element, Qt_Prefix_Element);
    xml->Write_Text_Node(&prefix, qt.Prefix);
}
}

namespace TOptionsFile
{
void Open(TXmlFile* xml, const QString& folder)
{
    Open_Defaults_File(xml, File_Name(folder), Identification,
                       "Option datafile version not recognized");
}

TBuildOptions Read_V1(const TXmlFile& xml)
{
    TBuildOptions options;
    options.Generator = Known_Value<TTypes::TOptionMakeGenerator>(
        xml, Generator_Element,
        {{Generator_Text(TTypes::Generator_QMake), TTypes::Generator_QMake},
         {Generator_Text(TTypes::Generator_CMake), TTypes::Generator_CMake}});
    options.Requires = Known_Value<TTypes::TOptionRequies>(
        xml, Requires_Element,
        {{Requires_Text(TTypes::Requires_Auto_Update), TTypes::Requires_Auto_Update},
         {Requires_Text(TTypes::Requires_Manual_Update), TTypes::Requires_Manual_Update},
         {Requires_Text(TTypes::Requires_Ignored), TTypes::Requires_Ignored}});
    options.Qt = Read_Qt(xml);
    return options;
}

void Write(const QString& folder, const TBuildOptions& options)
{
    TXmlFile xml;
    xml.File_Name = File_Name(folder);
    xml.Reset(Identification, 1);
    QDomElement generator = xml.Create_Node(&xml.Root, Generator_Element);
    xml.Write_Text_Node(&generator, Generator_Text(options.Generator));
    QDomElement requires = xml.Create_Node(&xml.Root, Requires_Element);
    xml.Write_Text_Node(&requires, Requires_Text(options.Requires));
    Write_Qt(&xml, options.Qt);
    xml.Write_File(false);
}

QString Generator_Text(TTypes::TOptionMakeGenerator generator)
{
    return generator == TTypes::Generator_CMake ? "Generator_CMake" : "Generator_QMake";
}

QString Requires_Text(TTypes::TOptionRequies requires)
{
    switch (requires)
    {
    case TTypes::Requires_Manual_Update:
        return "Requires_Manual_Update";
    case TTypes::Requires_Ignored:
        return "Requires_Ignored";
    case TTypes::Requires_Auto_Update:
        break;
    }
    return "Requires_Auto_Update";
}
}
