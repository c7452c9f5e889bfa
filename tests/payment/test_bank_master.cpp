// The bank master: importing the zengin-code package, the codes it proposes for producers, and the screens
// that keep the producers' codes and the shop's account.
#include "PaymentFixture.h"

#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/BankImport.h"
#include "payment/BankMaster.h"
#include "payment/ShopAccount.h"
#include "payment/ZenginCodeData.h"
#include "payment/ZenginKana.h"
#include "payment/fdlPayStatement.h"
#include "payment/fdlZengin.h"
#include "printing/BankTransfer.h"
#include "printing/fdlPreview.h"
#include "printing/modReport.h"
#include "settings/FmrBankBoxes.h"
#include "settings/fdlMstFmrEdit.h"
#include "settings/fdlSetBankCtrl.h"
#include "support/TestProgram.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace PaymentFixture;

namespace {

int admin(const QStringList &args, QString *output)
{
    QProcess p;
    p.start(qEnvironmentVariable("VANTLE_ADMIN"), args);
    p.waitForFinished(120000);
    *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

long count(const QString &table)
{
    return Nz(gMst->DCount(QStringLiteral("*"), table), Variant(0)).toLong();
}

QString codesOf(int fmrId)
{
    const BankMaster::Codes c = BankMaster::ProducerCodes(*gMst, fmrId);
    return c.isEmpty() ? QString() : c.bank + u'-' + c.branch;
}

void shoot(QWidget &w, const char *name)
{
    const QString dir = qEnvironmentVariable("VANTLE_SHOTS");
    if (dir.isEmpty())
        return;
    w.show();
    QTest::qWait(50);
    w.grab().save(QDir(dir).filePath(QString::fromLatin1(name) + QStringLiteral(".png")));
}

} // namespace

class TestBankMaster : public QObject
{
    Q_OBJECT

private slots:
    void importProposesOnlyUniqueMatches();
    void realPackage();
    void producerEditorKeepsTheCodes();
    void shopAccountAndTransferScreens();
};

void TestBankMaster::importProposesOnlyUniqueMatches()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    AddProducer({1, "山田", "みずほ銀行", "東京営業部支店", "普通", "1", "ﾔﾏﾀﾞ", nullptr, nullptr});
    AddProducer({2, "浅草", "ｱｻﾋｼﾝｷﾝ", "あさくさ", "普通", "2", "ｱｻｸｻ", nullptr, nullptr});
    AddProducer({3, "鈴木", "ＪＡ鈴鹿", "本店", "普通", "3", "ｽｽﾞｷ", nullptr, nullptr});
    AddProducer({4, "中井", "鈴鹿農業協同組合", "中央支店", "普通", "4", "ﾅｶｲ", nullptr, nullptr});
    AddProducer({5, "郵便", "ゆうちょ銀行", "〇一八", "普通", "5", "ﾕｳﾋﾞﾝ", nullptr, nullptr});
    AddProducer({6, "新宿", "みずほ", "新宿", "普通", "6", "ｼﾝｼﾞﾕｸ", nullptr, nullptr});
    AddProducer({7, "決定済", "みずほ銀行", "東京営業部", "普通", "7", "ｹﾂﾃｲ", "0009", "101"});
    AddProducer({8, "現金", "", "", "", "", "", nullptr, nullptr});

    QString out;
    QCOMPARE(admin({QStringLiteral("banks"), QStringLiteral("import"), Package()}, &out), 0);
    QCOMPARE(count(QStringLiteral("M_BANK")), 4);
    QCOMPARE(count(QStringLiteral("M_BANK_BR")), 8);
    QCOMPARE(codesOf(1), QStringLiteral("0001-001"));
    QCOMPARE(codesOf(2), QStringLiteral("1303-002"));
    QCOMPARE(codesOf(3), QStringLiteral("6665-001"));
    QCOMPARE(codesOf(4), QString());
    QCOMPARE(codesOf(5), QString());
    QCOMPARE(codesOf(6), QString());
    QCOMPARE(codesOf(7), QStringLiteral("0009-101")); // a person's decision stands
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
    QCOMPARE(count(QStringLiteral("M_BANK_BR")), 8);
}

void TestBankMaster::realPackage()
{
    // The test command installs the package with npm; CI does the same.
    const QString dir = ZenginCodeData::FindPackage(qEnvironmentVariable("VANTLE_ZENGIN_DIR"));
    if (qEnvironmentVariableIsEmpty("VANTLE_ZENGIN_DIR") || dir.isEmpty())
        QSKIP("zengin-code is not installed (VANTLE_ZENGIN_DIR)");
    TestProgram program;
    program.createDatabases();
    program.openAll();
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

void TestBankMaster::producerEditorKeepsTheCodes()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    // A master made before the bank tables existed: the first save creates them.
    for (const char *table : {"M_FMR_BANK", "M_BANK_BR", "M_BANK"})
        gMst->EXEC(QStringLiteral("DROP TABLE ") + QString::fromLatin1(table));
    AddProducer({12, "山田", "みずほ銀行", "東京営業部", "普通", "1234567", "ﾔﾏﾀﾞ", nullptr, nullptr});
    fdlMstFmrEdit editor;
    const auto load = [&editor] {
        editor.box(0)->setText(QStringLiteral("0012"));
        QTest::keyClick(editor.box(0), Qt::Key_Return);
        QCOMPARE(editor.Mode(), 2);
    };
    load();
    QCOMPARE(editor.bankBoxes()->txtBANK_CD->text(), QString());
    editor.bankBoxes()->txtBANK_CD->setText(QStringLiteral("0001"));
    editor.bankBoxes()->txtBR_CD->setText(QStringLiteral("04"));
    editor.button(1)->click();
    QCOMPARE(program.messages().prompts().last(), QStringLiteral("支店コードは3桁の数字で入力して下さい。"));
    QCOMPARE(editor.Mode(), 2);
    editor.bankBoxes()->txtBR_CD->setText(QStringLiteral("004"));
    editor.box(7)->setText(QStringLiteral("丸の内中央"));
    editor.button(1)->click();
    QCOMPARE(editor.Mode(), 0);
    QCOMPARE(codesOf(12), QStringLiteral("0001-004"));
    QCOMPARE(gMst->DLookup(QStringLiteral("BR_NM"), QStringLiteral("M_FMR"), QStringLiteral("FMR_ID=12")).toString(),
             QStringLiteral("丸の内中央"));

    ImportBanks();
    load();
    QCOMPARE(editor.bankBoxes()->lblNames->text(), QStringLiteral("みずほ　丸の内中央"));
    shoot(editor, "fdlMstFmrEdit");
}

void TestBankMaster::shopAccountAndTransferScreens()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    ThreeProducerClosing();
    {
        fdlSetBankCtrl dialog;
        QCOMPARE(dialog.text(ShopAccount::ClientCodeKey)->text(), QStringLiteral("1234567890"));
        QCOMPARE(dialog.lblBankName->text(), QStringLiteral("みずほ（ミズホ）"));
        dialog.text(ShopAccount::BankCodeKey)->setText(QStringLiteral("9"));
        dialog.button(1)->click();
        QVERIFY(program.messages().prompts().last().contains(QStringLiteral("金融機関コードは4桁の数字")));
        QCOMPARE(gMst->GetCtrl(ShopAccount::BankCodeKey).toString(), QStringLiteral("0001"));
        dialog.text(ShopAccount::BankCodeKey)->setText(QStringLiteral("1303"));
        dialog.text(ShopAccount::BranchCodeKey)->setText(QStringLiteral("002"));
        dialog.ShowNames();
        dialog.list(ShopAccount::LineEndKey)->setCurrentIndex(1);
        shoot(dialog, "fdlSetBankCtrl");
        dialog.button(1)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(ShopAccount::Read(*gMst).branchCode, QStringLiteral("002"));
        QVERIFY(!ShopAccount::Read(*gMst).lineEnds);
    }
    // The transfer request's preview offers the file and the statements of its closing.
    gRptKind = RptKind::BankTrn;
    QVERIFY(LoadTrnData(Day(2024, 4, 30)) == 3);
    fdlPreview preview;
    QVERIFY(preview.mnuZENGIN->isVisible() && preview.mnuZENGIN->text() == QStringLiteral("振込データ作成"));
    QSignalSpy asked(&preview, &fdlPreview::transferDataRequested);
    preview.mnuZENGIN->trigger();
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked.first().first().toDouble(), Day(2024, 4, 30));

    gDb->EXEC(QStringLiteral("UPDATE D_PAY_DTL SET ACC_NM='佐藤花子' WHERE FMR_ID=3"));
    fdlZengin zengin(nullptr, Day(2024, 4, 30));
    QCOMPARE(zengin.grdExcluded->rowCount(), 1);
    QCOMPARE(zengin.grdExcluded->item(0, 3)->text(), QStringLiteral("口座名義「佐藤花子」の「佐」をカナにできません"));
    QVERIFY(!zengin.chkLineEnds->isChecked());
    zengin.txtPath->setText(program.path(QStringLiteral("zengin.txt")));
    shoot(zengin, "fdlZengin");
    QVERIFY(zengin.Create());
    QCOMPARE(QFileInfo(program.path(QStringLiteral("zengin.txt"))).size(), 5 * 120);

    fdlPayStatement statements(nullptr, Day(2024, 4, 30));
    QCOMPARE(statements.lstProducers->count(), 3);
    statements.optOne->setChecked(true);
    statements.lstProducers->setCurrentRow(1);
    QCOMPARE(statements.chosen().statements.size(), 1);
    QCOMPARE(statements.chosen().statements.first().fmrId, 2);
    shoot(statements, "fdlPayStatement");
    QVERIFY(statements.SavePdf(program.path(QStringLiteral("one.pdf"))));
}

QTEST_MAIN(TestBankMaster)
#include "test_bank_master.moc"
