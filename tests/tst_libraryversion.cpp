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
    void storedVersionFreeNames_data();
    void storedVersionFreeNames();
    void versionedLibraries_data();
    void versionedLibraries();
    void versionedLibrariesReadAsTheStoredExpression();
    void versionsOfOneLibrary();
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

void TLibraryVersionTest::storedVersionFreeNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("stored");
    QTest::newRow("versioned") << "libQt5Core.so.5.15.2" << "libQt5Core.so";
    QTest::newRow("plain plug-in") << "libqxcb.so" << "libqxcb.so";
    QTest::newRow("underscore") << "libfoo_bar.so.1" << "libfoo_bar.so.1";
    QTest::newRow("dashes") << "libqxcb-egl-integration.so" << "libqxcb-egl-integration.so";
    QTest::newRow("one version digit") << "libicudata.so.72" << "libicudata.so";
}

void TLibraryVersionTest::storedVersionFreeNames()
{
    QFETCH(QString, name);
    QFETCH(QString, stored);
    QCOMPARE(Version_Free_Library_Name(name), stored);
}

void TLibraryVersionTest::versionedLibraries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("base");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::newRow("Qt library") << "libQt5Core.so.5.15.2" << "libQt5Core" << 5 << 15;
    QTest::newRow("leading zeros") << "libfoo.so.01.002.3" << "libfoo" << 1 << 2;
    QTest::newRow("plug-in") << "libqxcb.so" << "" << 0 << 0;
    QTest::newRow("one number") << "libfoo.so.1" << "" << 0 << 0;
    QTest::newRow("two numbers") << "libfoo.so.1.2" << "" << 0 << 0;
    QTest::newRow("hyphen") << "libfoo-bar.so.1.2.3" << "" << 0 << 0;
    QTest::newRow("plus signs") << "libstdc++.so.6.0.28" << "" << 0 << 0;
}

void TLibraryVersionTest::versionedLibraries()
{
    QFETCH(QString, name);
    QFETCH(QString, base);
    const std::optional<TVersionedLibrary> library = Versioned_Library(name);
    QCOMPARE(library.has_value(), !base.isEmpty());
    if (!library)
        return;
    QCOMPARE(library->Base, base);
    QTEST(library->Version.Major, "major");
    QTEST(library->Version.Minor, "minor");
}

// Stored files were written by a regular expression's reading of the name;
// the reading without one gives the same base and version for every name,
// those whose base runs into "so" and the "[.so]{4}" oddities included.
void TLibraryVersionTest::versionedLibrariesReadAsTheStoredExpression()
{
    const QRegularExpression stored(
        "^([a-z,A-Z,0-9]{1,64})[.so]{4}([0-9]{1,3})[.]([0-9]{1,3})[.]([0-9]{1,3})$");
    const QStringList names = {
        "libQt5Core.so.5.15.2", "libso.so.1.2.3", "libsoso.so.1.2.3", "lib.sos.1.2.3",
        "libx.so..1.2", "libx....1.2.3", "libxoooo1.2.3", "lib,a.so.1.2.3", "x.so.1.2.3",
        ".so.1.2.3", "libx.so.1234.1.1", "libx.so.1.2.3.4", "libx.so.1.2.", "libx.so.1.2.3x",
        "libx.so.999.0.0", "libx2.so.2.so.1.2.3", QString(64, 'a') + ".so.1.2.3",
        QString(65, 'a') + ".so.1.2.3", QString(63, 'a') + "s.so.1.2.3", "libé.so.1.2.3",
        "libx.so.١.2.3", "libx.so.1.2.3\n", "libx.so.1.2.3\nx", ""};
    for (const QString& name : names)
    {
        const QRegularExpressionMatch match = stored.match(name);
        const std::optional<TVersionedLibrary> library = Versioned_Library(name);
        // A line feed at the end is left to the data files' checks, which refuse it.
        if (name.endsWith('\n'))
        {
            QVERIFY2(!library, qPrintable(name));
            continue;
        }
        QCOMPARE(library.has_value(), match.hasMatch());
        if (!library)
            continue;
        QCOMPARE(library->Base, match.captured(1));
        QCOMPARE(library->Version.Major, match.captured(2).toInt());
        QCOMPARE(library->Version.Minor, match.captured(3).toInt());
        QCOMPARE(library->Version.Patch, match.captured(4).toInt());
    }
}

void TLibraryVersionTest::versionsOfOneLibrary()
{
    QCOMPARE(Library_Name_Up_To_So("libQt5Core.so.5.15.8"), QString("libQt5Core.so"));
    QCOMPARE(Library_Name_Up_To_So("libicu-data.so.72"), QString("libicu-data.so"));
    QCOMPARE(Library_Name_Up_To_So("qt.conf"), QString("qt.conf"));
}

QTEST_MAIN(TLibraryVersionTest)
#include "tst_libraryversion.moc"
