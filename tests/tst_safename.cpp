#include <QtTest>

#include "spec/safename.h"

class TSafeNameTest : public QObject
{
    Q_OBJECT

private slots:
    void plainFileNamesPass_data();
    void plainFileNamesPass();
    void otherNamesAreRefusedWithAReason_data();
    void otherNamesAreRefusedWithAReason();
};

void TSafeNameTest::plainFileNamesPass_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("target") << "platforms";
    QTest::newRow("library") << "libQt5Gui.so.5.15.2";
    QTest::newRow("every allowed sign") << "a._+-,@Z9";
    QTest::newRow("dots inside") << "...a";
    QTest::newRow("three dots") << "...";
}

void TSafeNameTest::plainFileNamesPass()
{
    QFETCH(QString, name);
    QVERIFY(Is_Safe_Name(name));
    QCOMPARE(Unsafe_Name_Reason(name), QString());
}

void TSafeNameTest::otherNamesAreRefusedWithAReason_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    const QString only = "may hold only letters, digits and . _ + - , @";
    QTest::newRow("empty") << "" << "must not be empty";
    QTest::newRow("dot") << "." << "must not be \".\" or \"..\"";
    QTest::newRow("dot dot") << ".." << "must not be \".\" or \"..\"";
    QTest::newRow("space") << "lib dir" << only;
    QTest::newRow("slash") << "../etc" << only;
    QTest::newRow("dollar") << "$(rm -rf ~)" << only;
    QTest::newRow("semicolon") << "lib;x" << only;
    QTest::newRow("quote") << "lib'" << only;
    QTest::newRow("asterisk") << "lib*" << only;
    QTest::newRow("percent") << "%{buildroot}" << only;
    QTest::newRow("line feed") << "lib\nx" << only;
    QTest::newRow("non-ASCII letter") << QString::fromUtf8("bibliothèque") << only;
    QTest::newRow("non-ASCII digit") << QString::fromUtf8("lib\u0663") << only;
}

void TSafeNameTest::otherNamesAreRefusedWithAReason()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QVERIFY(!Is_Safe_Name(name));
    QCOMPARE(Unsafe_Name_Reason(name), reason);
}

QTEST_MAIN(TSafeNameTest)
#include "tst_safename.moc"
