#ifndef XMLTREE_H
#define XMLTREE_H

#include <QByteArray>
#include <QString>
#include <vector>

// A data file of many records read in one pass, with expat, into a light
// tree of its elements: each element's name and the text it begins with,
// nothing else.
// It reads what TXmlFile reads as TXmlFile reads it (the same envelope, the
// same refusals, the first of several equally named children, text only
// where it comes first and is not white space alone), at a fraction of the
// cost of a document object model. Every failure is thrown as
// TXmlFileException.
class TXmlTree
{
public:
    // Element indices; the root is 0.
    static const int None = -1;
    static const int Root = 0;

    // Reads `file_name`, refused as TXmlFile::Open refuses it, whose root
    // must be named `identification` and carry a "File_Version" attribute.
    void Open(const QString& file_name, const QString& identification, int* version);

    // The first child element of `element` named `name`; None, or thrown
    // when not `optional`.
    int Child(int element, const QString& name, bool optional) const;
    // The next sibling element of `element` named as it is; None at the end.
    int Next_Sibling(int element) const;
    // The text `element` begins with, as one value of one line, refused as
    // TXmlFile::Read_Line_Node refuses it.
    QString Line_Text(int element, bool optional) const;

private:
    class TBuilder;

    struct TElement
    {
        QString Name;
        QString Text;
        int Parent = None;
        int First_Child = None;
        int Last_Child = None;
        int Next_Sibling = None;
        bool Has_Text = false;
        bool Has_Content = false;  // something came before any text
    };

    void Parse(const QByteArray& bytes);
    int Add_Element(int parent, const QString& name);
    QString Path_Of(int element) const;

    std::vector<TElement> d_elements;
    QString d_file_name;
    QString d_version;
    bool d_has_version = false;
};

#endif
