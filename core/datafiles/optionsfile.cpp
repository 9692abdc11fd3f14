#include "datafiles/optionsfile.h"

#include "datafiles/datafilenames.h"
#include "datafiles/defaultsfile.h"
#include "datafiles/xmlfile.h"

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

QString Required_Text(const TXmlFile& xml, const QString& name)
{
    const QDomElement node = xml.Get_Node(&xml.Root, name, false);
    return xml.Read_Text_Node(&node, false);
}

QString Optional_Text(const TXmlFile& xml, const QDomElement& parent, const QString& name)
{
    const QDomElement node = xml.Get_Node(&parent, name, true);
    return node.isNull() ? QString() : xml.Read_Text_Node(&node, true);
}

// A major version other than 5 or 6 (or 0, unknown, beside a prefix), or a
// prefix that cannot go into a spec, leaves the Qt unknown.
TQtBuild Read_Qt(const TXmlFile& xml)
{
    const QDomElement qt = xml.Get_Node(&xml.Root, Qt_Element, true);
    if (qt.isNull())
        return TQtBuild();
    const TQtBuild read = {Optional_Text(xml, qt, Qt_Major_Element).toInt(),
                           Optional_Text(xml, qt, Qt_Prefix_Element)};
    const bool known_major = read.Major == 0 || read.Major == 5 || read.Major == 6;
    if (!known_major || !Is_Plain_Qt_Prefix(read.Prefix))
        return TQtBuild();
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
    options.Generator = Generator_From_Text(Required_Text(xml, Generator_Element));
    options.Requires = Requires_From_Text(Required_Text(xml, Requires_Element));
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

TTypes::TOptionMakeGenerator Generator_From_Text(const QString& text)
{
    return text == "Generator_CMake" ? TTypes::Generator_CMake : TTypes::Generator_QMake;
}

TTypes::TOptionRequies Requires_From_Text(const QString& text)
{
    if (text == "Requires_Manual_Update")
        return TTypes::Requires_Manual_Update;
    if (text == "Requires_Ignored")
        return TTypes::Requires_Ignored;
    return TTypes::Requires_Auto_Update;
}
}
