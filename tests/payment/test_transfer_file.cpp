// The banks' transfer file: the record layout field by field, the kana the banks take, the producers left
// out and why, a closing read back by a reader written from the published layout, and bad input.
#include "PaymentFixture.h"

#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/ShopAccount.h"
#include "payment/TransferFile.h"
#include "payment/ZenginKana.h"
#include "payment/ZenginRecord.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QTest>

using namespace PaymentFixture;

namespace {

// The published layout of the general transfer (総合振込), 120 bytes a record, positions counted from 1.
// Written from the layout itself, not from the writer: a field is (first byte, length).
struct Field { int from; int length; };
namespace Header {
constexpr Field Kind{1, 1}, Business{2, 2}, Code{4, 1}, Client{5, 10}, ClientName{15, 40}, Date{55, 4}, Bank{59, 4},
    BankName{63, 15}, Branch{78, 3}, BranchName{81, 15}, AccountKind{96, 1}, Account{97, 7}, Dummy{104, 17};
}
namespace Data {
constexpr Field Kind{1, 1}, Bank{2, 4}, BankName{6, 15}, Branch{21, 3}, BranchName{24, 15}, Clearing{39, 4},
    AccountKind{43, 1}, Account{44, 7}, Name{51, 30}, Amount{81, 10}, New{91, 1}, Customer1{92, 10},
    Customer2{102, 10}, TransferKind{112, 1}, Ident{113, 1}, Dummy{114, 7};
}
namespace Trailer {
constexpr Field Kind{1, 1}, Count{2, 6}, Total{8, 12}, Dummy{20, 101};
}

QByteArray field(const QByteArray &record, Field f)
{
    return record.mid(f.from - 1, f.length);
}

QString kana(const QByteArray &record, Field f)
{
    // Half-width katakana are the Shift_JIS bytes 0xA1..0xDF, U+FF61.. in Unicode.
    QString s;
    for (char c : field(record, f)) {
        const auto b = static_cast<unsigned char>(c);
        s += b >= 0xA1 && b <= 0xDF ? QChar(char16_t(0xFF61 + b - 0xA1)) : QChar(char16_t(b));
    }
    return s;
}

qint64 number(const QByteArray &record, Field f)
{
    bool ok = false;
    const qint64 n = field(record, f).toLongLong(&ok);
    return ok ? n : -1;
}

QByteArray blanks(int n)
{
    return QByteArray(n, ' ');
}

ShopAccount shop()
{
    ShopAccount s;
    s.clientCode = QStringLiteral("123");
    s.clientName = QStringLiteral("ミノリチョクバイジョ");
    s.bankCode = QStringLiteral("0001");
    s.branchCode = QStringLiteral("001");
    s.accountKind = 2;
    s.accountNo = QStringLiteral("7654321");
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

private slots:
    void recordLayoutFieldByField();
    void kanaTable_data();
    void kanaTable();
    void producersLeftOutWithTheirReasons();
    void threeProducerClosingReadBack_data();
    void threeProducerClosingReadBack();
    void badInputWritesNothing();
};

void TestTransferFile::recordLayoutFieldByField()
{
    TransferFile file = TransferFile::Compose(shop(), QStringLiteral("ミズホ"), QStringLiteral("トウキヨウ"),
                                              Day(2024, 5, 10), {payee(42, "25280")});
    QVERIFY2(file.ok(), qPrintable(file.error));
    QCOMPARE(file.records.size(), 4);
    for (const QByteArray &r : file.records)
        QCOMPARE(r.size(), 120);

    const QByteArray h = file.records[0];
    QCOMPARE(field(h, Header::Kind), QByteArray("1"));
    QCOMPARE(field(h, Header::Business), QByteArray("21"));
    QCOMPARE(field(h, Header::Code), QByteArray("0"));
    QCOMPARE(field(h, Header::Client), QByteArray("0000000123"));           // zero fill on the left
    QCOMPARE(kana(h, Header::ClientName), QStringLiteral("ﾐﾉﾘﾁﾖｸﾊﾞｲｼﾞﾖ").leftJustified(40)); // blanks on the right
    QCOMPARE(field(h, Header::Date), QByteArray("0510"));
    QCOMPARE(field(h, Header::Bank), QByteArray("0001"));
    QCOMPARE(kana(h, Header::BankName), QStringLiteral("ﾐｽﾞﾎ").leftJustified(15));
    QCOMPARE(field(h, Header::Branch), QByteArray("001"));
    QCOMPARE(kana(h, Header::BranchName), QStringLiteral("ﾄｳｷﾖｳ").leftJustified(15));
    QCOMPARE(field(h, Header::AccountKind), QByteArray("2"));
    QCOMPARE(field(h, Header::Account), QByteArray("7654321"));
    QCOMPARE(field(h, Header::Dummy), blanks(17));

    const QByteArray d = file.records[1];
    QCOMPARE(field(d, Data::Kind), QByteArray("2"));
    QCOMPARE(field(d, Data::Bank), QByteArray("0009"));
    QCOMPARE(kana(d, Data::BankName), QStringLiteral("ﾐﾂｲｽﾐﾄﾓ").leftJustified(15));
    QCOMPARE(field(d, Data::Branch), QByteArray("101"));
    QCOMPARE(kana(d, Data::BranchName), QStringLiteral("ｵｵｻｶﾎﾝﾃﾝ").leftJustified(15));
    QCOMPARE(field(d, Data::Clearing), QByteArray("0000"));
    QCOMPARE(field(d, Data::AccountKind), QByteArray("1"));
    QCOMPARE(field(d, Data::Account), QByteArray("0000123"));
    QCOMPARE(kana(d, Data::Name), QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ").leftJustified(30));
    QCOMPARE(field(d, Data::Amount), QByteArray("0000025280"));
    QCOMPARE(field(d, Data::New), QByteArray("0"));
    QCOMPARE(field(d, Data::Customer1), QByteArray("0000000042"));
    QCOMPARE(field(d, Data::Customer2), QByteArray("0000000000"));
    QCOMPARE(field(d, Data::TransferKind) + field(d, Data::Ident) + field(d, Data::Dummy), blanks(9));

    const QByteArray t = file.records[2];
    QCOMPARE(field(t, Trailer::Kind), QByteArray("8"));
    QCOMPARE(field(t, Trailer::Count), QByteArray("000001"));
    QCOMPARE(field(t, Trailer::Total), QByteArray("000000025280"));
    QCOMPARE(field(t, Trailer::Dummy), blanks(101));
    QCOMPARE(file.records[3], QByteArray("9") + blanks(119));

    // A text longer than its field is cut at the field's end, never into the next field.
    QCOMPARE(ZenginRecord::text(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"), 30), QByteArray("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123"));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ZenginRecord::numeric(QStringLiteral("12345"), 4));
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, ZenginRecord::numeric(QStringLiteral("12a"), 4));
}

void TestTransferFile::kanaTable_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("sent"); // "" when refused
    QTest::newRow("full-width katakana, voiced") << "ヤマダ　ガク" << "ﾔﾏﾀﾞ ｶﾞｸ";
    QTest::newRow("hiragana, small kana") << "きょうこ　さっちゃん" << "ｷﾖｳｺ ｻﾂﾁﾔﾝ";
    QTest::newRow("half-width small kana") << "ｷｮｳｺ ｯ" << "ｷﾖｳｺ ﾂ";
    QTest::newRow("semi-voiced, ヴ, ヲ ヰ ヱ") << "パン・ヴィヲヰヱ" << "ﾊﾟﾝ.ｳﾞｲｵｲｴ";
    QTest::newRow("ヵ ヶ ヮ") << "ヵヶヮ" << "ｶｹﾜ";
    QTest::newRow("letters, digits") << "ＡＢｃd１2" << "ABCD12";
    QTest::newRow("symbols, long vowel") << "（カ）ファーム－１／２．" << "(ｶ)ﾌｱ-ﾑ-1/2.";
    QTest::newRow("outer blanks") << "  ﾀﾛｳ　" << "ﾀﾛｳ";
    QTest::newRow("kanji refused") << "山田 タロウ" << "";
    QTest::newRow("comma refused") << "ﾔﾏﾀﾞ,ﾀﾛｳ" << "";
}

void TestTransferFile::kanaTable()
{
    QFETCH(QString, typed);
    QFETCH(QString, sent);
    QChar failed;
    const auto converted = ZenginKana::convert(typed, &failed);
    if (sent.isEmpty()) {
        QVERIFY(!converted);
        QVERIFY(failed == u'山' || failed == u',');
        return;
    }
    QVERIFY(converted);
    QCOMPARE(*converted, sent);
    QVERIFY(ZenginKana::isBankText(*converted));
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

    const TransferFile file = TransferFile::Compose(shop(), QStringLiteral("ミズホ"), QStringLiteral("トウキヨウ"), Day(2024, 5, 10), payees);
    QVERIFY(file.ok());
    QCOMPARE(file.count, 2);
    QCOMPARE(file.total, Currency::fromInt(3000));
    QCOMPARE(number(file.records[2], Data::Customer1), 12);
    QCOMPARE(field(file.records[2], Data::AccountKind), QByteArray("2"));
    QCOMPARE(field(file.records[2], Data::Account), QByteArray("0001234"));
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

    // Nobody left to pay: no file at all.
    const TransferFile none = TransferFile::Compose(shop(), QString(), QString(), Day(2024, 5, 10), {payee(2, "0")});
    QVERIFY(!none.ok());
    QVERIFY(none.records.isEmpty());
    QCOMPARE(none.excluded.size(), 1);
}

void TestTransferFile::threeProducerClosingReadBack_data()
{
    QTest::addColumn<bool>("onServer");
    QTest::addColumn<bool>("lineEnds");
    QTest::newRow("SQLite, CR LF") << false << true;
    QTest::newRow("SQLite, no line ends") << false << false;
    QTest::newRow("MariaDB") << true << true;
}

void TestTransferFile::threeProducerClosingReadBack()
{
    QFETCH(bool, onServer);
    QFETCH(bool, lineEnds);
    if (onServer && !TestProgram::serverAvailable())
        QSKIP("no test server");
    TestProgram program;
    program.createDatabases(false, onServer);
    program.openAll();
    ThreeProducerClosing();
    gMst->SaveCtrl(ShopAccount::LineEndKey, Variant(QString::number(lineEnds ? 0 : 1)));

    const QString path = program.path(QStringLiteral("furikomi.txt"));
    const TransferFile file = TransferFile::Build(*gDb, *gMst, Day(2024, 4, 30));
    QVERIFY2(file.ok(), qPrintable(file.error));
    QVERIFY(file.excluded.isEmpty());
    QString problem;
    QVERIFY2(file.Write(path, &problem), qPrintable(problem));

    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray content = written.readAll();
    const int width = lineEnds ? 122 : 120;
    QCOMPARE(content.size(), 6 * width);
    QList<QByteArray> records;
    for (int at = 0; at < content.size(); at += width) {
        if (lineEnds)
            QCOMPARE(content.mid(at + 120, 2), QByteArray("\r\n"));
        records << content.mid(at, 120);
    }
    QCOMPARE(field(records[0], Header::Kind) + field(records[4], Trailer::Kind) + field(records[5], Trailer::Kind), QByteArray("189"));
    QCOMPARE(field(records[0], Header::Date), QByteArray("0510"));

    // Sales 12,345 / 50,000 / 30,000 less 15 % (fractions dropped) less the fee: 220 under 30,000, 440 from there.
    const qint64 amounts[3] = {10274, 42060, 25280};
    const char *names[3] = {"ﾔﾏﾀﾞ ﾀﾛｳ", "ｶ)ﾐﾉﾘ", "ｻﾄｳ ﾊﾅｺ"};
    const char *accounts[3] = {"11234567", "27654321", "10000123"};
    const char *banks[3] = {"0001001", "1303002", "0009101"};
    qint64 sum = 0;
    for (int i = 0; i < 3; ++i) {
        const QByteArray &d = records[i + 1];
        QCOMPARE(field(d, Data::Kind), QByteArray("2"));
        QCOMPARE(number(d, Data::Customer1), i + 1);
        QCOMPARE(number(d, Data::Amount), amounts[i]);
        QCOMPARE(kana(d, Data::Name).trimmed(), QString::fromUtf8(names[i]));
        QCOMPARE(field(d, Data::AccountKind) + field(d, Data::Account), QByteArray(accounts[i]));
        QCOMPARE(field(d, Data::Bank) + field(d, Data::Branch), QByteArray(banks[i]));
        sum += number(d, Data::Amount);
    }
    QCOMPARE(number(records[4], Trailer::Count), 3);
    QCOMPARE(number(records[4], Trailer::Total), sum);
    QCOMPARE(Currency::fromInt(sum), file.total);
}

void TestTransferFile::badInputWritesNothing()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    const QString path = program.path(QStringLiteral("furikomi.txt"));
    {
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("the file of last month");
    }
    const auto refused = [&](const char *because) {
        const TransferFile file = TransferFile::Build(*gDb, *gMst, Day(2024, 4, 30));
        QVERIFY2(file.error.contains(QString::fromUtf8(because)), qPrintable(file.error));
        QVERIFY(!file.Write(path, nullptr));
        QFile old(path);
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("the file of last month"));
    };
    refused("2024年4月30日締の支払締処理がありません");
    AddProducer({1, "山田 太郎", "みずほ", "東京営業部", "普通", "1234567", "ヤマダ タロウ", "0001", "001"});
    AddDay(Day(2024, 4, 3), 1, "10", "4000");
    Close(Day(2024, 4, 30), Day(2024, 5, 10));
    refused("銀行マスタが取り込まれていません");
    ImportBanks();
    refused("振込依頼人情報");
    SetShopAccount();
    gMst->SaveCtrl(ShopAccount::BranchCodeKey, Variant(QStringLiteral("999")));
    refused("0001-999 が銀行マスタにありません");
    gMst->SaveCtrl(ShopAccount::BranchCodeKey, Variant(QStringLiteral("001")));
    QVERIFY(TransferFile::Build(*gDb, *gMst, Day(2024, 4, 30)).Write(path, nullptr));
}

QTEST_GUILESS_MAIN(TestTransferFile)
#include "test_transfer_file.moc"
