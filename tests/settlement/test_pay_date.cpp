// The payment-date dialog on its own: the month of the date with the date marked, the keypad's + and -,
// OK and Cancel.
#include "support/Rows.h"

#include "settlement/PayCls.h"
#include "settlement/fdlSetPayDate.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace Rows;

class TestPayDate : public QObject
{
    Q_OBJECT

private slots:
    void monthAndKeys();
};

void TestPayDate::monthAndKeys()
{
    // The dialog on its own: the month of the date with the date marked.
    gPayDate = day(2022, 10, 31);
    {
        fdlSetPayDate d;
        QCOMPARE(d.windowTitle(), QStringLiteral("支払日指定"));
        QCOMPARE(d.lblYM->text(), QStringLiteral("2022年10月"));
        // October 2022 begins on a Saturday: cells 6 to 36.
        for (int i = 0; i < fdlSetPayDate::DayCells; ++i)
            QCOMPARE(!d.lblDAY[i]->isHidden(), i >= 6);
        QCOMPARE(d.lblDAY[6]->text(), QStringLiteral("1"));
        QCOMPARE(d.lblDAY[36]->text(), QStringLiteral("31"));
        QCOMPARE(backOf(d.lblDAY[36]), fdlSetPayDate::ChosenColor);
        QCOMPARE(backOf(d.lblDAY[7]), fdlSetPayDate::SundayColor);
        QCOMPARE(backOf(d.lblDAY[13]), fdlSetPayDate::SaturdayColor);
        QCOMPARE(backOf(d.lblDAY[8]), fdlSetPayDate::PlainColor);
        // Keypad + past the month end shows the next month; - comes back.
        QTest::keyClick(&d, Qt::Key_Plus, Qt::KeypadModifier);
        QCOMPARE(d.lblYM->text(), QStringLiteral("2022年11月"));
        QCOMPARE(d.lblDAY[2]->text(), QStringLiteral("1")); // a Tuesday
        QCOMPARE(backOf(d.lblDAY[2]), fdlSetPayDate::ChosenColor);
        QTest::keyClick(&d, Qt::Key_Minus, Qt::KeypadModifier);
        QTest::keyClick(&d, Qt::Key_Minus, Qt::KeypadModifier);
        QCOMPARE(d.date(), day(2022, 10, 30));
        // Cancel leaves the payment date as the rules set it.
        d.CancelButton->click();
        QCOMPARE(gPayDate, day(2022, 10, 31));
    }
    {
        fdlSetPayDate d;
        // A date before the closing is not checked here: the operator decides.
        for (int i = 0; i < 40; ++i)
            QTest::keyClick(&d, Qt::Key_Minus, Qt::KeypadModifier);
        QTest::keyClick(&d, Qt::Key_Return);
        QCOMPARE(gPayDate, day(2022, 9, 21));
        QCOMPARE(d.result(), int(QDialog::Accepted));
    }
}

QTEST_MAIN(TestPayDate)
#include "test_pay_date.moc"
