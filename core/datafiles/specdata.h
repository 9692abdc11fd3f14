#ifndef SPECDATA_H
#define SPECDATA_H

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

#include "libraries/activelibraries.h"
#include "datafiles/packagesettingsfile.h"
#include "libraries/detectionchoices.h"
#include "types.h"
#include "datafiles/variabledata.h"

// The project file (".spec_data"): a header line and five sections holding
// the variables, the active targets and libraries, the description and the
// change log of one package. A project with QML modules or a QML sources
// folder has a sixth section after the libraries, one with detection
// choices a section after the change log, and one with the Build Package
// fields (the built program, the source folder) a section at the end;
// readers that know nothing of them pass over them as lines outside any
// section.

// The QML side of a project: where the program's QML sources are, and the
// active targets of QML modules with their active module folders.
struct TSpecDataQml
{
    QString Sources;  // empty: none given
    std::vector<TSpecDataTarget> Targets;

    bool Is_Empty() const { return Sources.isEmpty() && Targets.empty(); }
};

// What a project file holds when it is written.
struct TSpecData
{
    std::vector<TSpecVariable> Variables;
    std::vector<TSpecDataTarget> Active_Targets;  // targets of files only
    TSpecDataQml Qml;  // written only when not empty
    QString Description;
    QString Change_Log;
    TDetectionChoices Choices;
    TPackageSettings Package;  // the Build Package fields kept with it, written when set
};

// A project file as read. A section the file does not hold is empty here
// (std::nullopt) and leaves its panel as it is; a section the file holds
// replaces its panel's data, even when it has no lines.
struct TSpecDataContents
{
    std::optional<std::vector<TSpecVariable>> Variables;
    std::optional<QStringList> Active_Targets;
    std::optional<std::vector<TSpecDataSelection>> Active_Libraries;
    std::optional<QStringList> Description;
    std::optional<QStringList> Change_Log;
    std::optional<TDetectionChoices> Choices;
    std::optional<TSpecDataQml> Qml;
    std::optional<TPackageSettings> Package;  // the program and source folder only
};

struct TSpecDataReading
{
    bool Ok = false;
    QString Error;  // set when Ok is false
    TSpecDataContents Contents;
};

extern const char* const Spec_Data_Header;

// The largest project file read, in bytes; a larger one is refused.
extern const int Spec_Data_Max_Size;

// Why `data` cannot be written as a project, or an empty string when it can:
// a one-line value (a variable, a target, library or module name, the QML
// sources folder, a detection choice, a Build Package field) that
// Line_Value_Problem finds fault
// with, a description or change log that Text_Value_Problem finds fault
// with, or a value or text line that reads back as a section marker. Each
// would change what the file holds when read back.
QString Spec_Data_Refusal(const TSpecData& data);

// The whole file's text, to be written in UTF-8; only for data that
// Spec_Data_Refusal passes.
QString Spec_Data_Text(const TSpecData& data);

// Reads a whole file's bytes (UTF-8) without changing anything; more than
// Spec_Data_Max_Size bytes are refused.
TSpecDataReading Read_Spec_Data(const QByteArray& bytes);

// Reads the file `file_name`; an unreadable file, or anything but a plain
// file, is reported in Error.
TSpecDataReading Read_Spec_Data_File(const QString& file_name);

#endif
