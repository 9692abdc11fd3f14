#ifndef VARIABLEDATA_H
#define VARIABLEDATA_H

#include <QString>

#include <vector>

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

// The defaults file in the per-user data folder, and its backup.
extern const char* const Variables_File_Name;

// The template every new spec starts from.
TVariableData Factory_Variable_Data();

// Reads a "Variable_Data" file ("variables.xml" or its backup). Throws
// TXmlFileException when the file is missing, malformed, of another kind or
// version, or lacks a required element.
TVariableData Read_Variable_Data(const QString& path);

// Writes a "Variable_Data" file, version 1. Throws TXmlFileException; nothing
// is written unless the whole document could be built.
void Write_Variable_Data(const QString& path, const TVariableData& data);

#endif
