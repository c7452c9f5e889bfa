// Two registers store sales into one transaction database at the same moment: every sale must get its own
// REG_ID and REG_NO and keep all of its lines. The registers are two processes of this program (started
// with --store-sales), on one SQLite file and, when the test command started one, on the MariaDB server.
#include "CheckoutFixture.h"
#include "app/InitObj.h"
#include "base/DateValue.h"
#include "checkout/StoreSale.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "support/BothEngines.h"
#include "support/TestProgram.h"

#include <QProcess>
#include <QTest>
#include <cstdio>

using namespace CheckoutFixture;

namespace {

constexpr int kSalesPerRegister = 200;
constexpr int kLinesPerSale = 3;

// One register's work: `count` sales of three lines, stored one after the other.
int storeSales(int count, const QString &tag)
{
    InitObj();
    gSalesDate = DateValue::fromParts(2024, 4, 1);
    for (int i = 0; i < count; ++i) {
        RegRec reg;
        QList<DtlRec> lines;
        for (int n = 1; n <= kLinesPerSale; ++n)
            lines << line(n, tag + QStringLiteral(" 'sale' %1").arg(i), kFarm7, "100", "1");
        lines << DtlRec();
        reg.DTL_CNT = kLinesPerSale;
        reg.AMT_SUM = money("300");
        try {
            StoreSale(reg, lines, gSalesDate, *gDb, *gIni);
        } catch (const std::exception &e) {
            std::fprintf(stderr, "%s: sale %d failed: %s\n", qPrintable(tag), i, e.what());
            ReleaseObj();
            return 1;
        }
    }
    ReleaseObj();
    return 0;
}

} // namespace

class TestSaleConcurrency : public QObject
{
    Q_OBJECT

public:
    explicit TestSaleConcurrency(bool onServer) : m_onServer(onServer) {}

private slots:
    void twoRegistersStoreAtOnce();

private:
    bool m_onServer;
};

void TestSaleConcurrency::twoRegistersStoreAtOnce()
{
    TestProgram program;
    program.createDatabases(false, m_onServer);
    program.openAll();
    // Without the counter row the very first sales of both registers race to create it.
    gDb->EXEC(QStringLiteral("DELETE FROM S_CTRL WHERE CTRL_CD='NEW_REG_ID'"));
    ReleaseObj();

    QList<QProcess *> registers;
    for (const char *tag : {"A", "B"}) {
        auto *p = new QProcess(this);
        p->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--store-sales"), QString::number(kSalesPerRegister), QString::fromLatin1(tag)});
        registers << p;
    }
    for (QProcess *p : registers) {
        QVERIFY(p->waitForFinished(300000));
        QCOMPARE(p->exitStatus(), QProcess::NormalExit);
        QCOMPARE(p->exitCode(), 0);
    }

    program.openAll();
    // Every sale has its own numbers and all of its lines; no line is without its sale.
    const int total = 2 * kSalesPerRegister;
    const auto distinct = [](const char *column) {
        return Rows::value(QStringLiteral("SELECT COUNT(DISTINCT %1) FROM D_REG").arg(QLatin1String(column))).toInt();
    };
    QCOMPARE(count(QStringLiteral("D_REG")), total);
    QCOMPARE(distinct("REG_ID"), total);
    QCOMPARE(distinct("REG_NO"), total);
    QCOMPARE(count(QStringLiteral("D_REG_DTL")), total * kLinesPerSale);
    QCOMPARE(count(QStringLiteral("D_REG"), QStringLiteral("REG_ID NOT IN (SELECT REG_ID FROM D_REG_DTL GROUP BY REG_ID "
                                                           "HAVING COUNT(*)=3)")), 0);
    QCOMPARE(gDb->GetCtrl(QStringLiteral("NEW_REG_ID")).toLong(), total);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc == 4 && qstrcmp(argv[1], "--store-sales") == 0)
        return storeSales(QByteArray(argv[2]).toInt(), QString::fromLatin1(argv[3]));
    return runOnBothEngines<TestSaleConcurrency>(argc, argv);
}

#include "test_sale_concurrency.moc"
