#include <QtTest>

#include "datafiles/specdata.h"
#include "testsupport.h"

#include <functional>

#include <sys/stat.h>

namespace
{
const QByteArray Example =
    "Kestrelvantory:Version=1:Type=Spec_Data\n"
    "\n"
    "Variables_Begin:\n"
    "[Name]:%define name[Value]:program_name\n"
    "[Name]:%define version[Value]:1.0\n"
    "[Name]:Name:[Value]:%{name}\n"
    "Variables_End:\n"
    "\n"
    "Active_Targets_Begin:\n"
    "lib\n"
    "platforms\n"
    "Active_Targets_End:\n"
    "\n"
    "Active_Libraries_Begin:\n"
    "[Target]:lib\n"
    "[Dylib]:libQt5Core.so\n"
    "[Dylib]:libQt5Gui.so\n"
    "[Target]:platforms\n"
    "[Plugin]:libqxcb.so\n"
    "Active_Libraries_End:\n"
    "\n"
    "Description_Begin:\n"
    "Description of the program\n"
    "Description_End:\n"
    "\n"
    "ChangeLog_Begin:\n"
    "# Newest revisions added to the top; oldest revisions at the bottom.\n"
    "* Sun Nov 6 2016 <author name>\n"
    "- Initial RPM release\n"
    "ChangeLog_End:\n";

TSpecData Example_Data()
{
    TSpecData data;
    data.Variables = {{"%define name", "program_name"}, {"%define version", "1.0"},
                      {"Name:", "%{name}"}};
    data.Active_Targets = {
        {"lib", {{TTypes::Library_Dylib, "libQt5Core.so.5.15.2"},
                 {TTypes::Library_Dylib, "libQt5Gui.so.5.15.2"}}},
        {"platforms", {{TTypes::Library_Plugin, "libqxcb.so"}}}};
    data.Description = "Description of the program";
    data.Change_Log = "# Newest revisions added to the top; oldest revisions at the bottom.\n"
                      "* Sun Nov 6 2016 <author name>\n"
                      "- Initial RPM release";
    return data;
}

TSpecDataReading Read(const QByteArray& body)
{
    return Read_Spec_Data("Kestrelvantory:Version=1:Type=Spec_Data\n" + body);
}

bool Same(const std::vector<TSpecVariable>& left, const std::vector<TSpecVariable>& right)
{
    return std::equal(left.begin(), left.end(), right.begin(), right.end(),
                      [](const auto& a, const auto& b) { return a.Name == b.Name && a.Value == b.Value; });
}

QStringList Selections(const std::vector<TSpecDataSelection>& selections)
{
    QStringList texts;
    for (const TSpecDataSelection& selection : selections)
        texts << selection.Target + "/" + selection.Prefix;
    return texts;
}
}

class TSpecDataTest : public QObject
{
    Q_OBJECT

private slots:
    void writesTheExampleByteForByte();
    void readsBackWhatWasWritten();
    void detectionChoicesFollowTheChangeLog();
    void qmlSectionFollowsTheLibrariesAndReadsBack();
    void emptyAndCommentOnlyFilesHoldNoSection();
    void headerMustComeFirst();
    void variableLinesNeedNameAndValue();
    void linesAreTrimmedAndMarkersRecognisedByTheirBeginning();
    void sectionsWithoutLinesAreStillPresent();
    void libraryLinesFollowTheCurrentTarget();
    void unreadableFileIsReported();
    void oversizedFileIsRefused();
    void controlCharactersAndLongValuesAreRefusedWhenRead();
    void writerRefusesWhatWouldReadBackAsOtherLines();
};

void TSpecDataTest::writesTheExampleByteForByte()
{
    QCOMPARE(Spec_Data_Text(Example_Data()).toUtf8(), Example);

    TSpecData empty;
    QCOMPARE(Spec_Data_Text(empty).toUtf8(),
             QByteArray("Kestrelvantory:Version=1:Type=Spec_Data\n\n"
                        "Variables_Begin:\nVariables_End:\n\n"
                        "Active_Targets_Begin:\nActive_Targets_End:\n\n"
                        "Active_Libraries_Begin:\nActive_Libraries_End:\n\n"
                        "Description_Begin:\n\nDescription_End:\n\n"
                        "ChangeLog_Begin:\n\nChangeLog_End:\n"));
}

void TSpecDataTest::readsBackWhatWasWritten()
{
    TSpecData data = Example_Data();
    data.Variables.push_back({"Summary:", "Grüße, 日本"});
    data.Description = "Zeile eins – ä\nline two";
    const TSpecDataReading reading = Read_Spec_Data(Spec_Data_Text(data).toUtf8());
    QVERIFY(reading.Ok);
    const TSpecDataContents& contents = reading.Contents;
    QVERIFY(Same(*contents.Variables, data.Variables));
    QCOMPARE(*contents.Active_Targets, QStringList({"lib", "platforms"}));
    QCOMPARE(Selections(*contents.Active_Libraries),
             QStringList({"lib/libQt5Core.so", "lib/libQt5Gui.so", "platforms/libqxcb.so"}));
    QCOMPARE(*contents.Description, QStringList({"Zeile eins – ä", "line two"}));
    // The comment line of the change log is dropped on reading.
    QCOMPARE(*contents.Change_Log,
             QStringList({"* Sun Nov 6 2016 <author name>", "- Initial RPM release"}));
}

void TSpecDataTest::detectionChoicesFollowTheChangeLog()
{
    TSpecData data = Example_Data();
    data.Choices = {{"sqldrivers", "lib/libown.so"}, {"iconengines"}, {"/opt/own/libown.so.2"}};
    const QString text = Spec_Data_Text(data);
    QCOMPARE(text, Spec_Data_Text(Example_Data()) +
                       "\nDetection_Choices_Begin:\n"
                       "[With_Plugin]:sqldrivers\n[With_Plugin]:lib/libown.so\n"
                       "[Without_Plugin]:iconengines\n[With_Library]:/opt/own/libown.so.2\n"
                       "Detection_Choices_End:\n");
    const TSpecDataReading reading = Read_Spec_Data(text.toUtf8());
    QVERIFY(reading.Ok);
    QVERIFY(*reading.Contents.Choices == data.Choices);
    QCOMPARE(reading.Contents.Change_Log->size(), 2);
    QVERIFY(!Read_Spec_Data(Example).Contents.Choices);
}

// The section stands where a reader without it finds only lines outside
// any section, after the end of the libraries.
void TSpecDataTest::qmlSectionFollowsTheLibrariesAndReadsBack()
{
    TSpecData data = Example_Data();
    data.Qml.Sources = "/home/ana/src/viewer/qml";
    data.Qml.Targets = {{"qml", {{TTypes::Library_Qml_Module, "QtQuick.2"},
                                 {TTypes::Library_Qml_Module, "QtQuick/Controls.2"}}}};
    const QByteArray text = Spec_Data_Text(data).toUtf8();
    const QByteArray section = "Active_Libraries_End:\n\n"
                               "Qml_Modules_Begin:\n"
                               "[Sources]:/home/ana/src/viewer/qml\n"
                               "[Target]:qml\n"
                               "[Module]:QtQuick.2\n"
                               "[Module]:QtQuick/Controls.2\n"
                               "Qml_Modules_End:\n\n"
                               "Description_Begin:\n";
    QCOMPARE(QByteArray(text).replace(section, "Active_Libraries_End:\n\nDescription_Begin:\n"),
             Example);

    const TSpecDataReading reading = Read_Spec_Data(text);
    QVERIFY(reading.Ok && reading.Contents.Qml);
    QCOMPARE(reading.Contents.Qml->Sources, data.Qml.Sources);
    QCOMPARE(reading.Contents.Qml->Targets.size(), size_t(1));
    QCOMPARE(reading.Contents.Qml->Targets[0].Name, QString("qml"));
    QCOMPARE(reading.Contents.Qml->Targets[0].Libraries.size(), size_t(2));
    QCOMPARE(reading.Contents.Qml->Targets[0].Libraries[1].Name, QString("QtQuick/Controls.2"));
    QCOMPARE(Selections(*reading.Contents.Active_Libraries),
             QStringList({"lib/libQt5Core.so", "lib/libQt5Gui.so", "platforms/libqxcb.so"}));
    QVERIFY(!Read_Spec_Data(Example).Contents.Qml);

    const TSpecDataReading orphan = Read("Qml_Modules_Begin:\n[Module]:QtQuick.2\nQml_Modules_End:\n");
    QVERIFY(orphan.Ok && orphan.Contents.Qml && orphan.Contents.Qml->Targets.empty());
}

void TSpecDataTest::emptyAndCommentOnlyFilesHoldNoSection()
{
    for (const QByteArray& bytes : {QByteArray(), QByteArray("\n  \n# only a comment\n\t#x\n")})
    {
        const TSpecDataReading reading = Read_Spec_Data(bytes);
        QVERIFY(reading.Ok);
        QVERIFY(!reading.Contents.Variables && !reading.Contents.Active_Targets
                && !reading.Contents.Active_Libraries && !reading.Contents.Description
                && !reading.Contents.Change_Log);
    }
}

void TSpecDataTest::headerMustComeFirst()
{
    const QString message = "ERR:  File is not a Kestrelvantory spec_data file.";
    for (const QByteArray& bytes :
         {QByteArray("Kestrelvantory:Version=2:Type=Spec_Data\n"),
          QByteArray("Variables_Begin:\nKestrelvantory:Version=1:Type=Spec_Data\n"),
          QByteArray("kestrelvantory:version=1:type=spec_data\n")})
    {
        const TSpecDataReading reading = Read_Spec_Data(bytes);
        QVERIFY(!reading.Ok);
        QCOMPARE(reading.Error, message);
    }
    QVERIFY(Read_Spec_Data("# comment\n   Kestrelvantory:Version=1:Type=Spec_Data  \r\n").Ok);
}

void TSpecDataTest::variableLinesNeedNameAndValue()
{
    TSpecDataReading reading = Read("Variables_Begin:\n[Name]:Release:[Value]:%{release}\n"
                                    "junk [Name]:A[Value]:b[Value]:c\n");
    QVERIFY(reading.Ok);
    QVERIFY(Same(*reading.Contents.Variables, {{"Release:", "%{release}"}, {"A", "b[Value]:c"}}));

    reading = Read("Variables_Begin:\n[Name]:A[Value]:1\n[Name]:Release:\n[Name]:B[Value]:2\n");
    QVERIFY(!reading.Ok);
    QCOMPARE(reading.Error, QString("ERR:  Kestrelvantory variable data missing [Value]: value."));

    reading = Read("Variables_Begin:\nRelease:[Value]:1\n");
    QVERIFY(!reading.Ok);
    QCOMPARE(reading.Error, QString("ERR:  Kestrelvantory variable data missing [Name]: value."));

    // The order of the two tags matters: a value tag before the name tag is not found.
    reading = Read("Variables_Begin:\n[Value]:1[Name]:A\n");
    QCOMPARE(reading.Error, QString("ERR:  Kestrelvantory variable data missing [Value]: value."));
}

void TSpecDataTest::linesAreTrimmedAndMarkersRecognisedByTheirBeginning()
{
    const TSpecDataReading reading =
        Read("stray line outside any section\r\n"
             "  Description_Begin:  \r\n"
             "   first line   \r\n"
             "\r\n"
             "# dropped\r\n"
             "ChangeLog_End: with more words\r\n"
             "after the end of the section\r\n"
             "ChangeLog_Begin:x\n"
             "entry\n");
    QVERIFY(reading.Ok);
    QCOMPARE(*reading.Contents.Description, QStringList({"first line"}));
    QCOMPARE(*reading.Contents.Change_Log, QStringList({"entry"}));
    QVERIFY(!reading.Contents.Variables);
}

void TSpecDataTest::sectionsWithoutLinesAreStillPresent()
{
    const TSpecDataReading reading = Read(Spec_Data_Text(TSpecData()).mid(QString(Spec_Data_Header).size()).toUtf8());
    QVERIFY(reading.Ok);
    QVERIFY(reading.Contents.Variables && reading.Contents.Variables->empty());
    QCOMPARE(*reading.Contents.Active_Targets, QStringList());
    QVERIFY(reading.Contents.Active_Libraries && reading.Contents.Active_Libraries->empty());
    QCOMPARE(*reading.Contents.Description, QStringList());
    QCOMPARE(*reading.Contents.Change_Log, QStringList());

    // A section given twice holds what its last appearance holds.
    const TSpecDataReading twice =
        Read("Active_Targets_Begin:\na\nActive_Targets_End:\nActive_Targets_Begin:\nb\n");
    QCOMPARE(*twice.Contents.Active_Targets, QStringList({"b"}));
}

void TSpecDataTest::libraryLinesFollowTheCurrentTarget()
{
    const TSpecDataReading reading = Read("Active_Libraries_Begin:\n"
                                          "[Dylib]:libearly.so\n"
                                          "[Target]:unknown\n"
                                          "[Plugin]:libqxcb.so\n"
                                          "[Library]:ignored\n"
                                          "[Target]:lib\n"
                                          "[Dylib]:libQt5Core.so\n"
                                          "[Plugin]:\n");
    QCOMPARE(Selections(*reading.Contents.Active_Libraries),
             QStringList({"/libearly.so", "unknown/libqxcb.so", "lib/libQt5Core.so", "lib/"}));
}

void TSpecDataTest::unreadableFileIsReported()
{
    const TSpecDataReading reading = Read_Spec_Data_File("/no/such/project.spec_data");
    QVERIFY(!reading.Ok);
    QCOMPARE(reading.Error, QString("ERR:  Cannot open file '/no/such/project.spec_data' for reading."));

    QTemporaryDir folder;
    Test::Write_File(folder.filePath("p.spec_data"), Example);
    QVERIFY(Read_Spec_Data_File(folder.filePath("p.spec_data")).Ok);

    // Neither waited for nor read without end.
    const QString pipe = folder.filePath("pipe.spec_data");
    QVERIFY(mkfifo(QFile::encodeName(pipe).constData(), 0600) == 0);
    for (const QString& name : {pipe, QString("/dev/zero"), folder.path()})
        QCOMPARE(Read_Spec_Data_File(name).Error,
                 QString("ERR:  Cannot open file '%1' for reading.").arg(name));
}

// A project holds some kilobytes; a larger file is refused before any line
// is read, as the editor would take minutes over its lines.
void TSpecDataTest::oversizedFileIsRefused()
{
    QTemporaryDir folder;
    const QByteArray line = "[Name]:A[Value]:1\n";
    const QByteArray head = "Kestrelvantory:Version=1:Type=Spec_Data\nVariables_Begin:\n";
    QByteArray bytes = head + line.repeated((Spec_Data_Max_Size - head.size()) / line.size());
    Test::Write_File(folder.filePath("large.spec_data"), bytes);
    QVERIFY(Read_Spec_Data_File(folder.filePath("large.spec_data")).Ok);

    bytes += QByteArray(Spec_Data_Max_Size - bytes.size() + 1, '\n');
    Test::Write_File(folder.filePath("large.spec_data"), bytes);
    const TSpecDataReading reading = Read_Spec_Data_File(folder.filePath("large.spec_data"));
    QVERIFY(!reading.Ok);
    QCOMPARE(reading.Error, QString("ERR:  The file is larger than 1 MiB, more than any project holds."));
    QVERIFY(!reading.Contents.Variables);
}

// A value is one line: a control character in it (a carriage return, a
// form feed) or a value of many thousand characters is refused with its
// line; the description and the change log may hold tabs.
void TSpecDataTest::controlCharactersAndLongValuesAreRefusedWhenRead()
{
    const std::pair<QByteArray, QString> refused[] = {
        {"Variables_Begin:\n[Name]:%define name[Value]:a\rb\n",
         "ERR:  Line 3 (a variable value) holds a line break or another control character: "
         "'a\\x0Db'."},
        {"Variables_Begin:\n[Name]:%define\tname[Value]:a\n",
         "ERR:  Line 3 (a variable name) holds a line break or another control character: "
         "'%define\\x09name'."},
        {"Active_Targets_Begin:\nlib\x01\n",
         "ERR:  Line 3 (a value of the project) holds a line break or another control "
         "character: 'lib\\x01'."},
        {"Detection_Choices_Begin:\n[With_Plugin]:a\x0b\x0c" + QByteArray(300, 'b') + "\n",
         "ERR:  Line 3 (a value of the project) holds a line break or another control "
         "character: '[With_Plugin]:a\\x0B\\x0C" + QString(183, 'b') + "... (317 characters)'."},
        {"Description_Begin:\ntext\x1b[31m\n",
         "ERR:  Line 3 (a value of the project) holds a control character other than a tab: "
         "'text\\x1B[31m'."},
        {"Qml_Modules_Begin:\n[Sources]:/" + QByteArray(4096, 's') + "\n",
         "ERR:  Line 3 (a value of the project) is 4107 characters long, more than the 4096 "
         "allowed."}};
    for (const auto& [body, error] : refused)
    {
        const TSpecDataReading reading = Read(body);
        QVERIFY(!reading.Ok);
        QCOMPARE(reading.Error, error);
    }
    const TSpecDataReading tabs = Read("Description_Begin:\na\tb\nDescription_End:\n");
    QVERIFY(tabs.Ok);
    QCOMPARE(*tabs.Contents.Description, QStringList{"a\tb"});
}

// The project file is read line by line: a value holding a line break, or a
// line of the description that begins with a section marker, would read
// back as lines nobody wrote, opening a section of its own.
void TSpecDataTest::writerRefusesWhatWouldReadBackAsOtherLines()
{
    QCOMPARE(Spec_Data_Refusal(Example_Data()), QString());
    TSpecData injected = Example_Data();
    injected.Choices.With_Plugins =
        QStringList{"xcb\nVariables_Begin:\n[Name]:%define name[Value]:x"};
    QCOMPARE(Spec_Data_Refusal(injected),
             QString("ERR  The detection choice holds a line break or another control "
                     "character: 'xcb\\x0AVariables_Begin:\\x0A[Name]:%define name[Value]:x'."));

    const std::pair<std::function<void(TSpecData*)>, QString> cases[] = {
        {[](TSpecData* data) { data->Description = "First line\n  Variables_Begin: again"; },
         "ERR  Line 2 of the description begins with a section marker of the project: "
         "'  Variables_Begin: again'."},
        {[](TSpecData* data) { data->Change_Log += "\r"; },
         "ERR  The change log holds a control character other than a line feed or a tab"},
        {[](TSpecData* data) { data->Variables.push_back({"A[Value]:B", "C"}); },
         "ERR  The variable name 'A[Value]:B' holds \"[Value]:\", which ends a name in a "
         "project."},
        {[](TSpecData* data) { data->Active_Targets.push_back({"ChangeLog_End:", {}}); },
         "ERR  The target name begins with a section marker of the project: 'ChangeLog_End:'."},
        {[](TSpecData* data) { data->Qml.Sources = QString(5000, 'q'); },
         "ERR  The QML sources folder is 5000 characters long, more than the 4096 allowed."},
        {[](TSpecData* data) { data->Package.Program = "/opt/demo\nPackage_End:"; },
         "ERR  The Build Package field [Program]: holds a line break or another control "
         "character: '/opt/demo\\x0APackage_End:'."}};
    for (const auto& [change, refusal] : cases)
    {
        TSpecData data = Example_Data();
        change(&data);
        QVERIFY2(Spec_Data_Refusal(data).startsWith(refusal), qPrintable(Spec_Data_Refusal(data)));
    }
}

QTEST_GUILESS_MAIN(TSpecDataTest)
#include "tst_specdata.moc"
