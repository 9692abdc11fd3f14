#include <QtTest>

#include "libraries/libraryversion.h"

class TLibraryVersionTest : public QObject
{
    Q_OBJECT

private slots:
    void enteredVersions_data();
    void enteredVersions();
    void renamedLibraries_data();
    void renamedLibraries();
};

void TLibraryVersionTest::enteredVersions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("patch");
    QTest::newRow("placeholder") << "<library_name>.so.1.2.3" << true << 1 << 2 << 3;
    QTest::newRow("Qt") << "libQt5.so.5.15.7" << true << 5 << 15 << 7;
    QTest::newRow("leading zeros") << "libfoo.so.007.1.2" << true << 7 << 1 << 2;
    QTest::newRow("zeros only") << "libfoo.so.000.00.0" << true << 0 << 0 << 0;
    QTest::newRow("no name before") << ".so.1.2.3" << true << 1 << 2 << 3;
    QTest::newRow("two numbers") << "libfoo.so.1.2" << false << 0 << 0 << 0;
    QTest::newRow("four digits") << "libfoo.so.1000.2.3" << false << 0 << 0 << 0;
    QTest::newRow("text after") << "libfoo.so.1.2.3x" << false << 0 << 0 << 0;
    QTest::newRow("no so") << "libfoo.1.2.3" << false << 0 << 0 << 0;
    QTest::newRow("upper-case SO") << "libfoo.SO.1.2.3" << false << 0 << 0 << 0;
}

void TLibraryVersionTest::enteredVersions()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    const std::optional<TLibraryVersion> version = Entered_Library_Version(text);
    QCOMPARE(version.has_value(), valid);
    if (!valid)
        return;
    QTEST(version->Major, "major");
    QTEST(version->Minor, "minor");
    QTEST(version->Patch, "patch");
}

void TLibraryVersionTest::renamedLibraries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("renamed");
    QTest::newRow("Qt library") << "libQt5Gui.so.5.15.2" << "libQt5Gui.so.7.0.12";
    QTest::newRow("comma in base") << "lib,x.so.1.2.3" << "lib,x.so.7.0.12";
    QTest::newRow("no version") << "libqxcb.so" << "";
    QTest::newRow("hyphen") << "libqxcb-egl.so.1.2.3" << "";
    QTest::newRow("underscore") << "lib_x.so.1.2.3" << "";
    QTest::newRow("dot in base") << "libfoo.bar.so.1.2.3" << "";
    QTest::newRow("two numbers") << "libfoo.so.1.2" << "";
    QTest::newRow("four numbers") << "libfoo.so.1.2.3.4" << "";
    QTest::newRow("long base") << QString(64, 'a') + ".so.1.2.3" << QString(64, 'a') + ".so.7.0.12";
    QTest::newRow("too long base") << QString(65, 'a') + ".so.1.2.3" << "";
}

void TLibraryVersionTest::renamedLibraries()
{
    QFETCH(QString, name);
    QTEST(Library_Name_With_Version(name, {7, 0, 12}), "renamed");
}

QTEST_MAIN(TLibraryVersionTest)
#include "tst_libraryversion.moc"
