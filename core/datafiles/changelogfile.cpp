#include "datafiles/changelogfile.h"

#include "datafiles/defaultsfile.h"
#include "datafiles/xmlfile.h"
#include "datafiles/xmltext.h"

namespace
{
const char* const Identification = "Change_Data";
const char* const Text_Node = "Text";
const char* const Line_Break = "<br>";

QString File_Name(const QString& folder)
{
    return folder + "/changes.xml";
}
}

const char* const Change_Log_Header_Line =
    "# Newest revisions added to the top; oldest revisions at the bottom.";

QString Factory_Change_Log()
{
    return QString(Change_Log_Header_Line) + "\n* Sun Nov 6 2016 <author name>\n- Initial RPM release";
}

void Open_Change_Log_File(TXmlFile* xml, const QString& folder)
{
    Open_Defaults_File(xml, File_Name(folder), Identification,
                       "Change datafile version not recognized");
}

QString Read_Change_Log_V1(const TXmlFile& xml)
{
    const QDomElement text = xml.Get_Node(&xml.Root, Text_Node, false);
    return xml.Read_Text_Node(&text, false).replace(Line_Break, "\n");
}

void Write_Change_Log_File(const QString& folder, const QString& text)
{
    TXmlFile xml;
    xml.File_Name = File_Name(folder);
    xml.Reset(Identification, 1);
    QDomElement node = xml.Create_Node(&xml.Root, Text_Node);
    xml.Write_Text_Node(&node, Xml_Storable(text).replace("\n", Line_Break));
    xml.Write_File(false);
}
