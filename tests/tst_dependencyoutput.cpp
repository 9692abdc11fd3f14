#include <QtTest>

#include "elf/lddoutput.h"
#include "scan/packageoutput.h"

class TDependencyOutputTest : public QObject
{
    Q_OBJECT

private slots:
    void listingGivesResolvedPathsInOrder();
    void qtLibrariesAreLeftOut();
    void packageNameComesFromTheFirstLine_data();
    void packageNameComesFromTheFirstLine();
};

void TDependencyOutputTest::listingGivesResolvedPathsInOrder()
{
    const QString listing =
        "\tlinux-vdso.so.1 (0x00007ffd4b3f2000)\n"
        "\tlibz.so.1 => /lib/x86_64-linux-gnu/libz.so.1 (0x00007f6459359000)\n"
        "\tlibgone.so.3 => not found\n"
        "\tlibm.so.6 =>   /lib/x86_64-linux-gnu/libm.so.6   (0x00007f6459279000)\n"
        "\t/lib64/ld-linux-x86-64.so.2 (0x00007f64593c4000)\n"
        "\tlibodd.so => /opt/my libs/libodd.so (0x00007f6459000000)\n"
        "\n";
    const std::vector<TLoadedLibrary> libraries = Ldd_Libraries(listing);
    QStringList rows;
    for (const TLoadedLibrary& library : libraries)
        rows.append(library.Name + " | " + library.Path);
    QCOMPARE(rows, QStringList({"libz.so.1 | /lib/x86_64-linux-gnu/libz.so.1", "libgone.so.3 | ",
                                "libm.so.6 | /lib/x86_64-linux-gnu/libm.so.6",
                                "libodd.so | /opt/my libs/libodd.so"}));
    QCOMPARE(Scanned_Libraries(libraries),
             QStringList({"/lib/x86_64-linux-gnu/libz.so.1", "/lib/x86_64-linux-gnu/libm.so.6",
                          "/opt/my libs/libodd.so"}));

    QCOMPARE(Scanned_Libraries(Ldd_Libraries("\tstatically linked\n")), QStringList());
    QCOMPARE(Scanned_Libraries(Ldd_Libraries(QString())), QStringList());
}

void TDependencyOutputTest::qtLibrariesAreLeftOut()
{
    const QString listing =
        "\tlibQt5Core.so.5 => /usr/lib/libQt5Core.so.5 (0x1)\n"
        "\tlibQt4Gui.so.4 => /usr/lib/libQt4Gui.so.4 (0x2)\n"
        "\tlibQt6Widgets.so.6 => /opt/qt6/lib/libQt6Widgets.so.6 (0x3)\n"
        "\tlibqt5core.so.5 => /usr/lib/libqt5core.so.5 (0x4)\n"
        "\tlibQt3Support.so.4 => /usr/lib/libQt3Support.so.4 (0x5)\n";
    QCOMPARE(Scanned_Libraries(Ldd_Libraries(listing)),
             QStringList({"/usr/lib/libqt5core.so.5", "/usr/lib/libQt3Support.so.4"}));
}

void TDependencyOutputTest::packageNameComesFromTheFirstLine_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("package");

    QTest::newRow("C library") << "glibc-2.31-9.1.x86_64\n" << "glibc";
    QTest::newRow("usual") << "libxcb-image0-0.4.0-8.6.1.x86_64\n" << "libxcb-image0";
    QTest::newRow("plus in name") << "libstdc++6-12.2.0-14.x86_64\n" << "libstdc++6";
    QTest::newRow("plus in version") << "libfoo1-1.2+git5-1.1.x86_64\n" << "";
    QTest::newRow("letter in version") << "libfoo1-1.2a-1.x86_64\n" << "";
    QTest::newRow("not owned") << "file /lib/libgone.so is not owned by any package\n" << "";
    QTest::newRow("second line only") << "no package provides it\nzlib-1.2.13-1.x86_64\n" << "";
    QTest::newRow("two providers") << "zlib-1.2.13-1.x86_64\nzlib-ng-2.1-1.x86_64\n" << "zlib";
    QTest::newRow("empty") << "" << "";
}

void TDependencyOutputTest::packageNameComesFromTheFirstLine()
{
    QFETCH(QString, output);
    QFETCH(QString, package);
    QCOMPARE(Providing_Package(output), package);
}

QTEST_MAIN(TDependencyOutputTest)
#include "tst_dependencyoutput.moc"
