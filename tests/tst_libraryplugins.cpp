#include <QtTest>

#include "libraries/libraryplugins.h"
#include "libraries/pluginfamilies.h"

class TLibraryPluginsTest : public QObject
{
    Q_OBJECT

private slots:
    void everyKeyFitsWithAndWithoutVersion_data();
    void everyKeyFitsWithAndWithoutVersion();
    void namesOutsideTheTableGiveNothing();
    void familiesGoWithTheModulesThatLoadThem();
};

void TLibraryPluginsTest::everyKeyFitsWithAndWithoutVersion_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("plugins");

    const QList<QPair<QString, QString>> rows = {
        {"libQt5Gui.so", "platforms, platforminputcontexts"},
        {"libQt6Gui.so", "platforms, platforminputcontexts, virtualkeyboard"},
        {"libQt5OpenGL.so", "xcbglintegrations"},
        {"libQt6OpenGL.so", "xcbglintegrations"},
        {"libQt5XcbQpa.so", "xcbglintegrations"},
        {"libQt6XcbQpa.so", "xcbglintegrations"},
        {"libQt5Svg.so", "iconengines"},
        {"libQt6Svg.so", "iconengines"},
        {"libQt5PrintSupport.so", "printsupport"},
        {"libQt6PrintSupport.so", "printsupport"},
        {"libQt5Network.so", "bearer"},
        {"libQt6Network.so", "networkaccess, networkinformation, tls"},
        {"libQt5Sql.so", "sqldrivers"},
        {"libQt6Sql.so", "sqldrivers"},
        {"libQt5Positioning.so", "position"},
        {"libQt6Positioning.so", "position"},
        {"libQt5Multimedia.so", "audio, mediaservice"},
        {"libQt6Multimedia.so", "multimedia"},
        {"libQt63DRender.so", "geometryloaders, renderers, renderplugins, sceneparsers"},
        {"libQt6Sensors.so", "sensorgestures sensors"},
        {"libQt6SerialBus.so", "canbus"},
        {"libQt6TextToSpeech.so", "texttospeech"},
        {"libQt6Location.so", "geoservices"},
        {"libQt5Quick.so", "scenegraph"},
        {"libQt6Quick.so", "qmltooling, scenegraph"},
        {"Qt6Declarative.so", "qmltooling, scenegraph"},
        {"libQt6Gamepad.so", "gamepads"},
        {"libQt6WebView.so", "webview"},
    };
    for (const auto& row : rows)
        QTest::newRow(qPrintable(row.first)) << row.first << row.second;
}

void TLibraryPluginsTest::everyKeyFitsWithAndWithoutVersion()
{
    QFETCH(QString, key);
    QFETCH(QString, plugins);

    QCOMPARE(Suggested_Plugins(key), plugins);
    QCOMPARE(Suggested_Plugins(key + ".6.2.0"), plugins);
    QCOMPARE(Suggested_Plugins(key + ".5.15.2"), plugins);
    QCOMPARE(Suggested_Plugins(key.toLower() + ".5"), QString());
    QCOMPARE(Suggested_Plugins(key.toUpper()), QString());
}

void TLibraryPluginsTest::namesOutsideTheTableGiveNothing()
{
    QCOMPARE(Suggested_Plugins("libQt6Declarative.so.6"), QString());
    QCOMPARE(Suggested_Plugins("Qt6Declarative.so.6"), QString("qmltooling, scenegraph"));
    QCOMPARE(Suggested_Plugins("libqxcb.so"), QString());
    QCOMPARE(Suggested_Plugins("libQt5Core.so.5.15.2"), QString());
    QCOMPARE(Suggested_Plugins("libQt5Gu"), QString());
    QCOMPARE(Suggested_Plugins("xlibQt5Gui.so"), QString());
    QCOMPARE(Suggested_Plugins(QString()), QString());
}

// What a program takes along by default, per module; the QML debugging
// plug-ins only when asked for.
void TLibraryPluginsTest::familiesGoWithTheModulesThatLoadThem()
{
    const QStringList gui = {"platforms", "platforminputcontexts", "xcbglintegrations",
                             "imageformats", "iconengines"};
    QCOMPARE(Plugin_Families("libQt5Gui.so.5.15.8"), gui);
    QCOMPARE(Plugin_Families("libQt6Gui.so.6.4.2"), gui);
    QCOMPARE(Plugin_Families("libQt5Network.so.5"), QStringList{"bearer"});
    QCOMPARE(Plugin_Families("libQt6Network.so.6"), QStringList({"tls", "networkinformation"}));
    QCOMPARE(Plugin_Families("libQt5Quick.so.5.15.8"), QStringList{"scenegraph"});
    QCOMPARE(Plugin_Families("libQt6Quick.so.6.4.2"), QStringList{"scenegraph"});
    QCOMPARE(Plugin_Families("libQt5Core.so.5.15.8"), QStringList());
    QVERIFY(Is_Default_Plugin("sqldrivers", "libqsqlite.so"));
    QVERIFY(!Is_Default_Plugin("sqldrivers", "libqsqlpsql.so"));
    QVERIFY(Is_Default_Plugin("platforms", "libqxcb.so"));
    QVERIFY(!Is_Default_Plugin("platforms", "libqvnc.so"));
    QVERIFY(Is_Default_Plugin("imageformats", "libqjpeg.so"));
}

QTEST_MAIN(TLibraryPluginsTest)
#include "tst_libraryplugins.moc"
