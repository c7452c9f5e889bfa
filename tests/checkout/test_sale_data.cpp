// Barcode lookup and the storing of a sale, without the screen, on SQLite and on the MariaDB test server.
#include "CheckoutFixture.h"
#include "checkout/GetBcdData.h"
#include "checkout/StoreSale.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "support/BothEngines.h"
#include "support/TestProgram.h"

#include <QTest>

using namespace CheckoutFixture;

class TestSaleData : public QObject
{
    Q_OBJECT

public:
    explicit TestSaleData(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup() { m_program.reset(); }

    void lookups();
    void numbersAndRows();
    void regIdSkipsTakenNumbers();
    void failedLineRollsBackTheSale();
    void taxPerRateWithAReturn();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

void TestSaleData::init()
{
    m_program = TestProgram::opened(false, m_onServer);
    insertMasters();
    gSalesDate = Rows::day(2024, 4, 1);
}

// Master codes, in-store codes (product, producer, price) and the failures, as the register looks them up.
void TestSaleData::lookups()
{
    QCOMPARE(PaddedBarcode(QStringLiteral("994901234567894")), QStringLiteral("4901234567894"));

    // The result, then product, name, producer, price and unit; a failed lookup gives no product.
    const struct { QString code; QString want; } cases[] = {
        {kTomato, QStringLiteral("1|5|完熟トマト 'Momotaro'|山田農園|298|2")},
        {kShadowed, QStringLiteral("1|5|登録品|D'Arcy 農場|500|3")}, // the master wins over the in-store reading
        {kNoName, QStringLiteral("1|5||D'Arcy 農場|80|1")},
        {kInStore, QStringLiteral("0|123|きゅうり|山田農園|1200|1")},
        {QStringLiteral("0120007000055"), QStringLiteral("0|12|Farmer's なす|D'Arcy 農場|0|1")},
        {PaddedBarcode(QStringLiteral("50007001510")), QStringLiteral("0|5|完熟トマト 'Momotaro'|D'Arcy 農場|150|1")},
        {QStringLiteral("9990045012000"), QStringLiteral("-1||0|0")}, // no product, no producer named
        {QStringLiteral("9999999012000"), QStringLiteral("-2||0|0")}, // the producer check has the last word
        {QStringLiteral("12'0045012099"), QStringLiteral("-1||0|0")}, // anything but digits never
        {QStringLiteral("1230;45012099"), QStringLiteral("-2||0|0")}, // reaches a criterion
    };
    for (const auto &c : cases) {
        DtlRec d;
        d.BCD = c.code;
        const qint32 result = GetBcdData(d);
        QStringList got{QString::number(result)};
        if (result >= 0)
            got << QString::number(d.PRD_ID) << d.BCD_NM;
        got << d.FMR_NM << d.PRC.toPlainText() << QString::number(d.UNIT_ID);
        QCOMPARE(got.join(u'|'), c.want);
        QCOMPARE(d.O_PRC, d.PRC);
    }
}

void TestSaleData::numbersAndRows()
{
    // A counter not there yet starts at 1. Line 2 was deleted on the screen: the old line 3 is line 2 now,
    // and the blank slot is not stored. Fractions of yen store as they are.
    gDb->EXEC(QStringLiteral("DELETE FROM S_CTRL WHERE CTRL_CD='NEW_REG_ID'"));
    RegRec reg;
    reg.DTL_CNT = 3;
    QList<DtlRec> lines{line(1, kTomatoName, kFarm45, "1234.5", "0.25"), line(2, kHerbName, kFarm7, "150", "-1"),
                        DtlRec()};
    lines[1].PRC = money("120");
    lines[1].D_PRC = money("30");
    lines[1].AMT = money("-120");
    reg.AMT_SUM = money("188.625");
    reg.RCV = money("1000");
    reg.CHG = money("811.375");
    QVERIFY(gIni->SaveCtrl(QStringLiteral("REG_USER"), Variant(QStringLiteral("O'Neil 花子"))));
    QCOMPARE(StoreSale(reg, lines, gSalesDate, *gDb, *gIni), 1);
    QCOMPARE(Rows::row(QStringLiteral("SELECT REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG FROM D_REG")),
             QStringLiteral("1|2024-04-01 09:15:02|2024-04-01|O'Neil 花子|3|188.625|1000|811.375"));
    QCOMPARE(Rows::row(QStringLiteral("SELECT DTL_NO, BCD, BCD_NM, FMR_NM, O_PRC, D_PRC, PRC, QTY, AMT FROM D_REG_DTL ORDER BY DTL_NO")),
             QStringLiteral("1|4901234567894|完熟トマト 'Momotaro'|山田農園|1234.5|0|1234.5|0.25|308.625\n"
                            "2|4901234567894|O'Brien's ハーブ|D'Arcy 農場|150|30|120|-1|-120"));
    QCOMPARE(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).toString(), QStringLiteral("1"));
}

void TestSaleData::regIdSkipsTakenNumbers()
{
    // Numbers in the backup of closed days and in D_REG are never handed out again, and REG_NO counts
    // only what D_REG holds.
    QVERIFY(gDb->SaveCtrl(QStringLiteral("NEW_REG_ID"), Variant(qint32(10))));
    for (int id : {11, 12})
        gDb->EXEC(QStringLiteral("INSERT INTO B_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, DTL_CNT, AMT_SUM, RCV, CHG) "
                                 "VALUES (%1, 70, #2024-03-31 10:00:00#, #2024-03-31 00:00:00#, 0, 0, 0, 0)").arg(id));
    Rows::sale(14, gSalesDate, {});
    QList<DtlRec> lines{line(1, kTomatoName, kFarm45, "298", "1"), DtlRec()};
    RegRec reg, next;
    QCOMPARE(StoreSale(reg, lines, gSalesDate, *gDb, *gIni), 13);
    QCOMPARE(StoreSale(next, lines, gSalesDate, *gDb, *gIni), 15);
    QCOMPARE(QStringLiteral("%1 %2").arg(reg.REG_NO).arg(next.REG_NO), QStringLiteral("15 16"));
    QCOMPARE(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).toString(), QStringLiteral("15"));
}

void TestSaleData::failedLineRollsBackTheSale()
{
    Rows::failOn(QStringLiteral("INSERT"), QStringLiteral("D_REG_DTL"));
    RegRec reg;
    QList<DtlRec> lines{line(1, kTomatoName, kFarm45, "298", "1"), line(2, kHerbName, kFarm7, "150", "1"), DtlRec()};
    QVERIFY_THROWS_EXCEPTION(DbError, StoreSale(reg, lines, gSalesDate, *gDb, *gIni));
    // No header without its lines, and the counter is where it was.
    QCOMPARE(count(QStringLiteral("D_REG")), 0);
    QCOMPARE(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).toString(), QStringLiteral("0"));
    QCOMPARE(reg.REG_ID, 0);
    QVERIFY(!gDb->connection()->inTransaction());
}

// Food at the shop's 8 %, flowers at their own 10 %, one bunch taken back: each rate's total and its tax are
// stored with the sale, the tax cut once per rate. A database made before the tax was kept gets its tables.
void TestSaleData::taxPerRateWithAReturn()
{
    for (const char *table : {"D_REG_TAX", "D_REG_DTL_TAX", "B_REG_TAX", "B_REG_DTL_TAX"})
        gDb->EXEC(QStringLiteral("DROP TABLE ") + QString::fromLatin1(table));
    QVERIFY(gMst->SaveCtrl(QStringLiteral("TAX_RT"), Variant(QStringLiteral("0.08"))));
    gMst->EXEC(QStringLiteral("INSERT INTO M_PRD_TAX (PRD_ID, TAX_RT) VALUES (12, 0.1)"));
    QList<DtlRec> lines{line(1, kTomatoName, kFarm45, "130", "1"), line(2, kTomatoName, kFarm45, "130", "1"),
                        line(3, kTomatoName, kFarm45, "130", "1"), line(4, kHerbName, kFarm7, "1000", "1"),
                        line(5, kHerbName, kFarm7, "500", "1"), line(6, kHerbName, kFarm7, "200", "-1"), DtlRec()};
    for (int i = 3; i < 6; ++i)
        lines[i].PRD_ID = 12;
    RegRec reg;
    reg.AMT_SUM = money("1690");
    QCOMPARE(StoreSale(reg, lines, gSalesDate, *gDb, *gIni, gMst.get()), 1);

    // 390 at 8 % holds 28 (line by line 9 + 9 + 9 = 27); 1,300 at 10 % holds 118 (90 + 45 - 18 = 117).
    QCOMPARE(Rows::row(QStringLiteral("SELECT TAX_RT, AMT, TAX FROM D_REG_TAX WHERE REG_ID=1 ORDER BY TAX_RT")),
             QStringLiteral("0.08|390|28\n0.1|1300|118"));
    QCOMPARE(Rows::row(QStringLiteral("SELECT DTL_NO, TAX_RT FROM D_REG_DTL_TAX WHERE REG_ID=1 ORDER BY DTL_NO")),
             QStringLiteral("1|0.08\n2|0.08\n3|0.08\n4|0.1\n5|0.1\n6|0.1"));
}

VANTLE_TEST_BOTH_ENGINES(TestSaleData)

#include "test_sale_data.moc"
