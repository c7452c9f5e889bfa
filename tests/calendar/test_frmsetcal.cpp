// The sales-date calendar screen: the month grid and its colours, the day marks, moving through days and
// months, confirming, and the report keys.
#include "base/DateValue.h"
#include "calendar/frmSetCal.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "printing/modReport.h"
#include "support/ModalWatch.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

using Rows::day;

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 192);
const QColor kYellow(255, 255, 127);
const QColor kWhite(255, 255, 255);

QLabel *cellOf(const frmSetCal &form, int dayOfMonth)
{
    for (QLabel *cell : form.lblDAY) {
        if (cell->isVisibleTo(&form) && cell->text() == QString::number(dayOfMonth))
            return cell;
    }
    return nullptr;
}

// Whether the action opened a preview (which is closed again).
bool opensPreview(const std::function<void()> &action)
{
    auto watch = ModalWatch::on<QDialog>([](QDialog *d) { QCOMPARE(d->metaObject()->className(), "fdlPreview"); });
    action();
    QTest::qWait(50);
    return watch.seen();
}

} // namespace

class TestFrmSetCal : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = TestProgram::opened();
    }
    void cleanup() { m_program.reset(); }

    void monthLayouts();
    void dayMarks();
    void movingAndConfirming();
    void reportKeys();

private:
    std::unique_ptr<TestProgram> m_program;
};

// The first day's cell and the month's length on a March starting on Saturday, a common-year February starting
// on Sunday and a leap February; Sundays red, Saturdays blue, only the chosen day yellow (hidden cells included).
void TestFrmSetCal::monthLayouts()
{
    const struct { QDate date; const char *caption; int first, days; } months[] = {
        {QDate(2025, 3, 14), "2025年3月", 6, 31}, {QDate(2026, 2, 28), "2026年2月", 0, 28}, {QDate(2024, 2, 1), "2024年2月", 4, 29}};
    for (const auto &m : months) {
        gSalesDate = DateValue::fromQDate(m.date);
        frmSetCal form;
        QCOMPARE(form.windowTitle(), QStringLiteral("日付設定"));
        QCOMPARE(form.lblYM->text(), QString::fromUtf8(m.caption));
        for (int i = 0; i < frmSetCal::CellCount; ++i) {
            const bool shown = i >= m.first && i < m.first + m.days;
            QCOMPARE(form.lblDAY[i]->isVisibleTo(&form), shown);
            if (shown)
                QCOMPARE(form.lblDAY[i]->text(), QString::number(i - m.first + 1));
            const QColor text = form.lblDAY[i]->palette().color(QPalette::WindowText);
            QCOMPARE(text, i % 7 == 0 ? kRed : i % 7 == 6 ? kBlue : form.palette().color(QPalette::WindowText));
            QCOMPARE(Rows::backOf(form.lblDAY[i]), i == m.first + m.date.day() - 1 ? kYellow : kWhite);
        }
        QCOMPARE(form.Label1[0]->palette().color(QPalette::WindowText), kRed);
        QCOMPARE(form.Label1[6]->palette().color(QPalette::WindowText), kBlue);
    }
}

// 3rd: paid out and archived; 4th: archived but with sales again in D_REG; 5th: archived only; 6th: a
// producer row not yet paid. Paid is underlined, archived only italic; marks belong to the day, not the cell.
void TestFrmSetCal::dayMarks()
{
    Rows::adjDtl(day(2024, 4, 3), 1, "1", "100");
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ_DTL SET ") + Rows::on(QStringLiteral("CLS_DATE"), day(2024, 4, 10)));
    Rows::adjDtl(day(2024, 4, 6), 1, "1", "100");
    for (int d : {3, 4, 5})
        Rows::sale(d, day(2024, 4, d), {});
    gDb->EXEC(QStringLiteral("INSERT INTO B_REG SELECT * FROM D_REG"));
    gDb->EXEC(QStringLiteral("DELETE FROM D_REG WHERE REG_ID<>4"));
    gSalesDate = day(2024, 4, 1);
    frmSetCal form;
    const auto marks = [&](int d) {
        const QFont font = cellOf(form, d)->font();
        return QString::fromLatin1(font.underline() ? "U" : "-") + QString::fromLatin1(font.italic() ? "I" : "-");
    };
    QStringList april;
    for (int d = 2; d <= 6; ++d)
        april << marks(d);
    QCOMPARE(april.join(u' '), QStringLiteral("-- UI -- -I --"));
    form.cmdPOSTClick();
    QCOMPARE(marks(3), QStringLiteral("--"));
}

// Keypad + and -, the month buttons and a click move the chosen day; only Enter sets the sales date, Esc
// leaves it and ends the program.
void TestFrmSetCal::movingAndConfirming()
{
    gSalesDate = day(2024, 4, 30);
    frmSetCal form;
    form.show();
    QTest::keyClick(&form, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(form.lblYM->text(), QStringLiteral("2024年5月"));
    QCOMPARE(form.SysDate(), day(2024, 5, 1));
    QTest::keyClick(&form, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(Rows::backOf(cellOf(form, 30)), kYellow);
    QTest::mouseClick(cellOf(form, 17), Qt::LeftButton);
    QCOMPARE(form.SysDate(), day(2024, 4, 17));
    QCOMPARE(Rows::backOf(cellOf(form, 17)), kYellow);
    QCOMPARE(Rows::backOf(cellOf(form, 30)), kWhite);
    QCOMPARE(gSalesDate, day(2024, 4, 30));
    QTest::keyClick(&form, Qt::Key_Return);
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(gSalesDate, day(2024, 4, 17));

    // A month button keeps the day where the shorter month put it.
    gSalesDate = day(2025, 1, 31);
    frmSetCal january;
    QTest::mouseClick(january.cmdPOST, Qt::LeftButton);
    QCOMPARE(january.SysDate(), day(2025, 2, 28));
    QTest::mouseClick(january.cmdPREV, Qt::LeftButton);
    QCOMPARE(january.SysDate(), day(2025, 1, 28));
    QTest::keyClick(&january, Qt::Key_Escape);
    QCOMPARE(january.result(), int(frmSetCal::EndProgram));
    QCOMPARE(gSalesDate, day(2025, 1, 31));
}

// F3 and its button preview the daily report of the chosen day, F2 the transfer request: only when there is one.
void TestFrmSetCal::reportKeys()
{
    gSalesDate = day(2024, 4, 1);
    frmSetCal form;
    form.show();
    QVERIFY(!opensPreview([&] { QTest::keyClick(&form, Qt::Key_F3); }));
    QCOMPARE(gRptKind, RptKind::DailyRpt);
    QVERIFY(m_program->messages().shown().isEmpty());

    gDb->EXEC(Sql(R"(INSERT INTO D_ADJ (SALES_DATE, ADJ_DTM, AMT_SUM) VALUES (:day, :day, 100))").date("day", day(2024, 3, 31)));
    QTest::keyClick(&form, Qt::Key_Minus, Qt::KeypadModifier);
    QVERIFY(opensPreview([&] { QTest::mouseClick(form.Command1[3], Qt::LeftButton); }));
    QCOMPARE(gRptDate, day(2024, 3, 31));
    QVERIFY(!opensPreview([&] { QTest::keyClick(&form, Qt::Key_F2); }));
    QCOMPARE(gRptKind, RptKind::BankTrn);
}

QTEST_MAIN(TestFrmSetCal)
#include "test_frmsetcal.moc"
