#include <QtTest>

#include "smallfilesystem.h"
#include "testsupport.h"
#include "datafiles/savefile.h"
#include "datafiles/expressionsfile.h"
#include "datafiles/xmlfile.h"
#include "datafiles/xmltree.h"
#include "state/editorstate.h"

#include <cerrno>
#include <sys/stat.h>

// Fails the test unless `expression` throws a TXmlFileException of `type`
// carrying exactly `message`.
#define EXPECT_XML_THROW(expression, type, message)                                           \
    do                                                                                       \
    {                                                                                        \
        try                                                                                  \
        {                                                                                    \
            expression;                                                                      \
        }                                                                                    \
        catch (const TXmlFileException& error)                                               \
        {                                                                                    \
            QCOMPARE(error.Message, QString(message));                                       \
            QCOMPARE(error.Type, type);                                                      \
            break;                                                                           \
        }                                                                                    \
        QFAIL("nothing thrown by " #expression);                                             \
    } while (false)

namespace
{
const auto File_Error = TXmlFileException::File_Error;
const auto Xml_Error = TXmlFileException::Xml_Error;

QByteArray Envelope(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n" + body;
}
}

class TXmlFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void openReportsEveryEnvelopeFault();
    void openReadsVersionAndIdentification();
    void openDataChecksTheSameEnvelope();

    void requiredReadsNameWhatIsMissing();
    void optionalReadsGiveEmptyResults();
    void nullNodesAreRefusedWhateverTheFlag();
    void nodeFormsNameTheLocalName();

    void resetAndWriteFileGiveTheEnvelope();
    void compactOutputIsOneLine();
    void writeDataMatchesWriteFile();
    void writerRefusesBadNamesAndCharacters();
    void numbersAreFormatted();
    void markupCharactersRoundTrip();
    void charactersBeyondTheFirstPlaneRoundTrip();
    void resetWithDocumentTypeHasNoDeclaration();

    void hostileFilesAreRefusedBeforeParsing_data();
    void hostileFilesAreRefusedBeforeParsing();
    void markupThatCountsForNothingIsRead();
    void allowedCharactersAndReferencesAreRead();

    void writeProtectedFileIsRefused();
    void failedWriteLeavesPreviousFileWhole_data();
    void failedWriteLeavesPreviousFileWhole();
    void failedFlushOrRenameIsAFailedSave();
    void fullDiskIsReportedInPlainWords();
    void missingFolderIsAnXmlError();

    void oneLineValuesAreRefusedWithFileAndElement_data();
    void oneLineValuesAreRefusedWithFileAndElement();
    void optionsOutsideTheKnownAreRefused_data();
    void optionsOutsideTheKnownAreRefused();

    void treeReadsWhatTheDocumentModelReads_data();
    void treeReadsWhatTheDocumentModelReads();

private:
    QString Path(const QString& name) const { return d_folder->filePath(name); }
    TXmlFile Opened(const QByteArray& bytes, const QString& identification, int* version);

    std::unique_ptr<QTemporaryDir> d_folder;
};

void TXmlFileTest::init()
{
    d_folder = std::make_unique<QTemporaryDir>();
}

TXmlFile TXmlFileTest::Opened(const QByteArray& bytes, const QString& identification, int* version)
{
    Test::Write_File(Path("data.xml"), bytes);
    TXmlFile file;
    file.File_Name = Path("data.xml");
    file.Open(identification, version, true);
    return file;
}

void TXmlFileTest::openReportsEveryEnvelopeFault()
{
    TXmlFile file;
    int version = -1;
    file.File_Name = Path("missing.xml");
    EXPECT_XML_THROW(file.Open("Change_Data", &version, true), File_Error,
                     QString("ERR:  Cannot open file '%1' for reading.").arg(Path("missing.xml")));

    file.File_Name = d_folder->path();
    EXPECT_XML_THROW(file.Open("Change_Data", &version, true), File_Error,
                     QString("ERR:  Cannot open file '%1' for reading.").arg(d_folder->path()));

    Test::Write_File(Path("bad.xml"), "<Options File_Version=\"1\">\n  <Open>\n</Options>\n");
    file.File_Name = Path("bad.xml");
    try
    {
        file.Open("Options", &version, true);
        QFAIL("a malformed file was accepted");
    }
    catch (const TXmlFileException& error)
    {
        QCOMPARE(error.Type, Xml_Error);
        const QRegularExpression pattern(
            "^ERR:  Reference file XML parse error at line (\\d+) column (\\d+): (.+)$");
        const QRegularExpressionMatch match = pattern.match(error.Message);
        QVERIFY2(match.hasMatch(), qPrintable(error.Message));
        QCOMPARE(match.captured(1), QString("3"));
        QVERIFY(match.captured(2).toInt() > 0);
    }

    EXPECT_XML_THROW(Opened(Envelope("<Options File_Version=\"1\"/>"), "Expression_Data", &version),
                     Xml_Error, "ERR:  Identification 'Expression_Data' does not match 'Options'");
    EXPECT_XML_THROW(Opened(Envelope("<options File_Version=\"1\"/>"), "Options", &version),
                     Xml_Error, "ERR:  Identification 'Options' does not match 'options'");
    EXPECT_XML_THROW(Opened(Envelope("<Options/>"), "Options", &version), Xml_Error,
                     "ERR:  The 'File_Version' attribute is missing.");
}

void TXmlFileTest::openReadsVersionAndIdentification()
{
    int version = -1;
    TXmlFile file = Opened(Envelope("<Options File_Version=\"7\"/>"), "Options", &version);
    QCOMPARE(version, 7);
    QCOMPARE(file.Identification, QString("Options"));
    QCOMPARE(file.Root.tagName(), QString("Options"));
    QVERIFY(file.Doc_Type.isEmpty());

    Opened(Envelope("<Options File_Version=\"one\"/>"), "Options", &version);
    QCOMPARE(version, 0);

    // Without a version pointer the attribute is neither required nor read.
    TXmlFile plain = Opened("<Options/>", "Options", nullptr);
    QCOMPARE(plain.Root.tagName(), QString("Options"));
}

void TXmlFileTest::openDataChecksTheSameEnvelope()
{
    TXmlFile file;
    int version = -1;
    file.Open_Data(Envelope("<Change_Data File_Version=\"1\"><Text>x</Text></Change_Data>"),
                   "Change_Data", &version, true);
    QCOMPARE(version, 1);
    const QDomElement text = file.Get_Node(&file.Root, "Text", false);
    QCOMPARE(file.Read_Text_Node(&text, false), QString("x"));

    try
    {
        file.Open_Data("<Change_Data>", "Change_Data", &version, true);
        QFAIL("malformed data was accepted");
    }
    catch (const TXmlFileException& error)
    {
        QCOMPARE(error.Type, Xml_Error);
        QVERIFY2(error.Message.startsWith("ERR:  Reference data XML parse error at line 1 column "),
                 qPrintable(error.Message));
    }
    EXPECT_XML_THROW(file.Open_Data("<Other File_Version=\"1\"/>", "Change_Data", &version, true),
                     Xml_Error, "ERR:  Identification 'Change_Data' does not match 'Other'");
}

void TXmlFileTest::requiredReadsNameWhatIsMissing()
{
    int version = 0;
    TXmlFile file = Opened(Envelope("<Root File_Version=\"1\"><Empty/><Item a=\"1\"/></Root>"),
                           "Root", &version);
    const QDomElement empty = file.Get_Node(&file.Root, "Empty", false);
    const QDomElement item = file.Get_Node(&file.Root, "Item", false);

    EXPECT_XML_THROW(file.Read_Text_Node(&empty, false), Xml_Error,
                     "ERR:  Node Text for 'Empty' is not optional.");
    EXPECT_XML_THROW(file.Read_Attribute(&item, "b", false), Xml_Error,
                     "ERR:  Node attribute 'b' missing and not optional.");
    EXPECT_XML_THROW(file.Get_Node(&file.Root, "Text", false), Xml_Error,
                     "ERR:  Node 'Text' is missing from node 'Root' and not optional.");
    EXPECT_XML_THROW(file.Get_Sibling_Node(&item, "Item", false), Xml_Error,
                     "ERR:  Node 'Item' is missing from node 'Item' and not optional.");
    EXPECT_XML_THROW(file.Get_First_Node(&empty, false), Xml_Error,
                     "ERR:  Parent 'Empty' does not have nodes and they are not optional.");
    const QDomNode item_node = item;
    EXPECT_XML_THROW(file.Get_Sibling_Node(&item_node, false), Xml_Error,
                     "ERR:  Node 'Item' does not have siblings and they are not optional.");

    QCOMPARE(file.Read_Attribute(&item, "a", false), QString("1"));
    QCOMPARE(file.Get_Sibling_Node(&empty, "Item", false).attribute("a"), QString("1"));
}

void TXmlFileTest::optionalReadsGiveEmptyResults()
{
    int version = 0;
    TXmlFile file = Opened(Envelope("<Root File_Version=\"1\"><Empty/></Root>"), "Root", &version);
    const QDomElement empty = file.Get_Node(&file.Root, "Empty", false);
    const QDomNode empty_node = empty;

    QCOMPARE(file.Read_Text_Node(&empty, true), QString());
    QCOMPARE(file.Read_Attribute(&empty, "a", true), QString());
    QCOMPARE(file.Read_Attribute(&empty_node, "a", true), QString());
    QVERIFY(file.Get_Node(&file.Root, "Text", true).isNull());
    QVERIFY(file.Get_Sibling_Node(&empty, "Empty", true).isNull());
    QVERIFY(file.Get_First_Node(&empty, true).isNull());
    QVERIFY(file.Get_Sibling_Node(&empty_node, true).isNull());
}

void TXmlFileTest::nullNodesAreRefusedWhateverTheFlag()
{
    int version = 0;
    TXmlFile file = Opened(Envelope("<Root File_Version=\"1\"/>"), "Root", &version);
    QDomElement missing = file.Get_Node(&file.Root, "Missing", true);
    const QDomNode missing_node = missing;
    QVERIFY(missing.isNull());

    for (const bool optional : {false, true})
    {
        EXPECT_XML_THROW(file.Read_Text_Node(&missing, optional), Xml_Error,
                         "ERR:  Cannot read data from a NULL node");
        EXPECT_XML_THROW(file.Read_Text_Node(&missing_node, optional), Xml_Error,
                         "ERR:  Cannot read data from a NULL node");
        EXPECT_XML_THROW(file.Read_Attribute(&missing, "a", optional), Xml_Error,
                         "ERR:  Cannot read attribute from a NULL node");
        EXPECT_XML_THROW(file.Read_Attribute(&missing_node, "a", optional), Xml_Error,
                         "ERR:  Cannot read attribute from a NULL node");
        EXPECT_XML_THROW(file.Get_Node(&missing, "a", optional), Xml_Error,
                         "ERR:  Cannot get child from a NULL node");
        EXPECT_XML_THROW(file.Get_Node(&missing_node, "a", optional), Xml_Error,
                         "ERR:  Cannot get child from a NULL node");
        EXPECT_XML_THROW(file.Get_Sibling_Node(&missing, "a", optional), Xml_Error,
                         "ERR:  Cannot get sibling from a NULL node");
    }
    EXPECT_XML_THROW(file.Create_Node(&missing, "Child"), Xml_Error,
                     "ERR:  Cannot create node from a NULL node");
    EXPECT_XML_THROW(file.Write_Text_Node(&missing, QString("x")), Xml_Error,
                     "ERR:  Cannot append data to a NULL node");
}

void TXmlFileTest::nodeFormsNameTheLocalName()
{
    int version = 0;
    TXmlFile file = Opened(
        Envelope("<Root File_Version=\"1\" xmlns:k=\"urn:k\"><k:Item/><Text>t</Text></Root>"),
        "Root", &version);
    const QDomNode item = file.Get_First_Node(&file.Root, false);
    QCOMPARE(item.localName(), QString("Item"));
    EXPECT_XML_THROW(file.Read_Text_Node(&item, false), Xml_Error,
                     "ERR:  Node Text for 'Item' is not optional.");
    EXPECT_XML_THROW(file.Get_Node(&item, "x", false), Xml_Error,
                     "ERR:  Node 'x' is missing from node 'k:Item' and not optional.");
    EXPECT_XML_THROW(file.Get_First_Node(&item, false), Xml_Error,
                     "ERR:  Parent 'Item' does not have nodes and they are not optional.");
    const QDomNode text = file.Get_Sibling_Node(&item, false);
    QCOMPARE(file.Read_Text_Node(&text, false), QString("t"));
}

void TXmlFileTest::resetAndWriteFileGiveTheEnvelope()
{
    TXmlFile file;
    file.File_Name = Path("options.xml");
    file.Reset("Options", 1);
    file.Write_File(false);
    QCOMPARE(Test::Read_File(file.File_Name), Envelope("<Options File_Version=\"1\"/>\n"));

    file.File_Name = Path("changes.xml");
    file.Reset("Change_Data", 1);
    QDomElement text = file.Create_Node(&file.Root, "Text");
    file.Write_Text_Node(&text, QString("first line<br>second line"));
    QDomElement nested = file.Create_Node(&file.Root, "Nested");
    QDomElement inner = file.Create_Node(&nested, "Inner");
    file.Write_Attribute(&inner, "Name", QString("ä"));
    file.Write_File(false);
    QCOMPARE(Test::Read_File(file.File_Name),
             Envelope("<Change_Data File_Version=\"1\">\n"
                      "    <Text>first line&lt;br>second line</Text>\n"
                      "    <Nested>\n"
                      "        <Inner Name=\"\xc3\xa4\"/>\n"
                      "    </Nested>\n"
                      "</Change_Data>\n"));
}

void TXmlFileTest::compactOutputIsOneLine()
{
    TXmlFile file;
    file.File_Name = Path("compact.xml");
    file.Reset("Change_Data", 1);
    QDomElement text = file.Create_Node(&file.Root, "Text");
    file.Write_Text_Node(&text, QString("a"));
    QDomElement other = file.Create_Node(&file.Root, "Other");
    file.Create_Node(&other, "Leaf");
    file.Write_File(true);
    QCOMPARE(Test::Read_File(file.File_Name),
             QByteArray("<?xml version=\"1.0\" encoding=\"utf-8\"?><Change_Data File_Version=\"1\">"
                        "<Text>a</Text><Other><Leaf/></Other></Change_Data>"));
}

void TXmlFileTest::writeDataMatchesWriteFile()
{
    TXmlFile file;
    file.Reset("Root", 1);
    QDomElement child = file.Create_Node(&file.Root, "Child");
    file.Write_Text_Node(&child, QString("value"));
    for (const bool compact : {false, true})
    {
        file.File_Name = Path(compact ? "c.xml" : "n.xml");
        file.Write_File(compact);
        QByteArray data("left over");
        file.Write_Data(&data, compact);
        QCOMPARE(data, Test::Read_File(file.File_Name));
    }
}

void TXmlFileTest::writerRefusesBadNamesAndCharacters()
{
    TXmlFile file;
    file.Reset("Root", 1);
    EXPECT_XML_THROW(file.Create_Node(&file.Root, QString()), Xml_Error,
                     "ERR:  Cannot create an unnamed node");
    EXPECT_XML_THROW(file.Write_Attribute(&file.Root, QString(), QString("v")), Xml_Error,
                     "ERR:  Cannot create an unnamed attribute");
    QDomElement text = file.Create_Node(&file.Root, "Text");
    const QString bad = QString("a") + QChar(0x0001) + "b";
    EXPECT_XML_THROW(file.Write_Text_Node(&text, bad), Xml_Error,
                     QString("ERR:  Cannot write node 'Text' with data '%1'").arg(bad));
    QVERIFY(text.firstChild().isNull());
}

void TXmlFileTest::numbersAreFormatted()
{
    TXmlFile file;
    file.Reset("Root", 1);
    QDomElement real = file.Create_Node(&file.Root, "Real");
    file.Write_Text_Node(&real, 2.5, 3);
    QDomElement whole = file.Create_Node(&file.Root, "Whole");
    file.Write_Text_Node(&whole, -17);
    file.Write_Attribute(&file.Root, "Count", 42);
    file.Write_Attribute(&file.Root, "Ratio", 0.125, 2);
    file.Write_Attribute(&file.Root, "Count", 43);

    QCOMPARE(file.Read_Text_Node(&real, false), QString("2.500"));
    QCOMPARE(file.Read_Text_Node(&whole, false), QString("-17"));
    QCOMPARE(file.Read_Attribute(&file.Root, "Count", false), QString("43"));
    QCOMPARE(file.Read_Attribute(&file.Root, "Ratio", false), QString("0.13"));
}

void TXmlFileTest::markupCharactersRoundTrip()
{
    const QString text = "a < b && c > \"d\" 'e' ü\ttab";
    TXmlFile writer;
    writer.File_Name = Path("markup.xml");
    writer.Reset("Root", 1);
    QDomElement node = writer.Create_Node(&writer.Root, "Text");
    writer.Write_Text_Node(&node, text);
    writer.Write_Attribute(&node, "Value", text);
    writer.Write_File(false);

    int version = 0;
    TXmlFile reader;
    reader.File_Name = writer.File_Name;
    reader.Open("Root", &version, true);
    const QDomElement read = reader.Get_Node(&reader.Root, "Text", false);
    QCOMPARE(reader.Read_Text_Node(&read, false), text);
    QCOMPARE(reader.Read_Attribute(&read, "Value", false), text);
}

// The DOM alone refuses such characters (one UTF-16 unit at a time) and
// crashes while parsing a file that holds one.
void TXmlFileTest::charactersBeyondTheFirstPlaneRoundTrip()
{
    const QString text = QString::fromUtf8("release \xF0\x9F\x9A\x80 \xF0\xA0\x80\x80");
    TXmlFile writer;
    writer.File_Name = Path("plane.xml");
    writer.Reset("Root", 1);
    QDomElement node = writer.Create_Node(&writer.Root, "Text");
    writer.Write_Text_Node(&node, text);
    writer.Write_File(false);
    QVERIFY(Test::Read_File(writer.File_Name).contains("\xF0\x9F\x9A\x80"));

    int version = 0;
    TXmlFile reader = Opened(Test::Read_File(writer.File_Name), "Root", &version);
    const QDomElement read = reader.Get_Node(&reader.Root, "Text", false);
    QCOMPARE(reader.Read_Text_Node(&read, false), text);

    // Half of such a character is still refused.
    const QString half = QString("a") + QChar(0xD83D);
    EXPECT_XML_THROW(writer.Write_Text_Node(&node, half), Xml_Error,
                     QString("ERR:  Cannot write node 'Text' with data '%1'").arg(half));
}

void TXmlFileTest::resetWithDocumentTypeHasNoDeclaration()
{
    TXmlFile file;
    file.File_Name = Path("kept.xml");
    file.Reset("Kind", "Root", 2);
    QCOMPARE(file.Root.tagName(), QString("Root"));
    QCOMPARE(file.File_Name, Path("kept.xml"));
    QByteArray data;
    file.Write_Data(&data, false);
    QCOMPARE(data, QByteArray("<!DOCTYPE Kind>\n<Root File_Version=\"2\"/>\n"));

    file.Clear();
    QVERIFY(file.Document.isNull());
}

void TXmlFileTest::hostileFilesAreRefusedBeforeParsing_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");

    const QByteArray root = "<Root File_Version=\"1\">";
    QTest::newRow("50,000 nested elements")
        << Envelope(root + QByteArray("<a>").repeated(50000) + QByteArray("</a>").repeated(50000)
                    + "</Root>")
        << "its elements are nested deeper than 32 levels";
    QTest::newRow("33 levels") << Envelope(root + QByteArray("<a>").repeated(32)
                                           + QByteArray("</a>").repeated(32) + "</Root>")
                               << "its elements are nested deeper than 32 levels";
    QByteArray attributes = "<Root File_Version=\"1\"";
    for (int i = 0; i < 50000; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"v\"";
    QTest::newRow("50,000 attributes") << Envelope(attributes + "/>")
                                       << "an element has more than 64 attributes";
    const QByteArray entity = QByteArray(100 * 1024, 'x');
    QTest::newRow("entity expansion")
        << Envelope("<!DOCTYPE Root [<!ENTITY big \"" + entity + "\">]>\n" + root
                    + QByteArray("&big;").repeated(5000) + "</Root>")
        << "it holds a document type declaration";
    QTest::newRow("external entity")
        << Envelope("<!DOCTYPE Root SYSTEM \"/etc/passwd\">" + root + "</Root>")
        << "it holds a document type declaration";
    QTest::newRow("UTF-16") << QByteArray("\xFF\xFE<\0R\0o\0o\0t\0/\0>\0", 16)
                            << "it is not encoded in UTF-8";
    QTest::newRow("another encoding")
        << QByteArray("<?xml version=\"1.0\" encoding=\"IBM037\"?>\n<Root/>")
        << "it is not encoded in UTF-8";
    QTest::newRow("too large") << Envelope(root + QByteArray(16 * 1024 * 1024, ' ') + "</Root>")
                               << "it is larger than 16 MiB";
    const QByteArray text = Envelope(root + "<Text>%{name}</Text></Root>");
    const int at = text.indexOf("%{") + 1;
    QTest::newRow("invalid UTF-8") << QByteArray(text).replace(at, 1, "\xFF")
                                   << QString("it is not valid UTF-8 (at byte %1)").arg(at);
    QTest::newRow("overlong form") << QByteArray(text).replace(at, 1, "\xC1\xBB")
                                   << QString("it is not valid UTF-8 (at byte %1)").arg(at);
    QTest::newRow("surrogate") << QByteArray(text).replace(at, 1, "\xED\xA0\x80")
                               << QString("it is not valid UTF-8 (at byte %1)").arg(at);
    QTest::newRow("cut short") << Envelope(root + "</Root>\xE2\x82")
                               << QString("it is not valid UTF-8 (at byte %1)")
                                      .arg(Envelope(root + "</Root>").size());
    QTest::newRow("control character")
        << QByteArray(text).replace(at, 1, "\x1B")
        << QString("it holds a character XML forbids (U+001B at byte %1)").arg(at);
    QTest::newRow("U+FFFF") << QByteArray(text).replace(at, 1, "\xEF\xBF\xBF")
                            << QString("it holds a character XML forbids (U+FFFF at byte %1)")
                                   .arg(at);
    QTest::newRow("reference to NUL")
        << QByteArray(text).replace(at, 1, "&#0;")
        << QString("it refers to a character XML forbids (\"&#0;\" at byte %1)").arg(at);
    QTest::newRow("hexadecimal reference in an attribute")
        << Envelope("<Root File_Version=\"&#x1f;\"/>")
        << QString("it refers to a character XML forbids (\"&#x1f;\" at byte %1)")
               .arg(Envelope("<Root File_Version=\"").size());
    QTest::newRow("reference beyond the last character")
        << QByteArray(text).replace(at, 1, "&#x1100000000000000000041;")
        << QString("it refers to a character XML forbids (\"&#x110000000000000000004\" at byte %1)")
               .arg(at);
}

// Each is refused by name, file and data alike, before the document parser
// could overflow the stack or spend minutes and gigabytes on it.
void TXmlFileTest::hostileFilesAreRefusedBeforeParsing()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    int version = 0;
    EXPECT_XML_THROW(Opened(bytes, "Root", &version), Xml_Error,
                     QString("ERR:  The file '%1' is refused: %2.").arg(Path("data.xml"), reason));
    TXmlFile file;
    EXPECT_XML_THROW(file.Open_Data(bytes, "Root", &version, true), Xml_Error,
                     QString("ERR:  The data is refused: %1.").arg(reason));
}

// Markup characters inside comments, character data, processing
// instructions and attribute values open no element; 32 levels and 64
// attributes are still read.
void TXmlFileTest::markupThatCountsForNothingIsRead()
{
    QByteArray attributes;
    for (int i = 1; i < 64; ++i)
        attributes += " a" + QByteArray::number(i) + "='>/'";
    const QByteArray bytes =
        Envelope("<Root File_Version=\"1\"" + attributes + ">\n<!-- " + QByteArray("<a>").repeated(100)
                 + " -->\n<?note " + QByteArray("<b>").repeated(100) + "?>\n<Text k=\"/>\">"
                 + "<![CDATA[" + QByteArray("<c>").repeated(100) + "]]></Text>"
                 + QByteArray("<d>").repeated(30) + "<e/>" + QByteArray("</d>").repeated(30)
                 + "</Root>");
    int version = 0;
    TXmlFile file = Opened(bytes, "Root", &version);
    QCOMPARE(version, 1);
    const QDomElement text = file.Get_Node(&file.Root, "Text", false);
    QCOMPARE(file.Read_Text_Node(&text, false), QString("<c>").repeated(100));
    QCOMPARE(file.Read_Attribute(&file.Root, "a63", false), QString(">/"));
}

// Characters and references XML allows pass the check whole.
void TXmlFileTest::allowedCharactersAndReferencesAreRead()
{
    const QByteArray bytes = Envelope("<Root File_Version=\"1\">\t<Text>&#9;&#x41;&amp;&#65533;"
                                      "\xC3\xA9\xEF\xBF\xBD\xF0\x9F\x98\x80&#xE9;</Text></Root>");
    int version = 0;
    TXmlFile file = Opened(bytes, "Root", &version);
    const QDomElement text = file.Get_Node(&file.Root, "Text", false);
    QCOMPARE(file.Read_Text_Node(&text, false),
             QString::fromUtf8("\tA&\xEF\xBF\xBD\xC3\xA9\xEF\xBF\xBD\xF0\x9F\x98\x80\xC3\xA9"));
}

void TXmlFileTest::writeProtectedFileIsRefused()
{
    // A folder that the unprivileged user may enter, holding a read-only file.
    QTemporaryDir folder(QDir::tempPath() + "/kv-protected-XXXXXX");
    ::chmod(QFile::encodeName(folder.path()).constData(), 0755);
    const QString path = folder.filePath("protected.xml");
    Test::Write_File(path, "old content");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    TXmlFile file;
    file.File_Name = path;
    file.Reset("Root", 1);
    {
        Test::TUnprivileged unprivileged;
        EXPECT_XML_THROW(file.Write_File(false), File_Error,
                         QString("ERR:  Cannot open file '%1' for writing").arg(path));
    }
    QCOMPARE(Test::Read_File(path), QByteArray("old content"));
}

void TXmlFileTest::failedWriteLeavesPreviousFileWhole_data()
{
    QTest::addColumn<int>("lines");
    // A small document stays in the file's buffer until the very end.
    QTest::newRow("smaller than the buffer") << 100;
    QTest::newRow("larger than the buffer") << 2000;
}

void TXmlFileTest::failedWriteLeavesPreviousFileWhole()
{
    QFETCH(int, lines);
    const QString path = Path("previous.xml");
    const QByteArray previous = Envelope("<Root File_Version=\"1\"/>\n");
    Test::Write_File(path, previous);

    TXmlFile file;
    file.File_Name = path;
    file.Reset("Root", 1);
    for (int i = 0; i < lines; ++i)
    {
        QDomElement line = file.Create_Node(&file.Root, "Line");
        file.Write_Text_Node(&line, QString("text of a line that makes the file large"));
    }
    {
        Test::TFileSizeLimit limit(4096);
        try
        {
            file.Write_File(false);
            QFAIL("a write beyond the file size limit was reported as success");
        }
        catch (const TXmlFileException& error)
        {
            QCOMPARE(error.Type, Xml_Error);
            QCOMPARE(error.Message,
                     QString("ERR:  Cannot write file '%1'.  Reason: File too large").arg(path));
        }
    }
    QCOMPARE(Test::Read_File(path), previous);
    QCOMPARE(QDir(d_folder->path()).entryList(QDir::Files), QStringList{"previous.xml"});
}

// A flush to the disk or a rename that fails is a failed save; the old file
// stays and no temporary file is left.
void TXmlFileTest::failedFlushOrRenameIsAFailedSave()
{
    struct THooks
    {
        ~THooks()
        {
            Save_Test_Hooks::Synchronise = nullptr;
            Save_Test_Hooks::Before_Commit = nullptr;
        }
    } hooks;
    const QString path = Path("previous.xml");
    const QByteArray previous = Envelope("<Root File_Version=\"1\"/>\n");
    Test::Write_File(path, previous);
    QString reason;

    Save_Test_Hooks::Synchronise = [](int) {
        errno = EIO;
        return -1;
    };
    QVERIFY(!Save_Bytes_File(path, "new", &reason));
    QCOMPARE(reason, QString("Input/output error"));
    QCOMPARE(Test::Read_File(path), previous);
    QCOMPARE(QDir(d_folder->path()).entryList(QDir::Files), QStringList{"previous.xml"});
    Save_Test_Hooks::Synchronise = nullptr;

    // The rename fails for real: a folder with contents has taken the name.
    Save_Test_Hooks::Before_Commit = [&path] {
        QFile::remove(path);
        QDir().mkpath(path + "/inside");
    };
    QVERIFY(!Save_Bytes_File(path, "new", &reason));
    QVERIFY2(!reason.isEmpty(), "no reason given");
    QVERIFY(QFileInfo(path).isDir());
    QCOMPARE(QDir(d_folder->path()).entryList(QDir::Files), QStringList());
}

void TXmlFileTest::fullDiskIsReportedInPlainWords()
{
    Test::TSmallFileSystem disk(d_folder->path(), 64);
    if (!disk.Is_Mounted())
        QSKIP(qPrintable(disk.Why_Not()));
    const QString path = Path("options.xml");
    TXmlFile file;
    file.File_Name = path;
    file.Reset("Options", 1);
    file.Write_File(false);
    const QByteArray previous = Test::Read_File(path);

    disk.Fill();
    QDomElement text = file.Create_Node(&file.Root, "Text");
    file.Write_Text_Node(&text, QString("a change that finds no room"));
    EXPECT_XML_THROW(file.Write_File(false), Xml_Error,
                     QString("ERR:  Cannot write file '%1'.  Reason: No space left on device").arg(path));
    disk.Unfill();
    QCOMPARE(Test::Read_File(path), previous);
    QCOMPARE(QDir(d_folder->path()).entryList(QDir::Files), QStringList{"options.xml"});
}

void TXmlFileTest::missingFolderIsAnXmlError()
{
    TXmlFile file;
    file.File_Name = Path("no/such/folder/data.xml");
    file.Reset("Root", 1);
    try
    {
        file.Write_File(false);
        QFAIL("writing into a missing folder was reported as success");
    }
    catch (const TXmlFileException& error)
    {
        QCOMPARE(error.Type, Xml_Error);
        QVERIFY2(error.Message.startsWith(
                     QString("ERR:  Cannot write file '%1'.  Reason: ").arg(file.File_Name)),
                 qPrintable(error.Message));
    }
}

namespace
{
// Each data file with one value to be filled in (at "@").
const std::map<QString, QByteArray>& Data_File_Bodies()
{
    static const std::map<QString, QByteArray> bodies = [] {
        QByteArray expressions = "<Expression_Data File_Version=\"1\">";
        for (const TExpressionField& field : TExpressionsFile::Fields())
            expressions += "<" + field.Name.toUtf8() + ">" +
                           (field.Name == "Build_Path" ? "@" : "x") + "</" +
                           field.Name.toUtf8() + ">";
        return std::map<QString, QByteArray>{
            {"variables.xml",
             "<Variable_Data File_Version=\"1\"><Description>d</Description><Variables>"
             "<Variable><Name>%define name</Name><Value>@</Value></Variable>"
             "</Variables></Variable_Data>"},
            {"expressions.xml", expressions + "</Expression_Data>"},
            {"libraries.xml",
             "<Library_Data File_Version=\"1\"><Targets/><Libraries/>"
             "<Detection_Choices><With_Plugin>@</With_Plugin></Detection_Choices>"
             "</Library_Data>"},
            {"requires.xml",
             "<Requires File_Version=\"1\"><Package><Name>@</Name><Libraries/></Package>"
             "</Requires>"},
            {"options.xml",
             "<Options File_Version=\"1\"><Make_Generator>Generator_QMake</Make_Generator>"
             "<Requires_Option>Requires_Auto_Update</Requires_Option>"
             "<Qt_Installation><Major>5</Major><Prefix>@</Prefix></Qt_Installation></Options>"}};
    }();
    return bodies;
}

// Why `file`, holding `body`, was refused; empty when it was read.
QString Refusal_Of(const QString& folder, const QString& file, const QByteArray& body)
{
    Test::Write_File(folder + "/" + file, Envelope(body));
    std::vector<TDefaultsProblem> problems;
    Load_Editor_State(folder, &problems);
    for (const TDefaultsProblem& problem : problems)
        if (problem.File == folder + "/" + file)
            return problem.Reason;
    return QString();
}
}

void TXmlFileTest::oneLineValuesAreRefusedWithFileAndElement_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("element");
    QTest::newRow("variable value") << "variables.xml" << "Variables/Variable/Value";
    QTest::newRow("path expression") << "expressions.xml" << "Build_Path";
    QTest::newRow("detection choice") << "libraries.xml" << "Detection_Choices/With_Plugin";
    QTest::newRow("required package") << "requires.xml" << "Package/Name";
    QTest::newRow("Qt prefix") << "options.xml" << "Qt_Installation/Prefix";
}

// A line break would open a new line, and with it a new section, in the
// project file or the spec; a value of many thousand characters is repeated
// in the spec. The message shows the value escaped, or cut with its length.
void TXmlFileTest::oneLineValuesAreRefusedWithFileAndElement()
{
    QFETCH(QString, file);
    QFETCH(QString, element);
    const QByteArray body = Data_File_Bodies().at(file);
    const QString path = Path(file);
    QCOMPARE(Refusal_Of(d_folder->path(), file, QByteArray(body).replace("@", "/opt/ok")),
             QString());
    const std::pair<QByteArray, QString> controls[] = {
        {"a&#10;b", "a\\x0Ab"}, {"a&#13;b", "a\\x0Db"}, {"a&#9;b", "a\\x09b"}};
    for (const auto& [value, shown] : controls)
        QCOMPARE(Refusal_Of(d_folder->path(), file, QByteArray(body).replace("@", value)),
                 QString("ERR:  The element '%1' of '%2' holds a line break or another control "
                         "character: '%3'.")
                     .arg(element, path, shown));
    const QString reason = Refusal_Of(d_folder->path(), file,
                                      QByteArray(body).replace("@", "/" + QByteArray(199999, 'x')));
    QVERIFY2(reason.startsWith(QString("ERR:  The element '%1' of '%2' is 200000 characters "
                                       "long, more than the 4096 allowed")
                                   .arg(element, path)),
             qPrintable(reason));
}

void TXmlFileTest::optionsOutsideTheKnownAreRefused_data()
{
    QTest::addColumn<QByteArray>("from");
    QTest::addColumn<QByteArray>("to");
    QTest::addColumn<QString>("refusal");
    const QString generator = "'Make_Generator' of '%1' holds '%2', but it must be one of "
                              "\"Generator_QMake\", \"Generator_CMake\".";
    for (const char* name : {"Generator_Ninja", "generator_cmake"})
        QTest::newRow(name) << QByteArray("Generator_QMake") << QByteArray(name)
                            << generator.arg("%1", name);
    QTest::newRow("requirements")
        << QByteArray("Requires_Auto_Update") << QByteArray("Requires_Sometimes")
        << "'Requires_Option' of '%1' holds 'Requires_Sometimes', but it must be one of "
           "\"Requires_Auto_Update\", \"Requires_Manual_Update\", \"Requires_Ignored\".";
    const QString major = "'Qt_Installation/Major' of '%1' holds '%2', but the Qt major version "
                          "must be 5 or 6 (or 0, unknown).";
    for (const char* number : {"4", "7", "-1", "5abc", "05"})
        QTest::newRow(number) << QByteArray("<Major>5") << "<Major>" + QByteArray(number)
                              << major.arg("%1", number);
    const QString prefix = "'Qt_Installation/Prefix' of '%1' holds '%2', but the Qt prefix must "
                           "be an absolute path of letters, digits and \"/._+-\".";
    for (const char* path : {"opt/Qt", "/opt/my Qt", "/opt/$(reboot)", "/opt/`id`"})
        QTest::newRow(path) << QByteArray("@") << QByteArray(path) << prefix.arg("%1", path);
}

// The generator, the requirements and the recorded Qt each decide what the
// spec runs; a value none of them knows is not taken for another.
void TXmlFileTest::optionsOutsideTheKnownAreRefused()
{
    QFETCH(QByteArray, from);
    QFETCH(QByteArray, to);
    QFETCH(QString, refusal);
    const QByteArray body = Data_File_Bodies().at("options.xml");
    QCOMPARE(Refusal_Of(d_folder->path(), "options.xml", QByteArray(body).replace("@", "/opt/Qt")),
             QString());
    QCOMPARE(Refusal_Of(d_folder->path(), "options.xml",
                        QByteArray(body).replace(from, to).replace("@", "/opt/Qt")),
             "ERR:  The element " + refusal.arg(Path("options.xml")));
}

void TXmlFileTest::treeReadsWhatTheDocumentModelReads_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addRow("text") << QByteArray("<A><N>x</N></A>");
    QTest::addRow("references") << QByteArray("<A><N>a&amp;b&#65;c&lt;</N></A>");
    QTest::addRow("white space alone") << QByteArray("<A><N> \n\t </N></A>");
    QTest::addRow("a referred space") << QByteArray("<A><N>&#32;</N></A>");
    QTest::addRow("a blank character section") << QByteArray("<A><N><![CDATA[ ]]></N></A>");
    QTest::addRow("text, then a section") << QByteArray("<A><N>x<![CDATA[y]]>z</N></A>");
    QTest::addRow("a comment first") << QByteArray("<A><N><!--c-->x</N></A>");
    QTest::addRow("blank, then a comment") << QByteArray("<A><N>  <!--c-->x</N></A>");
    QTest::addRow("an instruction first") << QByteArray("<A><N><?p q?>x</N></A>");
    QTest::addRow("an element first") << QByteArray("<A><N><b>y</b>x</N></A>");
    QTest::addRow("empty") << QByteArray("<A><N/></A>");
    QTest::addRow("the first of several") << QByteArray("<A><N>1</N><N>2</N></A><A><N>3</N></A>");
    QTest::addRow("a deeper one first") << QByteArray("<A><B><N>deep</N></B><N>x</N></A>");
    QTest::addRow("child missing") << QByteArray("<A><M>x</M></A>");
    QTest::addRow("list missing") << QByteArray("<B><A><N>x</N></A></B>");
    QTest::addRow("a line feed") << QByteArray("<A><N>x&#10;y</N></A>");
    QTest::addRow("a tab") << QByteArray("<A><N>x\ty</N></A>");
    QTest::addRow("beyond the first plane") << QByteArray("<A><N>\xF0\x9F\x98\x80</N></A>");
    QTest::addRow("a default namespace") << QByteArray("<A xmlns=\"urn:x\"><N>x</N></A>");
    QTest::addRow("a prefix") << QByteArray("<p:A xmlns:p=\"urn:x\"><p:N>x</p:N></p:A>");
    QTest::addRow("an unbound prefix") << QByteArray("<p:A><N>x</N></p:A>");
    QTest::addRow("unclosed") << QByteArray("<A><N>x</A>");
}

// The light tree gives every text the document object model gives, and
// refuses with the same words what it refuses; of a malformed file only that
// it is one.
void TXmlFileTest::treeReadsWhatTheDocumentModelReads()
{
    QFETCH(QByteArray, body);
    Test::Write_File(Path("data.xml"), Envelope("<R File_Version=\"7\">" + body + "</R>"));
    const auto outcome = [](auto read) {
        try
        {
            return "read: " + read();
        }
        catch (const TXmlFileException& error)
        {
            return "refused: " + (error.Message.contains("XML parse error")
                                      ? QString("malformed")
                                      : error.Message);
        }
    };
    const QString modelled = outcome([this] {
        int version = 0;
        TXmlFile file;
        file.File_Name = Path("data.xml");
        file.Open("R", &version, true);
        const QDomElement list = file.Get_Node(&file.Root, "A", false);
        const QDomElement value = file.Get_Node(&list, "N", false);
        return file.Read_Line_Node(&value, false) + " " + QString::number(version);
    });
    const QString tree = outcome([this] {
        int version = 0;
        TXmlTree file;
        file.Open(Path("data.xml"), "R", &version);
        const int value = file.Child(file.Child(TXmlTree::Root, "A", false), "N", false);
        return file.Line_Text(value, false) + " " + QString::number(version);
    });
    QCOMPARE(tree, modelled);
}

QTEST_GUILESS_MAIN(TXmlFileTest)
#include "tst_xmlfile.moc"
