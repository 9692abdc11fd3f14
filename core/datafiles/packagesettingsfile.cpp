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

// Each element and the setting it holds; all but the signing key are paths.
std::vector<std::pair<const char*, QString TPackageSettings::*>> Elements()
{
    return {{"Program", &TPackageSettings::Program},
            {"Source", &TPackageSettings::Source},
            {"Qml_Sources", &TPackageSettings::Qml_Sources},
            {"Output_Dir", &TPackageSettings::Output_Dir},
            {"Repository", &TPackageSettings::Repository},
            {"Sign_Key", &TPackageSettings::Sign_Key}};
}

bool Has_Control_Character(const QString& text)
{
    for (const QChar character : text)
        if (character.category() == QChar::Other_Control)
            return true;
    return false;
}

void Check_Setting(const QString& element, const QString& value)
{
    if (element == "Sign_Key" && Has_Control_Character(value))
        throw TXmlFileException(
            QString("the setting \"%1\" holds a control character: \"%2\"").arg(element, value),
            TXmlFileException::Xml_Error);
    const bool line_break = value.contains('\n') || value.contains('\r');
    if (element != "Sign_Key" && (line_break || QDir::isRelativePath(value)))
        throw TXmlFileException(
            QString("the setting \"%1\" is not an absolute path: \"%2\"").arg(element, value),
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
        const QString value = xml.Read_Text_Node(&node, false);
        Check_Setting(name, value);
        settings.*setting = value;
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
        Check_Setting(name, settings.*setting);
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
