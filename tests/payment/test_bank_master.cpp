// The bank master: importing the zengin-code package, the codes it proposes for producers, and the screens
// that keep the producers' codes and the shop's account (the transfer screens are wiring over the commands
// test_pay_statement runs).
#include "PaymentFixture.h"

#include "data/Globals.h"
#include "data/clsMst.h"
#include "payment/BankImport.h"
#include "payment/BankMaster.h"
#include "payment/ShopAccount.h"
#include "payment/ZenginCodeData.h"
#include "payment/ZenginKana.h"
#include "settings/FmrBankBoxes.h"
#include "settings/fdlMstFmrEdit.h"
#include "settings/fdlSetBankCtrl.h"
#include "support/TestProgram.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace PaymentFixture;

namespace {

QString codesOf(int fmrId)
{
    const BankMaster::Codes c = BankMaster::ProducerCodes(*gMst, fmrId);
    return c.isEmpty() ? QString() : c.bank + u'-' + c.branch;
}

// The banks and branches of the master.
QString bankRows()
{
    return QStringLiteral("%1 %2").arg(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_BANK")).toLong())
        .arg(gMst->DCount(QStringLiteral("*"), QStringLiteral("M_BANK_BR")).toLong());
}

} // namespace

class TestBankMaster : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = std::make_unique<TestProgram>();
        m_program->createDatabases();
        m_program->openAll();
    }
    void cleanup() { m_program.reset(); }

    void importProposesOnlyUniqueMatches();
    void realPackage();
    void producerEditorKeepsTheCodes();
    void shopAccountScreen();

private:
    std::unique_ptr<TestProgram> m_program;
};

void TestBankMaster::importProposesOnlyUniqueMatches()
{
    const char *const banks[][3] = {{"山田", "みずほ銀行", "東京営業部支店"}, {"浅草", "ｱｻﾋｼﾝｷﾝ", "あさくさ"},
                                    {"鈴木", "ＪＡ鈴鹿", "本店"},             {"中井", "鈴鹿農業協同組合", "中央支店"},
                                    {"郵便", "ゆうちょ銀行", "〇一八"},       {"新宿", "みずほ", "新宿"}};
    for (int i = 0; i < 6; ++i)
        AddProducer({i + 1, banks[i][0], banks[i][1], banks[i][2], "普通", "1", "ﾔﾏﾀﾞ", nullptr, nullptr});
    AddProducer({7, "決定済", "みずほ銀行", "東京営業部", "普通", "7", "ｹﾂﾃｲ", "0009", "101"});
    AddProducer({8, "現金", "", "", "", "", "", nullptr, nullptr});

    QString out;
    QCOMPARE(admin({QStringLiteral("banks"), QStringLiteral("import"), kPackage}, &out), 0);
    QCOMPARE(bankRows(), QStringLiteral("4 8"));
    // Only unique matches are proposed; a person's decision stands.
    QStringList codes;
    for (int id = 1; id <= 7; ++id)
        codes << codesOf(id);
    QCOMPARE(codes, (QStringList{"0001-001", "1303-002", "6665-001", "", "", "", "0009-101"}));
    QVERIFY2(out.contains(QStringLiteral("要確認\t4\t中井\t鈴鹿農業協同組合 中央支店\t該当する金融機関・支店が2件あります")), qPrintable(out));
    QVERIFY(out.contains(QStringLiteral("要確認\t5\t郵便\tゆうちょ銀行 〇一八\t金融機関名が銀行マスタにありません")));
    QVERIFY(out.contains(QStringLiteral("要確認\t6\t新宿\tみずほ 新宿\t支店名が銀行マスタにありません")));
    QVERIFY(!out.contains(QStringLiteral("\t現金\t")));

    // A package that is not what it should be changes nothing.
    QTemporaryDir broken;
    QDir(broken.path()).mkpath(QStringLiteral("lib"));
    QFile data(QDir(broken.path()).filePath(QStringLiteral("lib/zengin-data.js")));
    QVERIFY(data.open(QIODevice::WriteOnly));
    data.write(R"(module.exports = { "0001": { "name": "x", "branches": { "01": { "name": "y" } } } };)");
    data.close();
    QCOMPARE(admin({QStringLiteral("banks"), QStringLiteral("import"), broken.path()}, &out), 1);
    QVERIFY(out.contains(QStringLiteral("支店コード「01」")));
    QCOMPARE(bankRows(), QStringLiteral("4 8"));
}

void TestBankMaster::realPackage()
{
    // The test command installs the package with npm; CI does the same.
    const QString dir = ZenginCodeData::FindPackage(qEnvironmentVariable("VANTLE_ZENGIN_DIR"));
    if (qEnvironmentVariableIsEmpty("VANTLE_ZENGIN_DIR") || dir.isEmpty())
        QSKIP("zengin-code is not installed (VANTLE_ZENGIN_DIR)");
    QString problem;
    const auto data = ZenginCodeData::Read(dir, &problem);
    QVERIFY2(data, qPrintable(problem));
    const BankImport::Result result = BankImport::Run(*gMst, *data);
    QVERIFY(result.banks > 1000);
    QVERIFY(result.branches > 20000);
    QCOMPARE(BankMaster::Bank(*gMst, QStringLiteral("0001"))->kana, QStringLiteral("ミズホ"));
    // Every kana of the package converts to what the banks take.
    for (const auto &b : data->branches)
        QVERIFY2(ZenginKana::convert(b.kana), qPrintable(b.bankCode + b.code + b.kana));
}

// The producer editor stores the codes typed, refusing a malformed one; a master made before the bank tables
// existed gets them with the first save. The names of the codes show once the banks are imported.
void TestBankMaster::producerEditorKeepsTheCodes()
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
void TestBankMaster::shopAccountScreen()
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

QTEST_MAIN(TestBankMaster)
#include "test_bank_master.moc"
