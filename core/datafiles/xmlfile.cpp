#include "datafiles/xmlfile.h"

#include <QDomImplementation>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTextStream>

#include "datafiles/savefile.h"
#include "datafiles/xmlprecheck.h"
#include "datafiles/xmltext.h"
#include "text/valuelimits.h"

namespace
{
const char* const Version_Attribute = "File_Version";

[[noreturn]] void Throw_Xml(const QString& message)
{
    throw TXmlFileException(message, TXmlFileException::Xml_Error);
}

// The DOM checks characters one UTF-16 unit at a time and so takes every
// character beyond U+FFFF (emoji, for one) for a forbidden one, although XML
// allows them: creating such a text fails, and parsing a file holding one
// crashes. While this lives the DOM takes any text; the parser and Text_Node
// check the characters themselves.
class TWhole_Characters
{
public:
    TWhole_Characters()
    {
        QDomImplementation::setInvalidDataPolicy(QDomImplementation::AcceptInvalidChars);
    }
    ~TWhole_Characters()
    {
        QDomImplementation::setInvalidDataPolicy(QDomImplementation::ReturnNullNode);
    }
};

// The shared bodies of the element and node forms of the readers; `name` is
// how the node is called in the messages.
QString Text_Of(const QDomNode& node, const QString& name, bool optional)
{
    if (node.isNull())
        Throw_Xml("ERR:  Cannot read data from a NULL node");

    const QDomNode child = node.firstChild();
    if (!child.isNull() && child.isText())
        return child.nodeValue();
    if (!optional)
        Throw_Xml(QString("ERR:  Node Text for '%1' is not optional.").arg(name));
    return QString();
}

QString Attribute_Of(const QDomNode& node, const QString& name, bool optional)
{
    if (node.isNull())
        Throw_Xml("ERR:  Cannot read attribute from a NULL node");

    if (node.hasAttributes() && node.attributes().contains(name))
        return node.attributes().namedItem(name).nodeValue();
    if (!optional)
        Throw_Xml(QString("ERR:  Node attribute '%1' missing and not optional.").arg(name));
    return QString();
}

QDomElement Child_Of(const QDomNode& node, const QString& node_name, const QString& name,
                     bool optional)
{
    if (node.isNull())
        Throw_Xml("ERR:  Cannot get child from a NULL node");

    const QDomElement child = node.firstChildElement(name);
    if (child.isNull() && !optional)
        Throw_Xml(QString("ERR:  Node '%1' is missing from node '%2' and not optional.")
                      .arg(name, node_name));
    return child;
}

QDomNode First_Child_Of(const QDomNode& parent, const QString& parent_name, bool optional)
{
    const QDomNode child = parent.firstChild();
    if (child.isNull() && !optional)
        Throw_Xml(QString("ERR:  Parent '%1' does not have nodes and they are not optional.")
                      .arg(parent_name));
    return child;
}
}

TXmlFile::TXmlFile()
{
    // From here on, creating a node from data that XML forbids yields a null
    // node, which Write_Text_Node reports.
    QDomImplementation::setInvalidDataPolicy(QDomImplementation::ReturnNullNode);
}

QByteArray Read_Checked_Xml(const QString& file_name)
{
    const QFileInfo info(file_name);
    if (!info.isFile() || !info.isReadable())
        throw TXmlFileException(QString("ERR:  Cannot open file '%1' for reading.").arg(file_name),
                                TXmlFileException::File_Error);

    QFile file(file_name);
    if (!file.open(QIODevice::ReadOnly))
        throw TXmlFileException(
            QString("ERR:  Cannot open file: '%1'.  Reason: %2").arg(file_name, file.errorString()),
            TXmlFileException::File_Error);
    // A file too large is refused unread.
    QString refusal = Xml_Size_Refusal(file.size());
    QByteArray bytes;
    if (refusal.isEmpty())
    {
        bytes = file.readAll();
        refusal = Xml_Precheck_Refusal(bytes);
    }
    if (!refusal.isEmpty())
        Throw_Xml(QString("ERR:  The file '%1' is refused: %2.").arg(file_name, refusal));
    return bytes;
}

void TXmlFile::Open(const QString& identification, int* version, bool namespace_processing)
{
    Parse(Read_Checked_Xml(File_Name), "file", namespace_processing);
    Check_Envelope(identification, version);
}

void TXmlFile::Open_Data(const QByteArray& data, const QString& identification, int* version,
                         bool namespace_processing)
{
    const QString refusal = Xml_Precheck_Refusal(data);
    if (!refusal.isEmpty())
        Throw_Xml(QString("ERR:  The data is refused: %1.").arg(refusal));
    Parse(data, "data", namespace_processing);
    Check_Envelope(identification, version);
}

// Only bytes that passed Xml_Precheck_Refusal reach the parser.
void TXmlFile::Parse(const QByteArray& bytes, const char* what, bool namespace_processing)
{
    QString message;
    int line = 0;
    int column = 0;
    const TWhole_Characters whole_characters;
    if (!Document.setContent(bytes, namespace_processing, &message, &line, &column))
        throw Xml_Parse_Error(what, line, column, message);
}

void TXmlFile::Check_Envelope(const QString& identification, int* version)
{
    Root = Document.documentElement();
    if (Root.tagName() != identification)
        Throw_Xml(QString("ERR:  Identification '%1' does not match '%2'")
                      .arg(identification, Root.tagName()));

    Doc_Type = Document.doctype().name();
    Identification = identification;

    if (version == nullptr)
        return;
    if (!Root.hasAttribute(Version_Attribute))
        Throw_Xml("ERR:  The 'File_Version' attribute is missing.");
    *version = Root.attribute(Version_Attribute).toInt(nullptr, 10);
}

void TXmlFile::Reset(const QString& root_name, int version)
{
    Document = QDomDocument();
    Document.appendChild(
        Document.createProcessingInstruction("xml", "version=\"1.0\" encoding=\"utf-8\""));
    Root = Document.createElement(root_name);
    Root.setAttribute(Version_Attribute, version);
    Document.appendChild(Root);
}

void TXmlFile::Reset(const QString& doc_type, const QString& root_name, int version)
{
    Document = QDomDocument(QDomImplementation().createDocumentType(doc_type, QString(), QString()));
    Root = Document.createElement(root_name);
    Root.setAttribute(Version_Attribute, version);
    Document.appendChild(Root);
}

void TXmlFile::Clear()
{
    Document.clear();
}

QString TXmlFile::Read_Text_Node(const QDomElement* node, bool optional) const
{
    Q_ASSERT(node);
    return Text_Of(*node, node->tagName(), optional);
}

QString TXmlFile::Read_Text_Node(const QDomNode* node, bool optional) const
{
    Q_ASSERT(node);
    return Text_Of(*node, node->localName(), optional);
}

QString TXmlFile::Read_Line_Node(const QDomElement* node, bool optional) const
{
    const QString text = Read_Text_Node(node, optional);
    return Checked_Text(*node, text, Line_Value_Problem(text));
}

QString TXmlFile::Read_Lines_Node(const QDomElement* node, bool optional) const
{
    const QString text = Read_Text_Node(node, optional);
    // Line ends as another system writes them are kept, as the editor keeps them.
    return Checked_Text(*node, text, Text_Value_Problem(text, "\r"));
}

// The element is named with the elements above it, below the root.
QString TXmlFile::Checked_Text(const QDomElement& node, const QString& text,
                               const QString& problem) const
{
    if (problem.isEmpty())
        return text;
    QStringList path;
    for (QDomNode element = node; !element.isNull() && element != Root;
         element = element.parentNode())
        path.prepend(element.nodeName());
    Throw_Xml(QString("ERR:  The element '%1' of '%2' %3.")
                  .arg(path.join('/'), File_Name.isEmpty() ? QString("the data") : File_Name,
                       problem));
}

QString TXmlFile::Read_Attribute(const QDomElement* node, const QString& name, bool optional) const
{
    Q_ASSERT(node);
    return Attribute_Of(*node, name, optional);
}

QString TXmlFile::Read_Attribute(const QDomNode* node, const QString& name, bool optional) const
{
    Q_ASSERT(node);
    return Attribute_Of(*node, name, optional);
}

QDomElement TXmlFile::Get_Node(const QDomElement* node, const QString& name, bool optional) const
{
    Q_ASSERT(node);
    return Child_Of(*node, node->tagName(), name, optional);
}

QDomElement TXmlFile::Get_Node(const QDomNode* node, const QString& name, bool optional) const
{
    Q_ASSERT(node);
    return Child_Of(*node, node->nodeName(), name, optional);
}

QDomElement TXmlFile::Get_Sibling_Node(const QDomElement* current_node, const QString& name,
                                       bool optional) const
{
    Q_ASSERT(current_node);
    if (current_node->isNull())
        Throw_Xml("ERR:  Cannot get sibling from a NULL node");

    const QDomElement sibling = current_node->nextSiblingElement(name);
    if (sibling.isNull() && !optional)
        Throw_Xml(QString("ERR:  Node '%1' is missing from node '%2' and not optional.")
                      .arg(name, current_node->tagName()));
    return sibling;
}

QDomNode TXmlFile::Get_First_Node(const QDomElement* parent, bool optional) const
{
    Q_ASSERT(parent);
    return First_Child_Of(*parent, parent->tagName(), optional);
}

QDomNode TXmlFile::Get_First_Node(const QDomNode* parent, bool optional) const
{
    Q_ASSERT(parent);
    return First_Child_Of(*parent, parent->localName(), optional);
}

QDomNode TXmlFile::Get_Sibling_Node(const QDomNode* current_node, bool optional) const
{
    Q_ASSERT(current_node);
    const QDomNode sibling = current_node->nextSibling();
    if (sibling.isNull() && !optional)
        Throw_Xml(QString("ERR:  Node '%1' does not have siblings and they are not optional.")
                      .arg(current_node->localName()));
    return sibling;
}

QDomElement TXmlFile::Create_Node(QDomElement* parent, const QString& name)
{
    Q_ASSERT(parent);
    if (parent->isNull())
        Throw_Xml("ERR:  Cannot create node from a NULL node");
    if (name.isEmpty())
        Throw_Xml("ERR:  Cannot create an unnamed node");

    QDomElement child = Document.createElement(name);
    parent->appendChild(child);
    return child;
}

void TXmlFile::Write_Text_Node(QDomElement* node, const QString& text)
{
    Q_ASSERT(node);
    if (node->isNull())
        Throw_Xml("ERR:  Cannot append data to a NULL node");

    const QDomText text_node = Text_Node(text);
    if (text_node.isNull())
        Throw_Xml(QString("ERR:  Cannot write node '%1' with data '%2'").arg(node->tagName(), text));
    node->appendChild(text_node);
}

// Text is checked here by whole characters; only text XML forbids gives a
// null node.
QDomText TXmlFile::Text_Node(const QString& text)
{
    if (Xml_Storable(text) != text)
        return QDomText();
    const TWhole_Characters whole_characters;
    return Document.createTextNode(text);
}

void TXmlFile::Write_Text_Node(QDomElement* node, const double& value, int precision)
{
    Write_Text_Node(node, QString("%1").arg(value, 0, 'f', precision));
}

void TXmlFile::Write_Text_Node(QDomElement* node, int value)
{
    Write_Text_Node(node, QString::number(value));
}

void TXmlFile::Write_Attribute(QDomElement* node, const QString& name, const QString& value)
{
    Q_ASSERT(node);
    if (name.isEmpty())
        Throw_Xml("ERR:  Cannot create an unnamed attribute");
    node->setAttribute(name, value);
}

void TXmlFile::Write_Attribute(QDomElement* node, const QString& name, const double& value,
                               int precision)
{
    Write_Attribute(node, name, QString("%1").arg(value, 0, 'f', precision));
}

void TXmlFile::Write_Attribute(QDomElement* node, const QString& name, int value)
{
    Write_Attribute(node, name, QString::number(value));
}

void TXmlFile::Write_File(bool compact)
{
    const QFileInfo info(File_Name);
    if (info.exists() && !info.isWritable())
        throw TXmlFileException(QString("ERR:  Cannot open file '%1' for writing").arg(File_Name),
                                TXmlFileException::File_Error);

    // Written beside the old file and renamed over it only when complete, so a
    // failure part-way leaves the previous content whole.
    QString reason;
    if (!Save_Bytes_File(File_Name, Serialise(compact), &reason))
        Throw_Xml(QString("ERR:  Cannot write file '%1'.  Reason: %2").arg(File_Name, reason));
}

void TXmlFile::Write_Data(QByteArray* data, bool compact)
{
    Q_ASSERT(data);
    data->clear();
    *data = Serialise(compact);
}

QByteArray TXmlFile::Serialise(bool compact)
{
    QByteArray bytes;
    QTextStream stream(&bytes, QIODevice::WriteOnly);
    Document.save(stream, compact ? 0 : 4, QDomNode::EncodingFromDocument);
    stream.flush();
    if (compact)
    {
        bytes.replace('\r', QByteArray());
        bytes.replace('\n', QByteArray());
    }
    return bytes;
}
