#include "datafiles/expressionsfile.h"

#include "datafiles/datafilenames.h"
#include "datafiles/defaultsfile.h"
#include "datafiles/xmlfile.h"
#include "datafiles/xmltext.h"

namespace
{
const char* const Identification = "Expression_Data";

QString File_Name(const QString& folder)
{
    return Data_File_Names::Path(folder, Data_File_Names::Expressions);
}
}

namespace TExpressionsFile
{
const std::vector<TExpressionField>& Fields()
{
    static const std::vector<TExpressionField> fields = {
        {"Build_Path", "Build Root Path:", "%{buildroot}%{_libdir}/%{name}"},
        {"CMake_Bin_Path", "CMake Bin Path:", "%{buildroot}%{_libdir}/%{name}/bin"},
        {"QMake_Bin_Path", "QMake Bin Path:", "%{buildroot}%{_libdir}/%{name}"},
        {"Library_Path", "Libraries Path:", "%{_topdir}/shared_libs"},
        {"Desktop_Menu_Path", "Desktop Menu Path:", "%{_topdir}/desktop_menu"},
        {"Target_Install_Path", "Target Install Path:", "%{_libdir}"},
        {"Target_Desktop_Menu_Path", "Target Desktop Menu Path:", "%{_datadir}"},
    };
    return fields;
}

QStringList Factory_Values()
{
    QStringList values;
    for (const TExpressionField& field : Fields())
        values.append(field.Factory_Value);
    return values;
}

void Open(TXmlFile* xml, const QString& folder)
{
    Open_Defaults_File(xml, File_Name(folder), Identification,
                       "Expression datafile version not recognized");
}

QStringList Read_V1(const TXmlFile& xml)
{
    QStringList values;
    for (const TExpressionField& field : Fields())
    {
        const QDomElement node = xml.Get_Node(&xml.Root, field.Name, false);
        values.append(xml.Read_Line_Node(&node, true));
    }
    return values;
}

void Write(const QString& folder, const QStringList& values)
{
    Q_ASSERT(values.size() == static_cast<int>(Fields().size()));
    TXmlFile xml;
    xml.File_Name = File_Name(folder);
    xml.Reset(Identification, 1);
    for (std::size_t i = 0; i < Fields().size(); ++i)
    {
        QDomElement node = xml.Create_Node(&xml.Root, Fields()[i].Name);
        xml.Write_Text_Node(&node, Xml_Storable(values.at(static_cast<int>(i))));
    }
    xml.Write_File(false);
}
}
