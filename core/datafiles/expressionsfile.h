#ifndef EXPRESSIONSFILE_H
#define EXPRESSIONSFILE_H

#include <QString>
#include <QStringList>

#include <vector>

class TXmlFile;

// One of the seven path expressions that the spec writer inserts wherever it
// needs a build, install or deployment location.
struct TExpressionField
{
    QString Name;  // element name in "expressions.xml"
    QString Label;
    QString Factory_Value;
};

// "expressions.xml" in the per-user data folder: the root "Expression_Data",
// version 1, one element per expression. Values travel as lists in the order
// of Fields(). Every failure is thrown as TXmlFileException.
namespace TExpressionsFile
{
const std::vector<TExpressionField>& Fields();
QStringList Factory_Values();

// Opens folder/expressions.xml into `xml`; any version but 1 is refused.
void Open(TXmlFile* xml, const QString& folder);
// Every element is required and looked up by name, so their order in the file
// does not matter; an element without text is an empty expression.
QStringList Read_V1(const TXmlFile& xml);
// Writes the elements in the order of Fields(); `values` holds one per field.
void Write(const QString& folder, const QStringList& values);
}

#endif
