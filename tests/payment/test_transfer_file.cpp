// The banks' transfer file: a closing's file as the bank reads it (a reviewed dump of its records), the kana
// the banks take, the producers left out and why, and bad input that writes nothing.
#include "PaymentFixture.h"

#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/ShopAccount.h"
#include "payment/TransferFile.h"
#include "payment/ZenginKana.h"
#include "payment/ZenginRecord.h"
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
    TransferPayee p;
    p.fmrId = id;
    p.fmrName = QStringLiteral("生産者%1").arg(id);
    p.amount = *Currency::parse(QString::fromLatin1(amount));
    p.codes = {QStringLiteral("0009"), QStringLiteral("101")};
    p.bankKana = QStringLiteral("ミツイスミトモ");
    p.branchKana = QStringLiteral("オオサカホンテン");
    p.accountKind = QStringLiteral("普通");
    p.accountNo = QStringLiteral("123");
    p.accountName = QStringLiteral("ヤマダ タロウ");
    return p;
}

} // namespace

class TestTransferFile : public QObject
{
    Q_OBJECT

public:
    explicit TestTransferFile(bool onServer) : m_onServer(onServer) {}

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

private:
    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
};

// Sales 12,345 / 50,000 / 30,000 less 15 % (fractions dropped) less the fee, 220 under 30,000 and 440 from
// there: 10,274, 42,060 and 25,280. The reviewed dump's notes give the layout of the records.
void TestTransferFile::closingAsTheBankReadsIt()
{
    ThreeProducerClosing();
    const QString path = m_program->path(QStringLiteral("furikomi.txt"));
    const TransferFile file = TransferFile::Build(*gDb, *gMst, day(2024, 4, 30));
    QVERIFY2(file.ok() && file.excluded.isEmpty(), qPrintable(file.error));
    QCOMPARE(file.total, Currency::fromInt(77614));
    QString problem;
    QVERIFY2(file.Write(path, &problem), qPrintable(problem));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray content = written.readAll();
    written.close();
    QString records;
    for (const QByteArray &line : content.split('\n').mid(0, 6)) {
        QVERIFY(line.size() == 121 && line.endsWith('\r'));
        records += readable(line.left(120)) + u'\n';
    }
    QCOMPARE(content.size(), 6 * 122);
    QCOMPARE(records, FormDump::reviewed(QStringLiteral(VANTLE_PAYMENT_TESTS "/transfer_three_producers.txt"), records));

    // Without line ends: the same records back to back.
    gMst->SaveCtrl(ShopAccount::LineEndKey, Variant(QStringLiteral("1")));
    QVERIFY(TransferFile::Build(*gDb, *gMst, day(2024, 4, 30)).Write(path, nullptr));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), QByteArray(content).replace("\r\n", ""));

    // A text longer than its field is cut at the field's end; a number too long or not a number is refused.
    QCOMPARE(ZenginRecord::text(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), 30), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ZenginRecord::numeric(QStringLiteral("12345"), 4));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ZenginRecord::numeric(QStringLiteral("12a"), 4));
}

void TestTransferFile::kanaTheBanksTake()
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
void TestTransferFile::producersLeftOutWithTheirReasons()
{
    QList<TransferPayee> payees{payee(1, "1000")};
    auto add = [&](qint32 id, const char *amount, auto change) {
        TransferPayee p = payee(id, amount);
        change(p);
        payees << p;
    };
    add(2, "0", [](TransferPayee &) {});
    add(3, "-220", [](TransferPayee &) {});
    add(4, "1000.5", [](TransferPayee &) {});
    add(5, "1000", [](TransferPayee &p) { p.codes = {}; });
    add(6, "1000", [](TransferPayee &p) { p.bankKana.reset(); });
    add(7, "1000", [](TransferPayee &p) { p.branchKana.reset(); });
    add(8, "1000", [](TransferPayee &p) { p.accountKind = QStringLiteral("定期"); });
    add(9, "1000", [](TransferPayee &p) { p.accountNo = QStringLiteral("12345678"); });
    add(10, "1000", [](TransferPayee &p) { p.accountName = QStringLiteral("山田太郎"); });
    add(11, "1000", [](TransferPayee &p) { p.accountName.clear(); });
    add(12, "2000", [](TransferPayee &p) { p.accountKind = QStringLiteral("当座"); p.accountNo = QStringLiteral("12-34"); });

    SetShopAccount();
    const ShopAccount shop = ShopAccount::Read(*gMst);
    const TransferFile file = TransferFile::Compose(shop, QStringLiteral("ミズホ"), QStringLiteral("トウキヨウ"), day(2024, 5, 10), payees);
    QVERIFY(file.ok());
    QCOMPARE(file.count, 2);
    QCOMPARE(file.total, Currency::fromInt(3000));
    // The current account's kind and its number without the dash, then the producer as the customer code.
    QCOMPARE(file.records[2].mid(42, 8), QByteArray("20001234"));
    QCOMPARE(file.records[2].mid(91, 10), QByteArray("0000000012"));
    const QStringList expected{
        "振込額が0円以下です", "振込額が0円以下です", "振込額に円未満の端数があります",
        "金融機関コード・支店コードが登録されていません", "金融機関コード 0009 が銀行マスタにありません",
        "支店コード 0009-101 が銀行マスタにありません", "口座種別「定期」を判別できません",
        "口座番号「12345678」が7桁以内の数字ではありません", "口座名義「山田太郎」の「山」をカナにできません",
        "口座名義がありません",
    };
    QCOMPARE(file.excluded.size(), expected.size());
    for (int i = 0; i < expected.size(); ++i) {
        QCOMPARE(file.excluded[i].fmrId, i + 2);
        QCOMPARE(file.excluded[i].reason, expected[i]);
    }
}

void TestTransferFile::badInputWritesNothing()
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
    Close(day(2024, 4, 30), day(2024, 5, 10));
    refused("銀行マスタが取り込まれていません");
    ImportBanks();
    refused("振込依頼人情報");
    SetShopAccount();
    gMst->SaveCtrl(ShopAccount::BranchCodeKey, Variant(QStringLiteral("999")));
    refused("0001-999 が銀行マスタにありません");
    gMst->SaveCtrl(ShopAccount::BranchCodeKey, Variant(QStringLiteral("001")));
    QVERIFY(TransferFile::Build(*gDb, *gMst, day(2024, 4, 30)).Write(path, nullptr));
}

VANTLE_TEST_BOTH_ENGINES(TestTransferFile)
#include "test_transfer_file.moc"
