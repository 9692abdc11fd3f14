#include <QtTest>

#include "testsupport.h"
#include "variabledata.h"
#include "xmlfile.h"

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
    void unwritableTextLeavesThePreviousFile();

private:
    QString Path() const { return d_folder->filePath("variables.xml"); }

    std::unique_ptr<QTemporaryDir> d_folder;
};

void TVariableDataTest::init()
{
    d_folder = std::make_unique<QTemporaryDir>();
}

void TVariableDataTest::factoryFileHasTheStoredLayout()
{
    Write_Variable_Data(Path(), Factory_Variable_Data());
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
    Write_Variable_Data(Path(), data);

    const TVariableData read = Read_Variable_Data(Path());
    QCOMPARE(Rows(read), Rows(data));
    QCOMPARE(read.Description, data.Description);

    data.Description.clear();
    Write_Variable_Data(Path(), data);
    QCOMPARE(Read_Variable_Data(Path()).Description, QString());
}

void TVariableDataTest::unwritableTextLeavesThePreviousFile()
{
    Write_Variable_Data(Path(), Factory_Variable_Data());
    const QByteArray before = Test::Read_File(Path());

    TVariableData data = Factory_Variable_Data();
    data.Variables.back().Value = QString("bell") + QChar(7);
    QVERIFY_EXCEPTION_THROWN(Write_Variable_Data(Path(), data), TXmlFileException);
    QCOMPARE(Test::Read_File(Path()), before);
}

QTEST_MAIN(TVariableDataTest)
#include "tst_variabledata.moc"
