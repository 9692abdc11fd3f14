#ifndef PACKAGESETTINGSFILE_H
#define PACKAGESETTINGSFILE_H

#include <QString>

class TXmlFile;

// The last packaging setup: where the program and its sources are, so that
// the next run, from the command line or the editor's Build Package, starts
// from them. Every path is absolute; empty means not set.
struct TPackageSettings
{
    QString Program;     // the built program
    QString Source;      // its source folder, made into the tarball
    QString Qml_Sources; // the folder of its QML sources
    QString Output_Dir;  // where the RPM goes; empty: %{_topdir}/RPMS

    bool operator==(const TPackageSettings& other) const
    {
        return Program == other.Program && Source == other.Source &&
               Qml_Sources == other.Qml_Sources && Output_Dir == other.Output_Dir;
    }
};

// "package.xml" in the data folder: the root "Package_Settings", version 1,
// one optional element per setting, so that settings added later read as
// unset from an older file. A setting that is no absolute path, or holds a
// line break, is refused. Every failure is thrown as TXmlFileException.
namespace TPackageSettingsFile
{
void Open(TXmlFile* xml, const QString& folder);
TPackageSettings Read_V1(const TXmlFile& xml);
// Only the settings that are set are written.
void Write(const QString& folder, const TPackageSettings& settings);
// The settings stored in `folder`; none set when there is no file.
TPackageSettings Read(const QString& folder);
}

#endif
