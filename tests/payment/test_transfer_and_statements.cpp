// What a payment closing gives the bank and the producers: the transfer file as the bank reads it (a reviewed
// dump of its records), the kana the banks take, the producers left out and why, bad input that writes nothing;
// the producers' payment statements (a reviewed dump of a page); the two commands that make the file and the
// statements.
#include "PaymentFixture.h"

#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/PayStatementForm.h"
#include "payment/ShopAccount.h"
#include "payment/TransferFile.h"
#include "payment/ZenginKana.h"
#include "payment/ZenginRecord.h"
#include "settlement/PayCls.h"
#include "support/BothEngines.h"
#include "support/FormDump.h"

#include <QFile>

using namespace PaymentFixture;

namespace {

// A record as a person reads it: the half-width katakana (Shift_JIS 0xA1..0xDF) back in Unicode.
QString readable(const QByteArray &record)
{
    QString s;
    for (char c : record) {
        const auto b = static_cast<unsigned char>(c);
        s += b >= 0xA1 && b <= 0xDF ? QChar(char16_t(0xFF61 + b - 0xA1)) : QChar(char16_t(b));
    }
    return s;
}

TransferPayee payee(qint32 id, const char *amount)
{
    return {id, QStringLiteral("生産者%1").arg(id), *Currency::parse(QString::fromLatin1(amount)),
            {QStringLiteral("0009"), QStringLiteral("101")}, QStringLiteral("ミツイスミトモ"), QStringLiteral("オオサカホンテン"),
            QStringLiteral("普通"), QStringLiteral("123"), QStringLiteral("ヤマダ タロウ")};
}

int pdfPages(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? int(f.readAll().count(QByteArray("/Type /Page\n"))) : -1;
}

} // namespace

class TestTransferAndStatements : public QObject
{
    Q_OBJECT

public:
    explicit TestTransferAndStatements(bool onServer) : m_onServer(onServer) {}

private slots:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        m_program->createDatabases(false, m_onServer);
        m_program->openAll();
    }
    void cleanup() { m_program.reset(); }

    void closingAsTheBankReadsIt();
    void kanaTheBanksTake();
    void producersLeftOutWithTheirReasons();
    void badInputWritesNothing();
    void statementOfAProducerWithSeveralDays();
    void commandsWriteTheFileAndThePdf();

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

// Sales 12,345 / 50,000 / 30,000 less 15 % (fractions dropped) less the fee, 220 under 30,000 and 440 from
// there: 10,274, 42,060 and 25,280. The reviewed dump's notes give the layout of the records.
void TestTransferAndStatements::closingAsTheBankReadsIt()
{
    ThreeProducerClosing();
    const QString path = m_program->path(QStringLiteral("furikomi.txt"));
    const auto written = [&path] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const TransferFile file = TransferFile::Build(*gDb, *gMst, day(2024, 4, 30));
    QVERIFY2(file.ok() && file.excluded.isEmpty(), qPrintable(file.error));
    QString problem;
    QVERIFY2(file.Write(path, &problem), qPrintable(problem));
    // Six records of 120 bytes, each ended by CR LF.
    const QByteArray content = written();
    QCOMPARE(content.size(), 6 * 122);
    const QString records = readable(QByteArray(content).replace("\r\n", "\n"));
    QCOMPARE(records, FormDump::reviewed(QStringLiteral(VANTLE_PAYMENT_TESTS "/transfer_three_producers.txt"), records));

    // Without line ends: the same records back to back.
    gMst->SaveCtrl(ShopAccount::LineEndKey, Variant(QStringLiteral("1")));
    QVERIFY(TransferFile::Build(*gDb, *gMst, day(2024, 4, 30)).Write(path, nullptr));
    QCOMPARE(written(), QByteArray(content).replace("\r\n", ""));

    // A text longer than its field is cut at the field's end; a number too long or not a number is refused.
    QCOMPARE(ZenginRecord::text(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), 30), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ZenginRecord::numeric(QStringLiteral("12345"), 4));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ZenginRecord::numeric(QStringLiteral("12a"), 4));
}

void TestTransferAndStatements::kanaTheBanksTake()
{
    const char *const table[][2] = {
        {"ヤマダ　ガク", "ﾔﾏﾀﾞ ｶﾞｸ"},          {"きょうこ　さっちゃん", "ｷﾖｳｺ ｻﾂﾁﾔﾝ"}, {"ｷｮｳｺ ｯ", "ｷﾖｳｺ ﾂ"},
        {"パン・ヴィヲヰヱ", "ﾊﾟﾝ.ｳﾞｲｵｲｴ"},   {"ヵヶヮ", "ｶｹﾜ"},                  {"ＡＢｃd１2", "ABCD12"},
        {"（カ）ファーム－１／２．", "(ｶ)ﾌｱ-ﾑ-1/2."}, {"  ﾀﾛｳ　", "ﾀﾛｳ"},
    };
    for (const auto &[typed, sent] : table) {
        const auto converted = ZenginKana::convert(QString::fromUtf8(typed));
        QVERIFY2(converted && *converted == QString::fromUtf8(sent) && ZenginKana::isBankText(*converted), typed);
    }
    // Kanji and commas are refused, naming the character.
    for (const char *refused : {"山田 タロウ", "ﾔﾏﾀﾞ,ﾀﾛｳ"}) {
        QChar failed;
        QVERIFY(!ZenginKana::convert(QString::fromUtf8(refused), &failed));
        QVERIFY(failed == u'山' || failed == u',');
    }
    // One byte a character: ｱ is 0xB1, ﾞ 0xDE, ﾟ 0xDF in Shift_JIS.
    QCOMPARE(ZenginKana::encode(QStringLiteral("ｱﾞﾟA")), QByteArray("\xB1\xDE\xDF" "A"));
}

// The first producer is sent; every other is left out for the reason listed with the change that causes it.
void TestTransferAndStatements::producersLeftOutWithTheirReasons()
{
    const struct { const char *amount; void (*change)(TransferPayee &); const char *reason; } leftOut[] = {
        {"0", nullptr, "振込額が0円以下です"},
        {"-220", nullptr, "振込額が0円以下です"},
        {"1000.5", nullptr, "振込額に円未満の端数があります"},
        {"1000", [](TransferPayee &p) { p.codes = {}; }, "金融機関コード・支店コードが登録されていません"},
        {"1000", [](TransferPayee &p) { p.bankKana.reset(); }, "金融機関コード 0009 が銀行マスタにありません"},
        {"1000", [](TransferPayee &p) { p.branchKana.reset(); }, "支店コード 0009-101 が銀行マスタにありません"},
        {"1000", [](TransferPayee &p) { p.accountKind = QStringLiteral("定期"); }, "口座種別「定期」を判別できません"},
        {"1000", [](TransferPayee &p) { p.accountNo = QStringLiteral("12345678"); }, "口座番号「12345678」が7桁以内の数字ではありません"},
        {"1000", [](TransferPayee &p) { p.accountName = QStringLiteral("山田太郎"); }, "口座名義「山田太郎」の「山」をカナにできません"},
        {"1000", [](TransferPayee &p) { p.accountName.clear(); }, "口座名義がありません"},
    };
    QList<TransferPayee> payees{payee(1, "1000")};
    QStringList expected;
    for (const auto &c : leftOut) {
        payees << payee(qint32(payees.size()) + 1, c.amount);
        if (c.change)
            c.change(payees.last());
        expected << QString::number(payees.size()) + u' ' + QString::fromUtf8(c.reason);
    }
    SetShopAccount();
    const TransferFile file = TransferFile::Compose(ShopAccount::Read(*gMst), QStringLiteral("ミズホ"), QStringLiteral("トウキヨウ"),
                                                    day(2024, 5, 10), payees);
    QVERIFY(file.ok());
    QCOMPARE(file.count, 1);
    QCOMPARE(file.total, Currency::fromInt(1000));
    QStringList excluded;
    for (const TransferExclusion &e : file.excluded)
        excluded << QString::number(e.fmrId) + u' ' + e.reason;
    QCOMPARE(excluded, expected);
}

void TestTransferAndStatements::badInputWritesNothing()
{
    const QString path = m_program->path(QStringLiteral("furikomi.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the file of last month");
    }
    const auto refused = [&](const char *because) {
        const TransferFile file = TransferFile::Build(*gDb, *gMst, day(2024, 4, 30));
        QVERIFY2(file.error.contains(QString::fromUtf8(because)), qPrintable(file.error));
        QVERIFY(!file.Write(path, nullptr));
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the file of last month"));
    };
    refused("2024年4月30日締の支払締処理がありません");
    AddProducer({1, "山田 太郎", "みずほ", "東京営業部", "普通", "1234567", "ヤマダ タロウ", "0001", "001"});
    Rows::adjDtl(day(2024, 4, 3), 1, "10", "4000");
    QVERIFY(PayCls(*gDb, *gMst, day(2024, 4, 30), day(2024, 5, 10)));
    refused("銀行マスタが取り込まれていません");
    ImportBanks();
    refused("振込依頼人情報");
    SetShopAccount();
    gMst->SaveCtrl(ShopAccount::BranchCodeKey, Variant(QStringLiteral("999")));
    refused("0001-999 が銀行マスタにありません");
    gMst->SaveCtrl(ShopAccount::BranchCodeKey, Variant(QStringLiteral("001")));
    QVERIFY(TransferFile::Build(*gDb, *gMst, day(2024, 4, 30)).Write(path, nullptr));
}

// Sales 12,345 less 15 % commission (1,851, the fraction dropped) less the fee of 220.
void TestTransferAndStatements::statementOfAProducerWithSeveralDays()
{
    ThreeProducerClosing();
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
    QVERIFY(PayCls(*gDb, *gMst, day(2024, 5, 31), day(2024, 6, 10)));
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

void TestTransferAndStatements::commandsWriteTheFileAndThePdf()
{
    if (m_onServer)
        QSKIP("the commands are run on the files only");
    ThreeProducerClosing();
    AddProducer({4, "田中 一郎", "みずほ銀行", "東京営業部", "普通", "1111111", "田中一郎", "0001", "001"});
    Rows::adjDtl(day(2024, 5, 2), 4, "1", "1000");
    QVERIFY(PayCls(*gDb, *gMst, day(2024, 5, 31), day(2024, 6, 10)));
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

VANTLE_TEST_BOTH_ENGINES(TestTransferAndStatements)
#include "test_transfer_and_statements.moc"
