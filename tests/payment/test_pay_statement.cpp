// The producers' payment statements (a reviewed dump of a page) and the two commands that make the bank file
// and the statements.
#include "PaymentFixture.h"

#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/PayStatementForm.h"
#include "support/FormDump.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QTest>

using namespace PaymentFixture;

namespace {

int pdfPages(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? int(f.readAll().count(QByteArray("/Type /Page\n"))) : -1;
}

} // namespace

class TestPayStatement : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        m_program->createDatabases();
        m_program->openAll();
        ThreeProducerClosing();
    }
    void cleanup() { m_program.reset(); }

    void statementOfAProducerWithSeveralDays();
    void commandsWriteTheFileAndThePdf();

private:
    std::unique_ptr<TestProgram> m_program;
};

// Sales 12,345 less 15 % commission (1,851, the fraction dropped) less the fee of 220.
void TestPayStatement::statementOfAProducerWithSeveralDays()
{
    gMst->SaveCtrl(QStringLiteral("COM_NM"), Variant(QStringLiteral("みのり直売所")));
    PayStatementSet set = PayStatementSet::Load(*gDb, *gMst, day(2024, 4, 30));
    QVERIFY2(set.error.isEmpty(), qPrintable(set.error));
    QCOMPARE(set.statements.size(), 3);
    RecordingSurface page;
    PayStatementForm::PrintPage(page, 0, 0, set, set.statements[0], 1);
    const QString dump = FormDump::of(page.current());
    QCOMPARE(dump, FormDump::reviewed(QStringLiteral(VANTLE_PAYMENT_TESTS "/pay_statement.txt"), dump));

    // The next closing's period starts the day after this one; 30 days run onto a second page, which alone
    // carries the total; a rate that no longer gives the stored commission is not printed.
    for (int d = 1; d <= 30; ++d)
        Rows::adjDtl(day(2024, 5, d), 1, "1", "100");
    Close(day(2024, 5, 31), day(2024, 6, 10));
    gMst->SaveCtrl(QStringLiteral("FEE_RT"), Variant(QStringLiteral("0.1")));
    set = PayStatementSet::Load(*gDb, *gMst, day(2024, 5, 31), 1);
    QCOMPARE(set.statements.size(), 1);
    QCOMPARE(PayStatementForm::Pages(set.statements[0]), 2);
    page.clear();
    PayStatementForm::PrintPage(page, 0, 0, set, set.statements[0], 1);
    QVERIFY(page.texts().contains(QStringLiteral("対象期間　2024年5月1日 ～ 2024年5月31日")));
    QVERIFY(page.texts().contains(QStringLiteral("1 / 2")));
    QVERIFY(page.texts().filter(QStringLiteral("合計")).isEmpty());
    page.clear();
    PayStatementForm::PrintPage(page, 0, 0, set, set.statements[0], 2);
    QVERIFY(page.texts().contains(QStringLiteral("合計（30日）")));
    QVERIFY(page.texts().contains(QStringLiteral("販売手数料")));

    QVERIFY(PayStatementSet::Load(*gDb, *gMst, day(2024, 5, 31), 2).error.contains(QStringLiteral("生産者 2 はこの支払締にありません")));
}

void TestPayStatement::commandsWriteTheFileAndThePdf()
{
    AddProducer({4, "田中 一郎", "みずほ銀行", "東京営業部", "普通", "1111111", "田中一郎", "0001", "001"});
    Rows::adjDtl(day(2024, 5, 2), 4, "1", "1000");
    Close(day(2024, 5, 31), day(2024, 6, 10));
    const auto path = [this](const char *name) { return m_program->path(QString::fromLatin1(name)); };
    QString out;

    QCOMPARE(admin({QStringLiteral("zengin"), QStringLiteral("2024-04-30"), QStringLiteral("-o"), path("furikomi.txt")}, &out), 0);
    QVERIFY2(out.contains(QStringLiteral("3 件 77,614円")), qPrintable(out));
    QCOMPARE(QFileInfo(path("furikomi.txt")).size(), 6 * 122);
    // The only producer of May has a name in kanji: listed, and no file is made.
    QCOMPARE(admin({QStringLiteral("zengin"), QStringLiteral("2024-05-31"), QStringLiteral("-o"), path("may.txt")}, &out), 1);
    QVERIFY2(out.contains(QStringLiteral("除外\t4\t田中 一郎\t630円\t口座名義「田中一郎」の「田」をカナにできません")), qPrintable(out));
    QVERIFY(!QFileInfo::exists(path("may.txt")));

    QCOMPARE(admin({QStringLiteral("statement"), QStringLiteral("2024-04-30"), QStringLiteral("-o"), path("all.pdf")}, &out), 0);
    QCOMPARE(pdfPages(path("all.pdf")), 3);
    QCOMPARE(admin({QStringLiteral("statement"), QStringLiteral("2024-04-30"), QStringLiteral("2"), QStringLiteral("-o"), path("one.pdf")}, &out), 0);
    QCOMPARE(pdfPages(path("one.pdf")), 1);
}

QTEST_MAIN(TestPayStatement)
#include "test_pay_statement.moc"
