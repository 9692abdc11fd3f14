#include "datafiles/changelogfile.h"

#include "datafiles/datafilenames.h"
#include "datafiles/defaultsfile.h"
#include "datafiles/xmlfile.h"
#include "datafiles/xmltext.h"

namespace
{
const char* const Identification = "Change_Data";
const char* const Text_Node = "Text";
const char* const Line_Break = "<br>";
}

namespace TChangeLogFile
{
const char* const Header_Line = "# Newest revisions added to the top; oldest revisions at the bottom.";

QString Factory_Text()
{
    return QString(Header_Line) + "\n* Sun Nov 6 2016 <author name>\n- Initial RPM release";
}

void Open(TXmlFile* xml, const QString& folder)
{
    Open_Defaults_File(xml, Data_File_Names::Path(folder, Data_File_Names::Changes),
                       Identification, "Change datafile version not recognized");
}

QString Read_V1(const TXmlFile& xml)
{
    const QDomElement text = xml.Get_Node(&xml.Root, Text_Node, false);
    return xml.Read_Lines_Node(&text, false).replace(Line_Break, "\n");
}

void Write(const QString& folder, const QString& text)
{
    TXmlFile xml;
    xml.File_Name = Data_File_Names::Path(folder, Data_File_Names::Changes);
    xml.Reset(Identification, 1);
    QDomElement node = xml.Create_Node(&xml.Root, Text_Node);
    xml.Write_Text_Node(&node, Xml_Storable(text).replace("\n", Line_Break));
    xml.Write_File(false);
}
}
