#include <QtTest>

#include "testsupport.h"
#include "datafiles/variabledata.h"
#include "datafiles/xmlfile.h"

namespace
{
QStringList Rows(const TVariableData& data)
{
    QStringList rows;
    for (const TSpecVariable& variable : data.Variables)
        rows << variable.Name + "=" + variable.Value;
    return rows;
}
}

class TVariableDataTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void factoryFileHasTheStoredLayout();
    void textsComeBackAsWritten();
    void textsXmlCannotHoldLoseOnlyThoseCharacters();

private:
    QString Path() const { return d_folder->filePath("variables.xml"); }
    TVariableData Read_Back() const
    {
        TXmlFile xml;
        TVariablesFile::Open(&xml, d_folder->path());
        return TVariablesFile::Read_V1(xml);
    }

    std::unique_ptr<QTemporaryDir> d_folder;
};

void TVariableDataTest::init()
{
    d_folder = std::make_unique<QTemporaryDir>();
}

void TVariableDataTest::factoryFileHasTheStoredLayout()
{
    TVariablesFile::Write(d_folder->path(), TVariablesFile::Factory_Data());
    const QByteArray bytes = Test::Read_File(Path());

    QVERIFY2(bytes.startsWith("<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
                              "<Variable_Data File_Version=\"1\">\n"
                              "    <Description>Description of the program</Description>\n"
                              "    <Variables>\n"
                              "        <Variable>\n"
                              "            <Name>%define _topdir</Name>\n"
                              "            <Value>%{getenv:HOME}/rpmbuild</Value>\n"
                              "        </Variable>\n"
                              "        <Variable>\n"
                              "            <Name>%define name</Name>\n"
                              "            <Value>program_name</Value>\n"
                              "        </Variable>\n"),
             bytes.constData());
    QCOMPARE(bytes.count("<Variable>"), 14);
    QVERIFY(bytes.endsWith("    </Variables>\n</Variable_Data>\n"));
}

void TVariableDataTest::textsComeBackAsWritten()
{
    TVariableData data;
    data.Variables = {{"Summary:", "a <b> & \"c\" 'd'"},
                      {"Requires:", ""},
                      {"Requires:", "  padded  "},
                      {"%define name", "Grüße – ✓"}};
    data.Description = "first\n\n  indented\r\nlast";
    TVariablesFile::Write(d_folder->path(), data);

    const TVariableData read = Read_Back();
    QCOMPARE(Rows(read), Rows(data));
    QCOMPARE(read.Description, data.Description);

    data.Description.clear();
    TVariablesFile::Write(d_folder->path(), data);
    QCOMPARE(Read_Back().Description, QString());
}

// A control character pasted into a panel (such as the escapes of coloured
// terminal output) cannot stand in an XML file; only that character is lost.
void TVariableDataTest::textsXmlCannotHoldLoseOnlyThoseCharacters()
{
    TVariableData data = TVariablesFile::Factory_Data();
    data.Variables.back().Value = QString("bell") + QChar(7) + " ring 😀";
    data.Description = QString("\x1b[1mbold\x1b[0m\tand ") + QChar(0xD800) + "tab";
    TVariablesFile::Write(d_folder->path(), data);

    const TVariableData read = Read_Back();
    QCOMPARE(read.Variables.back().Value, QString("bell ring 😀"));
    QCOMPARE(read.Description, QString("[1mbold[0m\tand tab"));
}

QTEST_MAIN(TVariableDataTest)
#include "tst_variabledata.moc"
