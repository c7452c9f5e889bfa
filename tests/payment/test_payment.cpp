// What the producers' payment needs beside the closing: the bank master (importing the zengin-code package, the codes it
// proposes for producers, the screens that keep the producers' codes and the shop's account); the transfer
// file as the bank reads it (a reviewed dump of its records), the kana the banks take, the producers left out
// and why, bad input that writes nothing; the payment statements (a reviewed dump of a page); the two commands
// that make the file and the statements. The commands and the package import run on the files only.
#include "PaymentFixture.h"

#include "payment/PayStatementForm.h"
#include "payment/TransferFile.h"
#include "payment/ZenginKana.h"
#include "payment/ZenginRecord.h"
#include "settings/FmrBankBoxes.h"
#include "settings/fdlMstFmrEdit.h"
#include "settings/fdlSetBankCtrl.h"
#include "support/BothEngines.h"
#include "support/FormDump.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStringDecoder>

using namespace PaymentFixture;

namespace {

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

QString codesOf(int fmrId)
{
    const BankMaster::Codes c = BankMaster::ProducerCodes(*gMst, fmrId);
    return c.isEmpty() ? QString() : c.bank + u'-' + c.branch;
}

} // namespace

class TestPayment : public QObject
{
    Q_OBJECT

public:
    explicit TestPayment(bool onServer) : m_onServer(onServer) {}

private slots:
    void init()
    {
        m_program = TestProgram::opened(false, m_onServer);
    }
    void cleanup() { m_program.reset(); }

    void importProposesOnlyUniqueMatches();
    void realPackage();
    void producerEditorKeepsTheCodes();
    void shopAccountScreen();
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

void TestPayment::importProposesOnlyUniqueMatches()
{
    if (m_onServer)
        QSKIP("the commands run on the files only");
    const char *const banks[][3] = {{"山田", "みずほ銀行", "東京営業部支店"}, {"浅草", "ｱｻﾋｼﾝｷﾝ", "あさくさ"},
                                    {"鈴木", "ＪＡ鈴鹿", "本店"},             {"中井", "鈴鹿農業協同組合", "中央支店"},
                                    {"郵便", "ゆうちょ銀行", "〇一八"},       {"新宿", "みずほ", "新宿"}};
    for (int i = 0; i < 6; ++i)
        AddProducer({i + 1, banks[i][0], banks[i][1], banks[i][2], "普通", "1", "ﾔﾏﾀﾞ", nullptr, nullptr});
    AddProducer({7, "決定済", "みずほ銀行", "東京営業部", "普通", "7", "ｹﾂﾃｲ", "0009", "101"});
    AddProducer({8, "現金", "", "", "", "", "", nullptr, nullptr});
    const auto branches = [] { return gMst->DCount(QStringLiteral("*"), QStringLiteral("M_BANK_BR")).toLong(); };

    QString out;
    QCOMPARE(admin({QStringLiteral("banks"), QStringLiteral("import"), kPackage}, &out), 0);
    QCOMPARE(branches(), 8);
    // Only unique matches are proposed; a person's decision stands.
    QStringList codes;
    for (int id = 1; id <= 7; ++id)
        codes << codesOf(id);
    QCOMPARE(codes, (QStringList{"0001-001", "1303-002", "6665-001", "", "", "", "0009-101"}));
    // The rest is listed for a person to decide; producers without an account are not.
    QCOMPARE(out.split(u'\n').filter(QStringLiteral("要確認")),
             (QStringList{"要確認\t4\t中井\t鈴鹿農業協同組合 中央支店\t該当する金融機関・支店が2件あります",
                          "要確認\t5\t郵便\tゆうちょ銀行 〇一八\t金融機関名が銀行マスタにありません",
                          "要確認\t6\t新宿\tみずほ 新宿\t支店名が銀行マスタにありません"}));

    // A package that is not what it should be changes nothing.
    QTemporaryDir broken;
    QDir(broken.path()).mkpath(QStringLiteral("lib"));
    QFile data(QDir(broken.path()).filePath(QStringLiteral("lib/zengin-data.js")));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write(R"(module.exports = { "0001": { "name": "x", "branches": { "01": { "name": "y" } } } };)");
    data.close();
    QCOMPARE(admin({QStringLiteral("banks"), QStringLiteral("import"), broken.path()}, &out), 1);
    QVERIFY(out.contains(QStringLiteral("支店コード「01」")));
    QCOMPARE(branches(), 8);
}

void TestPayment::realPackage()
{
    if (m_onServer)
        QSKIP("the package is imported on the files only");
    // The test command installs the package with npm; CI does the same.
    const QString dir = ZenginCodeData::FindPackage(qEnvironmentVariable("VANTLE_ZENGIN_DIR"));
    if (qEnvironmentVariableIsEmpty("VANTLE_ZENGIN_DIR") || dir.isEmpty())
        QSKIP("zengin-code is not installed (VANTLE_ZENGIN_DIR)");
    QString problem;
    const auto data = ZenginCodeData::Read(dir, &problem);
    QVERIFY2(data, qPrintable(problem));
    const BankImport::Result result = BankImport::Run(*gMst, *data);
    QVERIFY(result.banks > 1000 && result.branches > 20000);
    QCOMPARE(BankMaster::Bank(*gMst, QStringLiteral("0001"))->kana, QStringLiteral("ミズホ"));
    // Every kana of the package converts to what the banks take.
    for (const auto &b : data->branches)
        QVERIFY2(ZenginKana::convert(b.kana), qPrintable(b.bankCode + b.code + b.kana));
}

// The producer editor stores the codes typed, refusing a malformed one; a master made before the bank tables
// existed gets them with the first save. The names of the codes show once the banks are imported.
void TestPayment::producerEditorKeepsTheCodes()
{
    for (const char *table : {"M_FMR_BANK", "M_BANK_BR", "M_BANK"})
        gMst->EXEC(QStringLiteral("DROP TABLE ") + QString::fromLatin1(table));
    AddProducer({12, "山田", "みずほ銀行", "東京営業部", "普通", "1234567", "ﾔﾏﾀﾞ", nullptr, nullptr});
    fdlMstFmrEdit editor;
    const auto load = [&editor] {
        editor.box(0)->setText(QStringLiteral("0012"));
        QTest::keyClick(editor.box(0), Qt::Key_Return);
    };
    load();
    editor.bankBoxes()->txtBANK_CD->setText(QStringLiteral("0001"));
    editor.bankBoxes()->txtBR_CD->setText(QStringLiteral("04"));
    editor.button(1)->click();
    QCOMPARE(m_program->messages().prompts().last(), QStringLiteral("支店コードは3桁の数字で入力して下さい。"));
    editor.bankBoxes()->txtBR_CD->setText(QStringLiteral("004"));
    editor.button(1)->click();
    QCOMPARE(codesOf(12), QStringLiteral("0001-004"));

    ImportBanks();
    load();
    QCOMPARE(editor.bankBoxes()->lblNames->text(), QStringLiteral("みずほ　丸の内中央"));
}

// The shop's account screen refuses a malformed code and keeps the stored one until a valid save.
void TestPayment::shopAccountScreen()
{
    ThreeProducerClosing();
    fdlSetBankCtrl dialog;
    QCOMPARE(dialog.lblBankName->text(), QStringLiteral("みずほ（ミズホ）"));
    dialog.text(ShopAccount::BankCodeKey)->setText(QStringLiteral("9"));
    dialog.button(1)->click();
    QVERIFY(m_program->messages().prompts().last().contains(QStringLiteral("金融機関コードは4桁の数字")));
    QCOMPARE(gMst->GetCtrl(ShopAccount::BankCodeKey).toString(), QStringLiteral("0001"));
    dialog.text(ShopAccount::BankCodeKey)->setText(QStringLiteral("1303"));
    dialog.text(ShopAccount::BranchCodeKey)->setText(QStringLiteral("002"));
    dialog.list(ShopAccount::LineEndKey)->setCurrentIndex(1);
    dialog.button(1)->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    const ShopAccount stored = ShopAccount::Read(*gMst);
    QCOMPARE(stored.bankCode + stored.branchCode + QString::number(stored.lineEnds), QStringLiteral("13030020"));
}

// Sales 12,345 / 50,000 / 30,000 less 15 % (fractions dropped) less the fee, 220 under 30,000 and 440 from
// there: 10,274, 42,060 and 25,280. The reviewed dump's notes give the layout of the records.
void TestPayment::closingAsTheBankReadsIt()
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
    // As a person reads them: the half-width katakana (Shift_JIS 0xA1..0xDF) back in Unicode.
    const QString records = QStringDecoder("Shift_JIS").decode(QByteArray(content).replace("\r\n", "\n"));
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

void TestPayment::kanaTheBanksTake()
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
}

// The first producer is sent; every other is left out for the reason listed with the change that causes it.
void TestPayment::producersLeftOutWithTheirReasons()
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

void TestPayment::badInputWritesNothing()
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
void TestPayment::statementOfAProducerWithSeveralDays()
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
    const auto marks = [&](int pageNo) {
        page.clear();
        PayStatementForm::PrintPage(page, 0, 0, set, set.statements[0], pageNo);
        return page.texts().filter(QRegularExpression(QStringLiteral("^(対象期間|合計|販売手数料)| / 2$")));
    };
    QCOMPARE(marks(1), (QStringList{QStringLiteral("1 / 2"), QStringLiteral("対象期間　2024年5月1日 ～ 2024年5月31日")}));
    QCOMPARE(marks(2), (QStringList{QStringLiteral("2 / 2"), QStringLiteral("対象期間　2024年5月1日 ～ 2024年5月31日"),
                                    QStringLiteral("合計（30日）"), QStringLiteral("販売手数料")}));

    QVERIFY(PayStatementSet::Load(*gDb, *gMst, day(2024, 5, 31), 2).error.contains(QStringLiteral("生産者 2 はこの支払締にありません")));
}

void TestPayment::commandsWriteTheFileAndThePdf()
{
    if (m_onServer)
        QSKIP("the commands run on the files only");
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

VANTLE_TEST_BOTH_ENGINES(TestPayment)
#include "test_payment.moc"
