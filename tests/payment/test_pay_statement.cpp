// The producers' payment statements and the two commands that make the bank file and the statements.
#include "PaymentFixture.h"

#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/PayStatementForm.h"
#include "support/RecordingSurface.h"
#include "support/TestProgram.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>

using namespace PaymentFixture;

namespace {

// The texts drawn on the page, top to bottom, left to right.
QStringList lines(const RecordingSurface &s)
{
    QList<RecordingSurface::Text> texts = s.current().texts;
    std::stable_sort(texts.begin(), texts.end(), [](const auto &a, const auto &b) {
        return std::abs(a.y - b.y) > 20 ? a.y < b.y : a.x < b.x;
    });
    QStringList out;
    for (const auto &t : texts)
        out << t.text;
    return out;
}

int pdfPages(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return int(f.readAll().count(QByteArray("/Type /Page\n")));
}

int admin(const QStringList &args, QString *output = nullptr)
{
    QProcess p;
    p.start(qEnvironmentVariable("VANTLE_ADMIN"), args);
    p.waitForFinished(60000);
    if (output)
        *output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
}

} // namespace

class TestPayStatement : public QObject
{
    Q_OBJECT

private slots:
    void drawnTextOfProducerWithSeveralDays();
    void commandsWriteTheFileAndThePdf();
};

void TestPayStatement::drawnTextOfProducerWithSeveralDays()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    gMst->SaveCtrl(QStringLiteral("COM_NM"), Variant(QStringLiteral("みのり直売所")));
    ThreeProducerClosing();

    PayStatementSet set = PayStatementSet::Load(*gDb, *gMst, Day(2024, 4, 30));
    QVERIFY2(set.error.isEmpty(), qPrintable(set.error));
    QCOMPARE(set.statements.size(), 3);
    RecordingSurface page;
    PayStatementForm::PrintPage(page, 0, 0, set, set.statements[0], 1);
    const QStringList expected{
        "支 払 明 細 書", "0001　山田 太郎　様", "みのり直売所",
        "対象期間　2024年4月3日 ～ 2024年4月30日", "締日　2024年4月30日　　お支払日　2024年5月10日",
        "売上日", "数量", "金額",
        "4月3日(水)", "10", "4,000", "4月10日(水)", "12", "5,345", "4月24日(水)", "6", "3,000",
        "合計（3日）", "28", "12,345",
        "売上金額", "12,345 円", "販売手数料（15%）", "-1,851 円", "お支払額", "10,494 円",
        "振込手数料", "-220 円", "お振込額", "10,274 円",
        "お振込先　みずほ銀行　東京営業部　普通　1234567　ヤマダ タロウ",
    };
    QCOMPARE(lines(page), expected);
    // Quantities and amounts line up on the right edge of their columns.
    QCOMPARE(page.find(QStringLiteral("5,345"))->x + page.TextWidth(QStringLiteral("5,345")),
             page.find(QStringLiteral("12,345"))->x + page.TextWidth(QStringLiteral("12,345")));

    // The next closing's period starts the day after this one; 30 days run onto a second page, which alone
    // carries the total; a rate that no longer gives the stored commission is not printed.
    for (int d = 1; d <= 30; ++d)
        AddDay(Day(2024, 5, d), 1, "1", "100");
    Close(Day(2024, 5, 31), Day(2024, 6, 10));
    gMst->SaveCtrl(QStringLiteral("FEE_RT"), Variant(QStringLiteral("0.1")));
    set = PayStatementSet::Load(*gDb, *gMst, Day(2024, 5, 31), 1);
    QCOMPARE(set.statements.size(), 1);
    QCOMPARE(PayStatementForm::Pages(set.statements[0]), 2);
    page.clear();
    PayStatementForm::PrintPage(page, 0, 0, set, set.statements[0], 1);
    QVERIFY(page.texts().contains(QStringLiteral("対象期間　2024年5月1日 ～ 2024年5月31日")));
    QVERIFY(page.texts().contains(QStringLiteral("1 / 2")));
    QVERIFY(!page.texts().filter(QStringLiteral("合計")).size());
    page.clear();
    PayStatementForm::PrintPage(page, 0, 0, set, set.statements[0], 2);
    QVERIFY(page.texts().contains(QStringLiteral("合計（30日）")));
    QVERIFY(page.texts().contains(QStringLiteral("販売手数料")));
    QCOMPARE(page.texts().filter(QRegularExpression(QStringLiteral("^5月\\d+日"))).size(), 5);

    QVERIFY(PayStatementSet::Load(*gDb, *gMst, Day(2024, 5, 31), 2).error.contains(QStringLiteral("生産者 2 はこの支払締にありません")));
}

void TestPayStatement::commandsWriteTheFileAndThePdf()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    ThreeProducerClosing();
    AddProducer({4, "田中 一郎", "みずほ銀行", "東京営業部", "普通", "1111111", "田中一郎", "0001", "001"});
    AddDay(Day(2024, 5, 2), 4, "1", "1000");
    Close(Day(2024, 5, 31), Day(2024, 6, 10));
    const QString file = program.path(QStringLiteral("furikomi.txt"));
    const QString pdf = program.path(QStringLiteral("meisai.pdf"));
    QString out;

    QCOMPARE(admin({QStringLiteral("zengin"), QStringLiteral("2024-04-30"), QStringLiteral("-o"), file}, &out), 0);
    QVERIFY2(out.contains(QStringLiteral("3 件 77,614円")), qPrintable(out));
    QCOMPARE(QFileInfo(file).size(), 6 * 122);
    // The only producer of May has a name in kanji: listed, and no file is made.
    const QString may = program.path(QStringLiteral("may.txt"));
    QCOMPARE(admin({QStringLiteral("zengin"), QStringLiteral("2024-05-31"), QStringLiteral("-o"), may}, &out), 1);
    QVERIFY2(out.contains(QStringLiteral("除外\t4\t田中 一郎\t630円\t口座名義「田中一郎」の「田」をカナにできません")), qPrintable(out));
    QVERIFY(!QFileInfo::exists(may));
    QCOMPARE(admin({QStringLiteral("zengin"), QStringLiteral("2024-04-29")}, &out), 1);
    QVERIFY(out.contains(QStringLiteral("2024年4月29日締の支払締処理がありません")));

    QCOMPARE(admin({QStringLiteral("statement"), QStringLiteral("2024-04-30"), QStringLiteral("-o"), pdf}, &out), 0);
    QCOMPARE(pdfPages(pdf), 3);
    const QString one = program.path(QStringLiteral("one.pdf"));
    QCOMPARE(admin({QStringLiteral("statement"), QStringLiteral("2024-04-30"), QStringLiteral("2"), QStringLiteral("-o"), one}, &out), 0);
    QCOMPARE(pdfPages(one), 1);
    const QString shots = qEnvironmentVariable("VANTLE_SHOTS");
    if (!shots.isEmpty())
        QFile::copy(pdf, QDir(shots).filePath(QStringLiteral("statement.pdf")));
}

QTEST_MAIN(TestPayStatement)
#include "test_pay_statement.moc"
