// The registration number's check digit and the products' rates from a CSV file.
#include "data/Globals.h"
#include "data/clsMst.h"
#include "support/TestProgram.h"
#include "tax/ProductRateImport.h"
#include "tax/ProductRates.h"
#include "tax/RegistrationNumber.h"

#include <QTest>

class TestTax : public QObject
{
    Q_OBJECT

private slots:
    void registrationNumbers();
    void ratesFromCsv();
};

// Worked by hand: 123456789012 from the right, the odd places once and the even ones twice, sums to 74;
// 74 mod 9 is 2 and 9 - 2 = 7. 100000000001: 1 + 2 x 1 = 3, check 6. Twelve 5s: 6 x 5 + 6 x 10 = 90, 90 mod 9
// is 0, check 9 (a check digit is never 0).
void TestTax::registrationNumbers()
{
    for (const char *good : {"T7123456789012", "T6100000000001", "T9555555555555"})
        QVERIFY2(RegistrationNumber::IsValid(QString::fromLatin1(good)), good);
    // A wrong check digit, two digits swapped, a digit typed wrong, a check digit 0.
    for (const char *bad : {"T8123456789012", "T7213456789012", "T7123456789013", "T0555555555555"})
        QVERIFY2(RegistrationNumber::Problem(QString::fromLatin1(bad)).contains(QStringLiteral("検査用数字")), bad);
    // Not "T" and thirteen digits.
    for (const char *bad : {"7123456789012", "T712345678901", "T71234567890123", "T712345678901A", ""})
        QCOMPARE(RegistrationNumber::Problem(QString::fromLatin1(bad)), QStringLiteral("登録番号は T に続けて13桁の数字で入力して下さい。"));
    // As an operator may type it.
    QCOMPARE(RegistrationNumber::Normalized(QStringLiteral("t 7-1234-5678-9012")), QStringLiteral("T7123456789012"));
    QCOMPARE(RegistrationNumber::Normalized(QStringLiteral("Ｔ７１２３４５６７８９０１２")), QStringLiteral("T7123456789012"));
}

void TestTax::ratesFromCsv()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    // A master made before the products' rates: no own rates, and the import makes the table.
    gMst->EXEC(QStringLiteral("DROP TABLE M_PRD_TAX"));
    gMst->SaveCtrl(QStringLiteral("TAX_RT"), Variant(QStringLiteral("0.08")));
    gMst->EXEC(QStringLiteral("INSERT INTO M_PRD (PRD_ID, PRD_NM) VALUES (901, '花束'), (902, '苗')"));
    gMst->EXEC(QStringLiteral("INSERT INTO M_PRD_BCD (BCD, PRD_ID, FMR_ID, BCD_NM, PRC, UNIT_ID) VALUES ('2000000000015', 903, 1, 'リース', 1500, 1)"));
    const auto rowOf = [](qint32 id) {
        for (const ProductRates::Row &r : ProductRates::List(*gMst))
            if (r.prdId == id)
                return r;
        return ProductRates::Row();
    };
    QCOMPARE(rowOf(903).name + u' ' + rowOf(903).rate.toPlainText(), QStringLiteral("リース 0.08"));
    QVERIFY(!rowOf(903).own);

    const QByteArray csv = QStringLiteral("\xFEFF" "商品コード,税率,名前\r\n"
                                          "901,10,花束\r\n"
                                          "\"903\",\"10%\"\r\n"
                                          "902,0.08\r\n"
                                          "904,10\r\n"
                                          "abc,10\r\n"
                                          "901,8\r\n"
                                          "902\r\n"
                                          "\r\n"
                                          "902,101\r\n")
                               .toUtf8();
    const ProductRateImport::Result result = ProductRateImport::Run(*gMst, csv);
    QVERIFY(result.stored == 2 && result.removed == 0 && result.refused.size() == 6);
    const auto reasonAt = [&result](int line) {
        for (const auto &r : result.refused)
            if (r.line == line)
                return r.reason;
        return QString();
    };
    for (const auto &[line, reason] : {std::pair{4, "0 から 100 までの整数"}, {5, "904"}, {6, "数字ではありません"},
                                       {7, "2 行目にもあります"}, {8, "税率がありません"}, {10, "0 から 100 までの整数"}})
        QVERIFY2(reasonAt(line).contains(QString::fromUtf8(reason)), reason);
    QCOMPARE(result.refused.first().text, QStringLiteral("902,0.08"));
    QVERIFY(rowOf(901).own && !rowOf(902).own);
    QCOMPARE(rowOf(903).rate.toPlainText() + u' ' + rowOf(902).rate.toPlainText(), QStringLiteral("0.1 0.08"));

    // An empty rate gives the product back to the shop's rate; the products' rates as the register reads them.
    QCOMPARE(ProductRateImport::Run(*gMst, QByteArrayLiteral("903,\n")).removed, 1);
    const ProductRates rates = ProductRates::Load(*gMst, {901, 903});
    QCOMPARE(rates.of(901).toPlainText(), QStringLiteral("0.1"));
    QCOMPARE(rates.of(903).toPlainText(), QStringLiteral("0.08"));
}

QTEST_GUILESS_MAIN(TestTax)
#include "test_tax.moc"
