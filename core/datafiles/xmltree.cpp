#include "datafiles/xmltree.h"

#include <QStringList>

#include <cstring>
#include <expat.h>
#include <memory>
#include <new>

#include "datafiles/xmlfile.h"
#include "datafiles/xmlfileexception.h"
#include "text/valuelimits.h"

namespace
{
const char* const Version_Attribute = "File_Version";

[[noreturn]] void Throw_Xml(const QString& message)
{
    throw TXmlFileException(message, TXmlFileException::Xml_Error);
}

// Text the document object model's parser passes over: white space alone,
// however it was written.
bool Is_Blank(const QByteArray& text)
{
    for (const char character : text)
        if (character != ' ' && character != '\t' && character != '\n' && character != '\r')
            return false;
    return true;
}
}

// Builds the tree from expat's events. Text comes in pieces (a line, a
// reference): the pieces between two pieces of markup are one text, as they
// are one text node of the document object model.
class TXmlTree::TBuilder
{
public:
    explicit TBuilder(TXmlTree* tree) : d_tree(tree) {}

    static void XMLCALL Start(void* data, const XML_Char* name, const XML_Char** attributes)
    {
        auto* builder = static_cast<TBuilder*>(data);
        builder->End_Text();
        builder->d_current = builder->d_tree->Add_Element(builder->d_current, builder->Shared(name));
        if (builder->d_current == Root)
            builder->Root_Attributes(attributes);
    }
    static void XMLCALL End(void* data, const XML_Char*)
    {
        auto* builder = static_cast<TBuilder*>(data);
        builder->End_Text();
        builder->d_current = builder->d_tree->d_elements[builder->d_current].Parent;
    }
    static void XMLCALL Text(void* data, const XML_Char* text, int length)
    {
        static_cast<TBuilder*>(data)->d_text.append(text, length);
    }
    static void XMLCALL Section_Start(void* data)
    {
        static_cast<TBuilder*>(data)->End_Text();
    }
    static void XMLCALL Section_End(void* data)
    {
        static_cast<TBuilder*>(data)->End_Text(true);
    }
    static void XMLCALL Comment(void* data, const XML_Char*)
    {
        static_cast<TBuilder*>(data)->Other_Content();
    }
    static void XMLCALL Instruction(void* data, const XML_Char*, const XML_Char*)
    {
        static_cast<TBuilder*>(data)->Other_Content();
    }

private:
    // The text gathered so far ends; only a section keeps white space alone.
    void End_Text(bool section = false)
    {
        QByteArray text;
        std::swap(text, d_text);
        if (text.isEmpty() || (!section && Is_Blank(text)))
            return;
        if (d_current != None && !d_tree->d_elements[d_current].Has_Content)
        {
            d_tree->d_elements[d_current].Text = QString::fromUtf8(text);
            d_tree->d_elements[d_current].Has_Text = true;
        }
        Mark_Content();
    }

    void Other_Content()
    {
        End_Text();
        Mark_Content();
    }

    void Mark_Content()
    {
        if (d_current != None)
            d_tree->d_elements[d_current].Has_Content = true;
    }

    void Root_Attributes(const XML_Char** attributes)
    {
        for (; attributes[0] != nullptr; attributes += 2)
            if (qstrcmp(attributes[0], Version_Attribute) == 0)
            {
                d_tree->d_has_version = true;
                d_tree->d_version = QString::fromUtf8(attributes[1]);
            }
    }

    // The names of a data file are few and repeated in every record: each
    // is kept once and shared.
    QString Shared(const char* name)
    {
        for (const auto& known : d_names)
            if (known.first == name)
                return known.second;
        // Elements are known by their local names, without a prefix, as the
        // document object model knows them.
        const char* const local = strrchr(name, ':');
        d_names.emplace_back(QByteArray(name), QString::fromUtf8(local ? local + 1 : name));
        return d_names.back().second;
    }

    TXmlTree* const d_tree;
    int d_current = None;
    QByteArray d_text;
    std::vector<std::pair<QByteArray, QString>> d_names;
};

void TXmlTree::Open(const QString& file_name, const QString& identification, int* version)
{
    d_file_name = file_name;
    Parse(Read_Checked_Xml(file_name));
    if (d_elements.empty() || d_elements.front().Name != identification)
        Throw_Xml(QString("ERR:  Identification '%1' does not match '%2'")
                      .arg(identification,
                           d_elements.empty() ? QString() : d_elements.front().Name));
    if (!d_has_version)
        Throw_Xml("ERR:  The 'File_Version' attribute is missing.");
    *version = d_version.toInt(nullptr, 10);
}

void TXmlTree::Parse(const QByteArray& bytes)
{
    d_elements.clear();
    TBuilder builder(this);
    const std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(
        XML_ParserCreate(nullptr), &XML_ParserFree);
    if (!parser)
        throw std::bad_alloc();
    XML_SetUserData(parser.get(), &builder);
    XML_SetElementHandler(parser.get(), &TBuilder::Start, &TBuilder::End);
    XML_SetCharacterDataHandler(parser.get(), &TBuilder::Text);
    XML_SetCdataSectionHandler(parser.get(), &TBuilder::Section_Start, &TBuilder::Section_End);
    XML_SetCommentHandler(parser.get(), &TBuilder::Comment);
    XML_SetProcessingInstructionHandler(parser.get(), &TBuilder::Instruction);
    if (XML_Parse(parser.get(), bytes.constData(), bytes.size(), XML_TRUE) == XML_STATUS_ERROR)
        throw Xml_Parse_Error("file", XML_GetCurrentLineNumber(parser.get()),
                              XML_GetCurrentColumnNumber(parser.get()) + 1,
                              QString::fromUtf8(XML_ErrorString(XML_GetErrorCode(parser.get()))));
}

int TXmlTree::Add_Element(int parent, const QString& name)
{
    const int added = static_cast<int>(d_elements.size());
    TElement element;
    element.Name = name;
    element.Parent = parent;
    d_elements.push_back(element);
    if (parent == None)
        return added;
    TElement& above = d_elements[parent];
    above.Has_Content = true;
    if (above.Last_Child == None)
        above.First_Child = added;
    else
        d_elements[above.Last_Child].Next_Sibling = added;
    above.Last_Child = added;
    return added;
}

int TXmlTree::Child(int element, const QString& name, bool optional) const
{
    int child = d_elements[element].First_Child;
    while (child != None && d_elements[child].Name != name)
        child = d_elements[child].Next_Sibling;
    if (child == None && !optional)
        Throw_Xml(QString("ERR:  Node '%1' is missing from node '%2' and not optional.")
                      .arg(name, d_elements[element].Name));
    return child;
}

int TXmlTree::Next_Sibling(int element) const
{
    int sibling = d_elements[element].Next_Sibling;
    while (sibling != None && d_elements[sibling].Name != d_elements[element].Name)
        sibling = d_elements[sibling].Next_Sibling;
    return sibling;
}

QString TXmlTree::Line_Text(int element, bool optional) const
{
    if (element == None)
        Throw_Xml("ERR:  Cannot read data from a NULL node");
    const TElement& read = d_elements[element];
    if (!read.Has_Text)
    {
        if (!optional)
            Throw_Xml(QString("ERR:  Node Text for '%1' is not optional.").arg(read.Name));
        return QString();
    }
    const QString problem = Line_Value_Problem(read.Text);
    if (problem.isEmpty())
        return read.Text;
    Throw_Xml(QString("ERR:  The element '%1' of '%2' %3.")
                  .arg(Path_Of(element), d_file_name, problem));
}

// The element is named with the elements above it, below the root.
QString TXmlTree::Path_Of(int element) const
{
    QStringList path;
    for (; element != None && element != Root; element = d_elements[element].Parent)
        path.prepend(d_elements[element].Name);
    return path.join('/');
}
