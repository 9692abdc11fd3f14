#include <QtTest>

#include "windowgeometry.h"

class TWindowGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void restoresWhatLiesOnTheScreen_data();
    void restoresWhatLiesOnTheScreen();
};

void TWindowGeometryTest::restoresWhatLiesOnTheScreen_data()
{
    QTest::addColumn<QRect>("stored");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("expected");

    const QRect large(0, 0, 1920, 1080);
    const QRect fallback(30, 30, 1000, 800);
    QTest::newRow("first start on a large screen") << fallback << large << fallback;
    QTest::newRow("first start on a small screen")
        << fallback << QRect(0, 0, 800, 600) << QRect(30, 30, 770, 570);
    QTest::newRow("entirely off the screen") << QRect(5000, 5000, 900, 700) << large << fallback;
    QTest::newRow("600 x 600 overlap taken exactly")
        << QRect(1320, 480, 1000, 1000) << large << QRect(1320, 480, 600, 600);
    QTest::newRow("501 wide and high is enough")
        << QRect(1419, 579, 800, 800) << large << QRect(1419, 579, 501, 501);
    QTest::newRow("500 wide is too narrow") << QRect(1420, 0, 800, 800) << large << fallback;
    QTest::newRow("500 high is too low") << QRect(0, 580, 800, 800) << large << fallback;
    QTest::newRow("above and left of the screen")
        << QRect(-200, -100, 900, 800) << large << QRect(0, 0, 700, 700);
    QTest::newRow("available area below a panel")
        << QRect(100, 0, 800, 700) << QRect(0, 28, 1920, 1052) << QRect(100, 28, 800, 672);
}

void TWindowGeometryTest::restoresWhatLiesOnTheScreen()
{
    QFETCH(QRect, stored);
    QFETCH(QRect, available);
    QFETCH(QRect, expected);
    QCOMPARE(Restored_Window_Geometry(stored, available), expected);
}

QTEST_GUILESS_MAIN(TWindowGeometryTest)
#include "tst_windowgeometry.moc"
