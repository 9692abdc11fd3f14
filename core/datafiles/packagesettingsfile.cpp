#include "datafiles/packagesettingsfile.h"

#include <QDir>
#include <QFileInfo>

#include <utility>
#include <vector>

#include "datafiles/datafilenames.h"
#include "datafiles/defaultsfile.h"
#include "datafiles/xmlfile.h"

namespace
{
const char* const Identification = "Package_Settings";

QString File_Name(const QString& folder)
{
    return Data_File_Names::Path(folder, Data_File_Names::Package_Settings);
}

// Each element and the setting it holds.
std::vector<std::pair<const char*, QString TPackageSettings::*>> Elements()
{
    return {{"Program", &TPackageSettings::Program},
            {"Source", &TPackageSettings::Source},
            {"Qml_Sources", &TPackageSettings::Qml_Sources},
            {"Output_Dir", &TPackageSettings::Output_Dir}};
}

void Check_Path(const QString& element, const QString& path)
{
    if (path.contains('\n') || path.contains('\r') || QDir::isRelativePath(path))
        throw TXmlFileException(
            QString("the setting \"%1\" is not an absolute path: \"%2\"").arg(element, path),
            TXmlFileException::Xml_Error);
}
}

namespace TPackageSettingsFile
{
void Open(TXmlFile* xml, const QString& folder)
{
    Open_Defaults_File(xml, File_Name(folder), Identification,
                       "Package settings datafile version not recognized");
}

TPackageSettings Read_V1(const TXmlFile& xml)
{
    TPackageSettings settings;
    for (const auto& [name, setting] : Elements())
    {
        const QDomElement node = xml.Get_Node(&xml.Root, name, true);
        if (node.isNull())
            continue;
        const QString path = xml.Read_Text_Node(&node, false);
        Check_Path(name, path);
        settings.*setting = path;
    }
    return settings;
}

void Write(const QString& folder, const TPackageSettings& settings)
{
    TXmlFile xml;
    xml.File_Name = File_Name(folder);
    xml.Reset(Identification, 1);
    for (const auto& [name, setting] : Elements())
    {
        if ((settings.*setting).isEmpty())
            continue;
        Check_Path(name, settings.*setting);
        QDomElement node = xml.Create_Node(&xml.Root, name);
        xml.Write_Text_Node(&node, settings.*setting);
    }
    xml.Write_File(false);
}

TPackageSettings Read(const QString& folder)
{
    const QFileInfo file(File_Name(folder));
    if (!file.exists() && !file.isSymLink())
        return TPackageSettings();
    TXmlFile xml;
    Open(&xml, folder);
    return Read_V1(xml);
}
}
