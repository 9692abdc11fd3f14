#include <QAbstractButton>
#include <QProxyStyle>
#include <QtTest>

#include "messagebox.h"

class TMessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void textsAreStyledSpans();
    void keepsItsWidthWhenShownAndResized();
    void buttonsHaveNoIcons();
    void sentKeysReachARunningBox();
};

void TMessageBoxTest::textsAreStyledSpans()
{
    TMessageBox box(nullptr);
    box.setText("Title <i>x</i>");
    box.setInformativeText("Line");
    QCOMPARE(box.text(), QString("<span style=\"font-size:10pt; font-weight:600; color:#000000;\" >"
                                 "Title <i>x</i></span>"));
    QCOMPARE(box.informativeText(),
             QString("<span style=\"font-size:10pt; font-weight:400; color:#000000;\" >Line</span>"));
    QCOMPARE(box.textFormat(), Qt::RichText);
    QCOMPARE(box.styleSheet(), QString("dialogbuttonbox-buttons-have-icons: 0;\nbutton-layout: 1;"));

    // Callers holding a QMessageBox pointer to the box reach the same setters.
    QMessageBox* plain = &box;
    plain->setText("Plain");
    QCOMPARE(box.text(), QString("Plain"));
}

void TMessageBoxTest::keepsItsWidthWhenShownAndResized()
{
    TMessageBox box(nullptr);
    box.setText("A title long enough to ask for more room than five hundred pixels would give it "
                "if the box were free to grow as it liked");
    box.setStandardButtons(QMessageBox::Ok);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.width(), 500);

    box.resize(900, 400);
    QTRY_COMPARE(box.width(), 500);
    box.resize(200, 400);
    QTRY_COMPARE(box.width(), 500);
}

void TMessageBoxTest::buttonsHaveNoIcons()
{
    // A style that would otherwise put icons on dialog buttons.
    class TIconStyle : public QProxyStyle
    {
    public:
        int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                      QStyleHintReturn* data) const override
        {
            if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
                return 1;
            return QProxyStyle::styleHint(hint, option, widget, data);
        }
    };
    QApplication::setStyle(new TIconStyle);
    QMessageBox plain;
    plain.setStandardButtons(QMessageBox::Ok);
    plain.show();
    QVERIFY(QTest::qWaitForWindowExposed(&plain));
    QVERIFY(!plain.buttons().first()->icon().isNull());

    TMessageBox box(nullptr);
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    for (QAbstractButton* button : box.buttons())
        QVERIFY2(button->icon().isNull(), qPrintable(button->text()));
}

void TMessageBoxTest::sentKeysReachARunningBox()
{
    TMessageBox box(nullptr);
    box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Ok);

    QTimer::singleShot(0, &box, [&box]() { box.Send_Key(Qt::Key_Return); });
    QCOMPARE(box.exec(), int(QMessageBox::Ok));

    QTimer::singleShot(0, &box, [&box]() { box.Send_Key(Qt::Key_Escape); });
    QCOMPARE(box.exec(), int(QMessageBox::Cancel));
}

QTEST_MAIN(TMessageBoxTest)
#include "tst_messagebox.moc"
