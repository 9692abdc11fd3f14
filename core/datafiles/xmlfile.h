#ifndef XMLFILE_H
#define XMLFILE_H

#include <QByteArray>
#include <QDomDocument>
#include <QDomElement>
#include <QString>

#include "datafiles/xmlfileexception.h"

// The bytes of the XML file `file_name`, refused unparsed, as TXmlFileException,
// when it cannot be read or when Xml_Precheck_Refusal refuses them.
QByteArray Read_Checked_Xml(const QString& file_name);

// An XML data file with a fixed envelope: an XML declaration, a root element
// named after the file's identification and a "File_Version" attribute on it.
// Reads take an `optional` flag and either return empty results or throw;
// every failure is thrown as TXmlFileException. Open and Open_Data refuse,
// before parsing, what Xml_Precheck_Refusal refuses; writes are all or
// nothing, as Save_Bytes_File makes them.
class TXmlFile
{
public:
    TXmlFile();

    void Open(const QString& identification, int* version, bool namespace_processing);
    void Open_Data(const QByteArray& data, const QString& identification, int* version,
                   bool namespace_processing);
    void Reset(const QString& root_name, int version);
    void Reset(const QString& doc_type, const QString& root_name, int version);
    void Clear();

    QString Read_Text_Node(const QDomElement* node, bool optional) const;
    QString Read_Text_Node(const QDomNode* node, bool optional) const;
    // The text of `node` as one value of one line, or as a text of lines:
    // a value Line_Value_Problem (or Text_Value_Problem, carriage returns
    // allowed) finds fault with is refused, naming the file and the element.
    QString Read_Line_Node(const QDomElement* node, bool optional) const;
    QString Read_Lines_Node(const QDomElement* node, bool optional) const;
    QString Read_Attribute(const QDomElement* node, const QString& name, bool optional) const;
    QString Read_Attribute(const QDomNode* node, const QString& name, bool optional) const;
    QDomElement Get_Node(const QDomElement* node, const QString& name, bool optional) const;
    QDomElement Get_Node(const QDomNode* node, const QString& name, bool optional) const;
    QDomElement Get_Sibling_Node(const QDomElement* current_node, const QString& name,
                                 bool optional) const;
    QDomNode Get_First_Node(const QDomElement* parent, bool optional) const;
    QDomNode Get_First_Node(const QDomNode* parent, bool optional) const;
    QDomNode Get_Sibling_Node(const QDomNode* current_node, bool optional) const;

    QDomElement Create_Node(QDomElement* parent, const QString& name);
    void Write_Text_Node(QDomElement* node, const QString& text);
    void Write_Text_Node(QDomElement* node, const double& value, int precision);
    void Write_Text_Node(QDomElement* node, int value);
    void Write_Attribute(QDomElement* node, const QString& name, const QString& value);
    void Write_Attribute(QDomElement* node, const QString& name, const double& value,
                         int precision);
    void Write_Attribute(QDomElement* node, const QString& name, int value);

    void Write_File(bool compact);
    void Write_Data(QByteArray* data, bool compact);

    QDomDocument Document;
    QDomElement Root;
    QString File_Name;
    QString Identification;
    QString Doc_Type;

private:
    void Parse(const QByteArray& bytes, const char* what, bool namespace_processing);
    void Check_Envelope(const QString& identification, int* version);
    QString Checked_Text(const QDomElement& node, const QString& text,
                         const QString& problem) const;
    QDomText Text_Node(const QString& text);
    QByteArray Serialise(bool compact);
};

#endif
