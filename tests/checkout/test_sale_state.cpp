// The sale being rung up, without the screen: its lines and their numbers, the multiplier, the payment
// step, a tender that belongs to its total, and edits that are computed before they are taken.
#include "CheckoutFixture.h"

#include <QTest>

using CheckoutFixture::money;
using Edit = SaleState::Edit;

class TestSaleState : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_sale = std::make_unique<SaleState>(m_reg, m_dtl); }

    void linesAndMultiplier();
    void paymentAndItsTotal();
    void editsComputeFirst();
    void typedNumbers();

private:
    // An article at `price` as the lookup fills the blank slot, rung up at the multiplier.
    Edit scan(const char *price)
    {
        DtlRec &slot = m_sale->blankSlot();
        slot.O_PRC = slot.PRC = money(price);
        return m_sale->addLine();
    }
    void tender(const char *digits)
    {
        m_sale->setMode(SaleState::TenderMode);
        for (const char *d = digits; *d; ++d)
            m_sale->typeTender(QChar::fromLatin1(*d));
        QCOMPARE(m_sale->confirmTender(), SaleState::Tender::Shown);
    }
    // The mode, then "tendered/change on show".
    QString payment() const
    {
        const std::optional<Currency> change = m_sale->change();
        return QStringLiteral("%1 %2/%3")
            .arg(QString::number(m_sale->mode()), m_sale->tendered(), change ? change->toPlainText() : QStringLiteral("none"));
    }
    // The lines, each as "number: quantity x price (difference) = amount".
    QString lines() const
    {
        QStringList all;
        for (const DtlRec &l : m_sale->dtl().first(m_sale->lineCount()))
            all << QStringLiteral("%1: %2 x %3 (%4) = %5").arg(QString::number(l.DTL_NO), l.QTY.toPlainText(),
                                                               l.PRC.toPlainText(), l.D_PRC.toPlainText(), l.AMT.toPlainText());
        return all.join(QStringLiteral(", "));
    }

    QList<RegRec> m_reg;
    QList<DtlRec> m_dtl;
    std::unique_ptr<SaleState> m_sale;
};

void TestSaleState::linesAndMultiplier()
{
    SaleState &s = *m_sale;
    s.increase();
    s.increase();
    QCOMPARE(scan("150"), Edit::Done); // three of them
    QCOMPARE(s.multiplier(), money("1"));
    // The multiplier runs ..., -2, -1, 1, 2, ... and never becomes 0; a negative one takes goods back.
    s.decrease();
    scan("298");
    scan("298"); // the same article twice: two lines
    s.decrease();
    s.decrease();
    QCOMPARE(s.multiplier(), money("-2"));
    s.increase();
    s.increase();
    QCOMPARE(s.multiplier(), money("1"));
    QCOMPARE(lines(), QStringLiteral("1: 3 x 150 (0) = 450, 2: -1 x 298 (0) = -298, 3: 1 x 298 (0) = 298"));
    QCOMPARE(s.total(), money("450"));

    // Deleting line 2 of 3 numbers the old line 3 as line 2; DTL_CNT keeps the last number given. No line
    // chosen (the header row) or the blank slot: nothing happens.
    QCOMPARE(s.deleteLine(1), Edit::Done);
    s.deleteLine(-1);
    s.deleteLine(2);
    QCOMPARE(lines(), QStringLiteral("1: 3 x 150 (0) = 450, 2: 1 x 298 (0) = 298"));
    QCOMPARE(s.dtl().last().DTL_NO, 0);
    QCOMPARE(s.total(), money("748"));
    QCOMPARE(s.header().DTL_CNT, 3);
    s.deleteLine(0);
    s.deleteLine(0);
    scan("150");
    QCOMPARE(lines(), QStringLiteral("1: 1 x 150 (0) = 150"));
}

void TestSaleState::paymentAndItsTotal()
{
    SaleState &s = *m_sale;
    scan("298");
    s.setMode(SaleState::TenderMode);
    QCOMPARE(payment(), QStringLiteral("4 /-298")); // the total to pay
    QVERIFY(!s.ChkData());
    QCOMPARE(s.confirmTender(), SaleState::Tender::Nothing);
    for (QChar c : QStringLiteral("123456"))
        s.typeTender(c);
    QCOMPARE(s.confirmTender(), SaleState::Tender::TooLong); // at most 99999
    QCOMPARE(payment(), QStringLiteral("4 123456/-298"));
    s.clearTender();
    tender("200");
    QVERIFY(!s.ChkData());
    s.typeTender(u'5'); // ignored while the change is shown
    QCOMPARE(payment(), QStringLiteral("5 200/-98"));
    tender("300");
    QCOMPARE(s.header().RCV.toPlainText() + u'/' + s.header().CHG.toPlainText(), QStringLiteral("300/2"));
    QVERIFY(s.ChkData());

    // Backspace to scanning, five more articles: the tender and the change are gone, and nothing of them is
    // stored with the new total.
    s.setMode(SaleState::TenderMode);
    s.setMode(SaleState::ScanMode);
    for (int i = 0; i < 5; ++i)
        scan("150");
    QCOMPARE(payment(), QStringLiteral("1 /none"));
    QCOMPARE(s.header().RCV.toPlainText() + u'/' + s.header().CHG.toPlainText(), QStringLiteral("0/0"));

    // During payment a changed total (an edit, a deleted line) goes back to typing the amount tendered; an
    // edit that leaves the total as it was keeps the tender.
    tender("5000");
    QCOMPARE(s.setQuantity(0, QStringLiteral("2")), Edit::Done);
    QCOMPARE(payment(), QStringLiteral("4 /-1346"));
    QCOMPARE(s.header().RCV, Currency());
    tender("5000");
    s.deleteLine(5);
    QCOMPARE(payment(), QStringLiteral("4 /-1196"));
    tender("5000");
    QCOMPARE(s.setPrice(1, QStringLiteral("150")), Edit::Done);
    QCOMPARE(payment(), QStringLiteral("5 5000/3804"));

    // A stored sale's change stays on show for its customer until the next total; a cancel drops it.
    s.next();
    QCOMPARE(payment(), QStringLiteral("1 /3804"));
    QCOMPARE(s.header().RCV, Currency());
    scan("150");
    QCOMPARE(payment(), QStringLiteral("1 /none"));
    tender("200");
    s.clear();
    QCOMPARE(payment(), QStringLiteral("1 /none"));

    // A total of 0 or below is accepted with nothing tendered; a pure return pays out.
    QVERIFY(s.ChkData());
    s.decrease();
    scan("150");
    s.setMode(SaleState::TenderMode);
    QCOMPARE(payment(), QStringLiteral("4 /150"));
    QVERIFY(s.ChkData());
}

void TestSaleState::editsComputeFirst()
{
    SaleState &s = *m_sale;
    scan("298");
    scan("150");
    // A raised price is a surcharge (negative difference), a lowered one a discount; the quantity keeps it.
    QCOMPARE(s.setPrice(0, QStringLiteral("350")), Edit::Done);
    QCOMPARE(s.setQuantity(0, QStringLiteral("-2")), Edit::Done);
    QCOMPARE(lines(), QStringLiteral("1: -2 x 350 (-52) = -700, 2: 1 x 150 (0) = 150"));
    QCOMPARE(s.total(), money("-550"));
    QCOMPARE(s.setPrice(0, QStringLiteral("250")), Edit::Done);
    QCOMPARE(s.line(0).D_PRC, money("48"));
    QCOMPARE(s.setPrice(0, QStringLiteral("298")), Edit::Done);
    QCOMPARE(s.setQuantity(1, QString()), Edit::Done); // empty is 0: the line stays at amount 0
    QCOMPARE(s.setQuantity(1, QStringLiteral("x2")), Edit::NotANumber);
    QCOMPARE(lines(), QStringLiteral("1: -2 x 298 (0) = -596, 2: 0 x 150 (0) = 0"));

    // An amount, or a total, out of the range of money changes nothing: not the line, not the tender.
    tender("1000");
    QCOMPARE(s.setQuantity(0, QStringLiteral("4,000,000,000,000")), Edit::TooLarge);
    QCOMPARE(s.mode(), SaleState::ChangeMode);
    QCOMPARE(s.setQuantity(1, QStringLiteral("3,100,000,000,000")), Edit::Done);
    QCOMPARE(s.setQuantity(0, QStringLiteral("2,000,000,000,000")), Edit::TooLarge); // each fits, the sum not
    QCOMPARE(s.setPrice(1, QStringLiteral("99999999999")), Edit::TooLarge);
    QCOMPARE(lines(), QStringLiteral("1: -2 x 298 (0) = -596, 2: 3100000000000 x 150 (0) = 465000000000000"));
    QCOMPARE(s.total(), money("464999999999404"));
}

void TestSaleState::typedNumbers()
{
    // What a cashier types, also in full-width characters from the input method.
    const struct { const char *typed; const char *value; } cases[] = {
        {"1,000", "1000"}, {"１，０００", "1000"}, {"－２", "-2"}, {"ー２", "-2"}, {"１２．５", "12.5"},
        {" 1,234,567.5 ", "1234567.5"}, {"", "0"}, {"　", "0"},
    };
    for (const auto &c : cases)
        QCOMPARE(SaleState::typedNumber(QString::fromUtf8(c.typed)), std::optional<Currency>(money(c.value)));
    for (const char *wrong : {"1,00", "10,00", ",100", "1.000,5", "x2", "2x"})
        QVERIFY2(!SaleState::typedNumber(QString::fromUtf8(wrong)), wrong);
}

QTEST_GUILESS_MAIN(TestSaleState)
#include "test_sale_state.moc"
