#ifndef VARIABLEDATA_H
#define VARIABLEDATA_H

#include <QString>

#include <vector>

#include "datafiles/datafilenames.h"

class TXmlFile;

// One spec variable: the name carries its own keyword and punctuation
// ("%define version", "Release:"), the value is the text written after it.
struct TSpecVariable
{
    QString Name;
    QString Value;
};

// What the Variables panel keeps: the variables in spec order and the
// program description.
struct TVariableData
{
    std::vector<TSpecVariable> Variables;
    QString Description;
};

// "variables.xml" in the data folder, or its backup (`file_name` names which):
// the Variables panel's data under the root "Variable_Data", version 1. Every
// failure, a missing element included, is thrown as TXmlFileException.
namespace TVariablesFile
{
// The template every new spec starts from.
TVariableData Factory_Data();

// Opens folder/file_name into `xml`; any version but 1 is refused.
void Open(TXmlFile* xml, const QString& folder,
          const char* file_name = Data_File_Names::Variables);
TVariableData Read_V1(const TXmlFile& xml);
// Nothing is written unless the whole document could be built.
void Write(const QString& folder, const TVariableData& data,
           const char* file_name = Data_File_Names::Variables);
}

#endif
