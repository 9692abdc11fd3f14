#include <QtTest>

#include "datafiles/librariesfile.h"
#include "testsupport.h"
#include "datafiles/xmlfile.h"

namespace
{
QByteArray Libraries_Document(const QByteArray& body, const QByteArray& version = "1")
{
    return "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<Library_Data File_Version=\"" + version
           + "\">\n" + body + "</Library_Data>\n";
}

struct TLists
{
    std::vector<TTargetRecord> Targets;
    std::vector<TLibraryRecord> Libraries;
};
}

class TLibrariesFileTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void writesRecordsInListOrder();
    void roundTripKeepsEveryField();
    void detectionChoicesFollowInAnElementOfTheirOwn();
    void qmlModulesAreStoredApart();
    void listsWithoutRecordsReadAsEmpty();
    void unknownTextsReadAsPluginAndUnchecked();
    void incompleteFilesAreRefused_data();
    void incompleteFilesAreRefused();
    void otherVersionsAreRefused();
    void textXmlCannotHoldIsDropped();
    void readingTakesTimeInProportionToTheSize();

private:
    QString Folder() const { return d_folder->path(); }
    QString Path() const { return d_folder->filePath("libraries.xml"); }
    TLists Read() const;

    std::unique_ptr<QTemporaryDir> d_folder;
};

void TLibrariesFileTest::init()
{
    d_folder = std::make_unique<QTemporaryDir>();
}

TLists TLibrariesFileTest::Read() const
{
    TLibrariesData read = TLibrariesFile::Read(Folder());
    return {std::move(read.Targets), std::move(read.Libraries)};
}

void TLibrariesFileTest::writesRecordsInListOrder()
{
    TLibrariesFile::Write(Folder(), {{"lib", true}, {"bearer", false}},
                          {{"lib", "libQt5Gui.so.5.15.2", TTypes::Library_Dylib, true},
                           {"bearer", "libq<&>.so", TTypes::Library_Plugin, false}});

    QCOMPARE(Test::Read_File(Path()),
             Libraries_Document("    <Targets>\n"
                                "        <Target>\n"
                                "            <Name>lib</Name>\n"
                                "            <Checked>Yes</Checked>\n"
                                "        </Target>\n"
                                "        <Target>\n"
                                "            <Name>bearer</Name>\n"
                                "            <Checked>No</Checked>\n"
                                "        </Target>\n"
                                "    </Targets>\n"
                                "    <Libraries>\n"
                                "        <Library>\n"
                                "            <Target_Name>lib</Target_Name>\n"
                                "            <Name>libQt5Gui.so.5.15.2</Name>\n"
                                "            <Type>DYLIB</Type>\n"
                                "            <Checked>Yes</Checked>\n"
                                "        </Library>\n"
                                "        <Library>\n"
                                "            <Target_Name>bearer</Target_Name>\n"
                                "            <Name>libq&lt;&amp;>.so</Name>\n"
                                "            <Type>PLUGIN</Type>\n"
                                "            <Checked>No</Checked>\n"
                                "        </Library>\n"
                                "    </Libraries>\n"));
}

void TLibrariesFileTest::roundTripKeepsEveryField()
{
    TLibrariesFile::Write(Folder(), {{"styles", false}, {"lib", true}},
                          {{"ghost", "libghost.so.1", TTypes::Library_Dylib, false},
                           {"lib", "libqx é.so", TTypes::Library_Plugin, true}});

    const TLists lists = Read();
    QCOMPARE(lists.Targets.size(), size_t(2));
    QCOMPARE(lists.Targets[0].Name, QString("styles"));
    QCOMPARE(lists.Targets[0].Checked, false);
    QCOMPARE(lists.Targets[1].Name, QString("lib"));
    QCOMPARE(lists.Targets[1].Checked, true);
    QCOMPARE(lists.Libraries.size(), size_t(2));
    QCOMPARE(lists.Libraries[0].Target_Name, QString("ghost"));
    QCOMPARE(lists.Libraries[0].Name, QString("libghost.so.1"));
    QCOMPARE(lists.Libraries[0].Type, TTypes::Library_Dylib);
    QCOMPARE(lists.Libraries[0].Checked, false);
    QCOMPARE(lists.Libraries[1].Name, QString("libqx é.so"));
    QCOMPARE(lists.Libraries[1].Type, TTypes::Library_Plugin);
    QCOMPARE(lists.Libraries[1].Checked, true);
}

void TLibrariesFileTest::detectionChoicesFollowInAnElementOfTheirOwn()
{
    const std::vector<TTargetRecord> targets = {{"lib", true}};
    const std::vector<TLibraryRecord> libraries = {{"lib", "libown.so", TTypes::Library_Dylib, true}};
    TLibrariesFile::Write(Folder(), targets, libraries);
    const QByteArray without = Test::Read_File(Path());
    const TDetectionChoices choices = {{"sqldrivers", "lib/libown.so"},
                                       {"imageformats/libqjpeg.so"},
                                       {"/opt/own/lib<1>.so"}};
    TLibrariesFile::Write(Folder(), targets, libraries, choices);

    // The records stay as they were, for readers that know nothing more.
    const QByteArray with = Test::Read_File(Path());
    QCOMPARE(with, QByteArray(without).replace(
                       "</Libraries>\n",
                       "</Libraries>\n"
                       "    <Detection_Choices>\n"
                       "        <With_Plugin>sqldrivers</With_Plugin>\n"
                       "        <With_Plugin>lib/libown.so</With_Plugin>\n"
                       "        <Without_Plugin>imageformats/libqjpeg.so</Without_Plugin>\n"
                       "        <With_Library>/opt/own/lib&lt;1>.so</With_Library>\n"
                       "    </Detection_Choices>\n"));
    const TLists lists = Read();
    QCOMPARE(lists.Libraries.size(), size_t(1));
    QVERIFY(TLibrariesFile::Read(Folder()).Choices == choices);

    TLibrariesFile::Write(Folder(), targets, libraries);
    QVERIFY(TLibrariesFile::Read(Folder()).Choices.Is_Empty());
}

// The lists of files hold nothing a reader of them could mistake for a
// plug-in; the QML records read back with their kind.
void TLibrariesFileTest::qmlModulesAreStoredApart()
{
    TLibrariesFile::Write(Folder(), {{"qml", true, TTypes::Target_Qml_Modules}, {"lib", true}},
                         {{"qml", "QtQuick/Controls.2", TTypes::Library_Qml_Module, true},
                          {"lib", "libQt5Gui.so.5.15.2", TTypes::Library_Dylib, true},
                          {"qml", "QtQuick.2", TTypes::Library_Qml_Module, false}});
    QCOMPARE(Test::Read_File(Path()),
             Libraries_Document("    <Targets>\n"
                                "        <Target>\n"
                                "            <Name>lib</Name>\n"
                                "            <Checked>Yes</Checked>\n"
                                "        </Target>\n"
                                "    </Targets>\n"
                                "    <Libraries>\n"
                                "        <Library>\n"
                                "            <Target_Name>lib</Target_Name>\n"
                                "            <Name>libQt5Gui.so.5.15.2</Name>\n"
                                "            <Type>DYLIB</Type>\n"
                                "            <Checked>Yes</Checked>\n"
                                "        </Library>\n"
                                "    </Libraries>\n"
                                "    <Qml_Targets>\n"
                                "        <Target>\n"
                                "            <Name>qml</Name>\n"
                                "            <Checked>Yes</Checked>\n"
                                "        </Target>\n"
                                "    </Qml_Targets>\n"
                                "    <Qml_Modules>\n"
                                "        <Module>\n"
                                "            <Target_Name>qml</Target_Name>\n"
                                "            <Name>QtQuick/Controls.2</Name>\n"
                                "            <Checked>Yes</Checked>\n"
                                "        </Module>\n"
                                "        <Module>\n"
                                "            <Target_Name>qml</Target_Name>\n"
                                "            <Name>QtQuick.2</Name>\n"
                                "            <Checked>No</Checked>\n"
                                "        </Module>\n"
                                "    </Qml_Modules>\n"));
    const TLists lists = Read();
    QCOMPARE(lists.Targets.size(), size_t(2));
    QCOMPARE(lists.Targets[1].Name, QString("qml"));
    QCOMPARE(lists.Targets[1].Kind, TTypes::Target_Qml_Modules);
    QCOMPARE(lists.Targets[0].Kind, TTypes::Target_Files);
    QCOMPARE(lists.Libraries.size(), size_t(3));
    QCOMPARE(lists.Libraries[1].Name, QString("QtQuick/Controls.2"));
    QCOMPARE(lists.Libraries[1].Type, TTypes::Library_Qml_Module);
    QCOMPARE(lists.Libraries[1].Checked, true);
    QCOMPARE(lists.Libraries[2].Checked, false);
}

void TLibrariesFileTest::listsWithoutRecordsReadAsEmpty()
{
    TLibrariesFile::Write(Folder(), {}, {});
    QCOMPARE(Test::Read_File(Path()), Libraries_Document("    <Targets/>\n    <Libraries/>\n"));
    TLists lists = Read();
    QVERIFY(lists.Targets.empty());
    QVERIFY(lists.Libraries.empty());

    TLibrariesFile::Write(Folder(), {{"lib", true}}, {});
    lists = Read();
    QCOMPARE(lists.Targets.size(), size_t(1));
    QVERIFY(lists.Libraries.empty());

    Test::Write_File(Path(), Libraries_Document("<Targets>\n</Targets><Libraries><Other/></Libraries>"));
    lists = Read();
    QVERIFY(lists.Targets.empty());
    QVERIFY(lists.Libraries.empty());
}

void TLibrariesFileTest::unknownTextsReadAsPluginAndUnchecked()
{
    Test::Write_File(Path(), Libraries_Document("<Targets><Target><Checked>yes</Checked>"
                                                "<Name>lib</Name></Target></Targets>"
                                                "<Libraries><Library><Checked>YES</Checked>"
                                                "<Type>dylib</Type><Name>libQt5Gui.so</Name>"
                                                "<Target_Name>lib</Target_Name></Library>"
                                                "</Libraries>"));
    const TLists lists = Read();
    QCOMPARE(lists.Targets.size(), size_t(1));
    QCOMPARE(lists.Targets[0].Name, QString("lib"));
    QCOMPARE(lists.Targets[0].Checked, false);
    QCOMPARE(lists.Libraries.size(), size_t(1));
    QCOMPARE(lists.Libraries[0].Type, TTypes::Library_Plugin);
    QCOMPARE(lists.Libraries[0].Checked, false);
    QCOMPARE(lists.Libraries[0].Name, QString("libQt5Gui.so"));
}

void TLibrariesFileTest::incompleteFilesAreRefused_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("message");

    const QByteArray library = "<Library><Target_Name>lib</Target_Name><Name>a.so</Name>"
                               "<Type>DYLIB</Type><Checked>Yes</Checked></Library>";
    QTest::newRow("no Libraries") << QByteArray("<Targets/>")
                                  << "ERR:  Node 'Libraries' is missing from node "
                                     "'Library_Data' and not optional.";
    QTest::newRow("no Targets") << "<Libraries>" + library + "</Libraries>"
                                << "ERR:  Node 'Targets' is missing from node "
                                   "'Library_Data' and not optional.";
    QTest::newRow("no Checked") << QByteArray("<Targets><Target><Name>lib</Name></Target>"
                                              "</Targets><Libraries/>")
                                << "ERR:  Node 'Checked' is missing from node 'Target' "
                                   "and not optional.";
    QTest::newRow("empty Name") << QByteArray("<Targets/><Libraries><Library><Target_Name>lib"
                                              "</Target_Name><Name></Name><Type>DYLIB</Type>"
                                              "<Checked>Yes</Checked></Library></Libraries>")
                                << "ERR:  Node Text for 'Name' is not optional.";
}

void TLibrariesFileTest::incompleteFilesAreRefused()
{
    QFETCH(QByteArray, body);
    QFETCH(QString, message);

    Test::Write_File(Path(), Libraries_Document(body));
    try
    {
        Read();
        QFAIL("an incomplete file was read");
    }
    catch (const TXmlFileException& error)
    {
        QCOMPARE(error.Message, message);
        QCOMPARE(error.Type, TXmlFileException::Xml_Error);
    }
}

void TLibrariesFileTest::otherVersionsAreRefused()
{
    for (const QByteArray version : {"2", "0", "x"})
    {
        Test::Write_File(Path(), Libraries_Document("<Targets/><Libraries/>", version));
        try
        {
            Read();
            QFAIL("another version was read");
        }
        catch (const TXmlFileException& error)
        {
            QCOMPARE(error.Message, QString("Library datafile version not recognized"));
            QCOMPARE(error.Type, TXmlFileException::Xml_Error);
        }
    }
}

void TLibrariesFileTest::textXmlCannotHoldIsDropped()
{
    TLibrariesFile::Write(Folder(), {{QString("bad") + QChar(1), true}},
                          {{"lib", QString("libfoo.so") + QChar(0x1b), TTypes::Library_Dylib, true}});
    const TLists lists = Read();
    QCOMPARE(lists.Targets.at(0).Name, QString("bad"));
    QCOMPARE(lists.Libraries.at(0).Name, QString("libfoo.so"));
}

// Eight times the libraries take about eight times as long to read, not
// sixty-four: the checks before parsing look at each byte a bounded number
// of times.
// The bound of 24 leaves room for a busy machine; the quadratic reading
// gave well over 30.
void TLibrariesFileTest::readingTakesTimeInProportionToTheSize()
{
    const auto write = [](const QString& folder, int count) {
        std::vector<TLibraryRecord> libraries;
        for (int index = 0; index < count; ++index)
            libraries.push_back({"t" + QString::number(index / 10),
                                 QString("libt%1.so.1.2.3").arg(index), TTypes::Library_Dylib,
                                 false});
        TLibrariesFile::Write(folder, {{"t0", true}}, libraries);
    };
    const auto read = [](const QString& folder) {
        return [folder] { TLibrariesFile::Read(folder); };
    };
    QTemporaryDir smaller;
    QTemporaryDir larger;
    write(smaller.path(), 500);
    write(larger.path(), 4000);
    const double ratio = Test::Time_Ratio(read(smaller.path()), read(larger.path()));
    QVERIFY2(ratio < 24,
             qPrintable(QString("8 times the libraries took %1 times as long").arg(ratio)));
}

QTEST_MAIN(TLibrariesFileTest)
#include "tst_librariesfile.moc"
