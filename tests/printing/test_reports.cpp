// The daily report and the transfer request on a recording surface: every text, box and line where the form
// puts it, on the preview and on a printer with an unprintable border.
#include "PrintFixture.h"

#include "base/Common.h"
#include "base/DateValue.h"
#include "printing/BankTransfer.h"
#include "printing/DailyReport.h"
#include "printing/modReport.h"

using namespace PrintFixture;

namespace {

const double kDay = DateValue::fromParts(2024, 4, 1);

bool near(double a, double b)
{
    return qAbs(a - b) < 0.01;
}

void settlement(const QString &chgSum, const QString &postSum, const QStringList &counts)
{
    QString columns, values;
    for (int i = 0; i < 10; ++i) {
        columns += QStringLiteral(", CHG_%1").arg(i + 1, 2, 10, QLatin1Char('0'));
        values += u',' + counts.value(i, QStringLiteral("NULL"));
    }
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, CHG_SUM, POST_SUM%1) VALUES (#2024-04-01 00:00:00#,%2,%3%4)")
                  .arg(columns, chgSum, postSum, values));
}

void payments(int n, const QString &bankName = QStringLiteral("みのり信用金庫"))
{
    for (int i = 1; i <= n; ++i)
        gDb->EXEC(QStringLiteral("INSERT INTO D_PAY_DTL (CLS_DATE, PAY_DATE, FMR_ID, PAY_AMT, BANK_NM, BR_NM, ACC_KBN, ACC_NO, "
                                 "ACC_NM, BANK_FEE, REAL_AMT) VALUES (#2024-03-31 00:00:00#,#2024-04-10 00:00:00#,%1,%2,%3,"
                                 "'本店','普通','1234567','ﾐﾉﾘ ﾀﾛｳ',%4,%5)")
                      .arg(i).arg(1000 * i + 220).arg(SqlDialect::text(bankName)).arg(220).arg(1000 * i));
}

} // namespace

class TestReports : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = open();
        gTrn.clear();
    }
    void cleanup() { close(m_program); }

    void dailyReportOnThePreview();
    void dailyReportOnAPrinterWithAnOffset();
    void transferRequestPages();
    void transferRequestMissingAccountAndLongNames();
    void aFailedReportLeavesNoHalfDrawnPage();

private:
    std::unique_ptr<TestProgram> m_program;
};

void TestReports::dailyReportOnThePreview()
{
    gMst->SaveCtrl(QStringLiteral("COM_OMT"), Variant(QStringLiteral("みのり")));
    settlement(QStringLiteral("35000"), QStringLiteral("123456"),
               {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("NULL"), QStringLiteral("10"), QStringLiteral("0")});
    RecordingSurface s;
    s.setDrawWidth(5);
    PrintDailyRpt(s, 500, 700, kDay);
    const auto &job = s.current();
    QCOMPARE(AppTitle(), kProductTitle);
    const QStringList texts = textsOf(job);
    QCOMPARE(texts.value(0), QStringLiteral("みのり　日報　令和 06 年 04 月 01 日"));
    const auto *title = findText(job, texts[0]);
    QCOMPARE(title->size, 20.0);
    QCOMPARE(title->y, 700.0);
    // Labels centred in their fields, 12 pt, relative to the margins.
    const auto *staff = findText(job, QStringLiteral("レジ担当者"));
    QVERIFY(near(staff->y, 700 + 13 * 56.7));
    QVERIFY(qAbs((staff->x + rightEnd(*staff)) / 2 - (500 + 5 * 56.7 + (30 * 56.7 - 28) / 2)) < 0.01);
    for (const char *label : {"／", "出品者数", "名", "気付いた事", "おつりで残した金額", "預　　金　　額", "本日担当者チェック",
                              "翌日担当者チェック", "Ｍｅｍｏ"})
        QVERIFY2(texts.contains(QString::fromUtf8(label)), label);
    // Amounts right-aligned in their fields.
    const auto *chg = findText(job, QStringLiteral("35,000"));
    QVERIFY(qAbs(rightEnd(*chg) - (500 + 85 * 56.7 - 28)) < 0.01);
    QVERIFY(texts.contains(QStringLiteral("123,456")));
    // Denominations in their fixed order, counts below them; a Null count prints an empty cell, 0 prints 0.
    const int first = int(texts.indexOf(QStringLiteral("壱萬円")));
    QCOMPARE(texts.mid(first, 10), (QStringList{QStringLiteral("壱萬円"), QStringLiteral("伍千円"), QStringLiteral("弐千円"),
                                                QStringLiteral("千円"), QStringLiteral("500円"), QStringLiteral("100円"),
                                                QStringLiteral("50円"), QStringLiteral("10円"), QStringLiteral("5円"),
                                                QStringLiteral("1円")}));
    QCOMPARE(texts.mid(first + 10, 10), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QString(), QStringLiteral("10"),
                                                     QStringLiteral("0"), QString(), QString(), QString(), QString(), QString()}));
    // Counts end at the right of their 17.5 mm field.
    QVERIFY(near(rightEnd(job.texts[first + 13]), 500 + 3 * 18 * 56.7 + 17.5 * 56.7 - 28));

    // Boxes: six bands, the memo area; 3+1+1+1+9+9+3 vertical lines and 12 memo rules, all 1 dot on the preview.
    int boxes = 0, lines = 0;
    for (const auto &st : job.strokes) {
        QCOMPARE(st.width, 1);
        st.box ? ++boxes : ++lines;
    }
    QCOMPARE(boxes, 8);
    QCOMPARE(lines, 1 + 1 + 1 + 3 + 9 + 9 + 3 + 12);
    const auto &memo = job.strokes[int(job.strokes.size()) - 13];
    QVERIFY(memo.box);
    QVERIFY(near(memo.y2, 700 + 250 * 56.7));
    QVERIFY(near(job.strokes.last().y1, 700 + 240 * 56.7));
    QVERIFY(near(job.strokes.last().x1, 500 + 5 * 56.7));
    QVERIFY(s.jobs().isEmpty()); // the preview never ends a job

    // Another day: nothing at all.
    RecordingSurface empty;
    PrintDailyRpt(empty, 0, 0, kDay + 1);
    QVERIFY(!empty.pending());
}

void TestReports::dailyReportOnAPrinterWithAnOffset()
{
    settlement(QStringLiteral("1000"), QStringLiteral("NULL"), {});
    gIni->SaveCtrl(QStringLiteral("DAILY_REPORT_PAPER_BIN"), Variant(QStringLiteral("2")));
    gRptKind = RptKind::DailyRpt;
    RecordingSurface preview;
    PrintDailyRpt(preview, 567, 567, kDay);
    RecordingSurface printer(true);
    // 4 mm on both axes at 600 dots per inch.
    printer.setPhysicalOffset(94.49, 94.49, 600);
    PrintDailyRpt(printer, 567, 567, kDay);
    QCOMPARE(printer.jobs().size(), 1);
    const auto &job = printer.jobs()[0];
    QCOMPARE(job.title, QStringLiteral("日報"));
    QCOMPARE(job.paperBin, 4);
    QCOMPARE(job.texts.size(), preview.current().texts.size());
    for (int i = 0; i < job.texts.size(); ++i) {
        QVERIFY(near(job.texts[i].x, preview.current().texts[i].x - 227));
        QVERIFY(near(job.texts[i].y, preview.current().texts[i].y - 227));
    }
    // Empty short name: the title starts with the separator; the deposit of Null prints empty.
    QVERIFY(job.texts[0].text.startsWith(QStringLiteral("　日報　")));
    // Thick lines on paper: boxes 4, memo rules 2.
    QCOMPARE(job.strokes.first().width, 4);
    QCOMPARE(job.strokes.last().width, 2);

    gIni->SaveCtrl(QStringLiteral("DAILY_REPORT_PAPER_BIN"), Variant(QStringLiteral("1")));
    PrintDailyRpt(printer, 567, 567, kDay);
    QCOMPARE(printer.jobs()[1].paperBin, 1);
    // Without a row the job is empty and nothing reaches the printer.
    PrintDailyRpt(printer, 567, 567, kDay + 1);
    QCOMPARE(printer.jobs().size(), 2);
}

void TestReports::transferRequestPages()
{
    gMst->SaveCtrl(QStringLiteral("COM_NM"), Variant(QStringLiteral("みのり直売所")));
    const double closing = DateValue::fromParts(2024, 3, 31);
    QCOMPARE(LoadTrnData(closing + 1), qint16(0));
    payments(21);
    QCOMPARE(LoadTrnData(closing), qint16(21));
    QCOMPARE(TrnPageCount(), 2);

    gRptKind = RptKind::BankTrn;
    RecordingSurface printer(true);
    PrintBankTrn(printer, 567, 567);
    QCOMPARE(AppTitle(), kProductTitle);
    QCOMPARE(printer.jobs().size(), 2);
    const auto &p1 = printer.jobs()[0];
    const auto &p2 = printer.jobs()[1];
    QCOMPARE(p1.title, QStringLiteral("振込依頼書 1ﾍﾟｰｼﾞ"));
    QCOMPARE(p2.title, QStringLiteral("振込依頼書 2ﾍﾟｰｼﾞ"));
    const QStringList t1 = textsOf(p1);
    QCOMPARE(t1.mid(0, 2), (QStringList{QStringLiteral("振込依頼書"), QStringLiteral("令和06年03月31日締　04月10日支払分")}));
    QCOMPARE(p1.texts[0].size, 16.0);
    QVERIFY(near(p1.texts[0].x, 567 + 70 * 56.7));
    QCOMPARE(t1.mid(2, 9), (QStringList{QStringLiteral("№"), QStringLiteral("金融機関名"), QStringLiteral("支店名"),
                                        QStringLiteral("種別"), QStringLiteral("口座番号"), QStringLiteral("口座名義"),
                                        QStringLiteral("振込額"), QStringLiteral("手数料"), QStringLiteral("合計金額")}));
    // Twenty lines numbered 1..20 with their own totals; the second page one line numbered 1.
    QCOMPARE(t1.mid(11, 9), (QStringList{QStringLiteral("1"), QStringLiteral("みのり信用金庫"), QStringLiteral("本店"),
                                         QStringLiteral("普通"), QStringLiteral("1234567"), QStringLiteral("ﾐﾉﾘ ﾀﾛｳ"),
                                         QStringLiteral("1,000"), QStringLiteral("220"), QStringLiteral("1,220")}));
    QVERIFY(t1.contains(QStringLiteral("20")));
    QVERIFY(t1.contains(QStringLiteral("20件")));
    QVERIFY(t1.contains(QStringLiteral("210,000"))); // 1,000 + ... + 20,000
    QVERIFY(t1.contains(QStringLiteral("4,400")));
    QVERIFY(t1.contains(QStringLiteral("214,400")));
    const QStringList t2 = textsOf(p2);
    QCOMPARE(t2.mid(11, 1), QStringList{QStringLiteral("1")});
    QVERIFY(t2.contains(QStringLiteral("1件")));
    QVERIFY(t2.contains(QStringLiteral("21,000")));
    QVERIFY(t2.contains(QStringLiteral("21,220")));
    QVERIFY(!t2.contains(QStringLiteral("210,000")));
    // The line in slot 0 sits 2.8 mm into it; the count ends at the right of the account-holder column.
    const auto *no1 = findText(p2, QStringLiteral("みのり信用金庫"));
    QVERIFY(near(no1->y, 567 + 32.8 * 56.7));
    const auto *count = findText(p2, QStringLiteral("1件"));
    QVERIFY(qAbs(rightEnd(*count) - (567 + 116 * 56.7 - 28)) < 0.01);
    // Footer: the shop's name right-aligned over the full width.
    QCOMPARE(t2.last(), QStringLiteral("みのり直売所"));
    // Every slot framed even when empty: head box + 8, 20 slots * 3, totals box + 8.
    QCOMPARE(p2.strokes.size(), 9 + 60 + 9);
    QCOMPARE(p2.strokes[0].width, 8);

    // A single line: one page, line count 1; pages outside the lines draw nothing.
    gTrn = gTrn.mid(0, 1);
    RecordingSurface preview;
    PrintBankTrnPage(preview, 0, 0, 2);
    PrintBankTrnPage(preview, 0, 0, 0);
    QVERIFY(!preview.pending());
    PrintBankTrnPage(preview, 0, 0, 1);
    QVERIFY(textsOf(preview.current()).contains(QStringLiteral("1件")));
    for (const auto &st : preview.current().strokes)
        QCOMPARE(st.width, 1);
}

void TestReports::transferRequestMissingAccountAndLongNames()
{
    payments(1, QStringLiteral("みのり北部農業協同組合信用事業本部"));
    gDb->EXEC(QStringLiteral("INSERT INTO D_PAY_DTL (CLS_DATE, PAY_DATE, FMR_ID, PAY_AMT, BANK_FEE, REAL_AMT) "
                             "VALUES (#2024-03-31 00:00:00#,#2024-04-10 00:00:00#,99,500,0,500)"));
    QCOMPARE(LoadTrnData(DateValue::fromParts(2024, 3, 31)), qint16(2));
    RecordingSurface s;
    PrintBankTrnPage(s, 0, 0, 1);
    const auto *bank = findText(s.current(), QStringLiteral("みのり北部農業協同組合信用事業本部"));
    QVERIFY(bank->size < 11);
    QVERIFY(rightEnd(*bank) <= 29 * 56.7 - 28);
    // The producer without account data: empty fields and a zero fee.
    const QStringList texts = textsOf(s.current());
    const int second = int(texts.lastIndexOf(QStringLiteral("2")));
    QCOMPARE(texts.mid(second, 9), (QStringList{QStringLiteral("2"), QString(), QString(), QString(), QString(), QString(),
                                                QStringLiteral("500"), QStringLiteral("0"), QStringLiteral("500")}));
    QVERIFY(texts.contains(QStringLiteral("2件")));
}

void TestReports::aFailedReportLeavesNoHalfDrawnPage()
{
    // The second page holds an account kind too long to fit its column even at 1 pt: it fails half-way.
    payments(21);
    gDb->EXEC(QStringLiteral("UPDATE D_PAY_DTL SET ACC_KBN='%1' WHERE FMR_ID=21").arg(QString(60, u'普')));
    QCOMPARE(LoadTrnData(DateValue::fromParts(2024, 3, 31)), qint16(21));
    RecordingSurface printer(true);
    try {
        PrintBankTrn(printer, 567, 567);
        QFAIL("the second page should have failed");
    } catch (const PrinterError &e) {
        QCOMPARE(e.number(), 380);
    }
    QCOMPARE(printer.jobs().size(), 1);
    QVERIFY(!printer.pending());
    QCOMPARE(AppTitle(), kProductTitle);

    // The next report is a job of its own, with nothing of the failed page on it.
    settlement(QStringLiteral("1000"), QStringLiteral("2000"), {});
    PrintDailyRpt(printer, 567, 567, kDay);
    QCOMPARE(printer.jobs().size(), 2);
    const QStringList texts = textsOf(printer.jobs()[1]);
    QCOMPARE(printer.jobs()[1].title, QStringLiteral("日報"));
    QVERIFY(!texts.contains(QStringLiteral("振込依頼書")));
    QVERIFY(!texts.contains(QStringLiteral("みのり信用金庫")));
}

QTEST_MAIN(TestReports)
#include "test_reports.moc"
