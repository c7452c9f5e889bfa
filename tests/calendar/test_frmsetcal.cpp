// The sales-date calendar screen: the month grid, its marks, moving through days and months, the launcher.
#include "base/DateValue.h"
#include "base/Format.h"
#include "calendar/frmSetCal.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "printing/modReport.h"
#include "support/ModalWatch.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace {

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 192);
const QColor kYellow(255, 255, 127);
const QColor kWhite(255, 255, 255);

QString day(int y, int m, int d)
{
    return u'#' + Format::date(DateValue::fromParts(y, m, d), QStringLiteral("yyyy-mm-dd hh:nn:ss")) + u'#';
}

void addSale(const QString &table, int regId, int y, int m, int d)
{
    gDb->EXEC(QStringLiteral("INSERT INTO %1 (REG_ID, REG_NO, REG_DTM, SALES_DATE, DTL_CNT, AMT_SUM, RCV, CHG) "
                             "VALUES (%2, %2, %3, %3, 1, 100, 100, 0)").arg(table).arg(regId).arg(day(y, m, d)));
}

// The visible cells as "index:caption".
QStringList visibleCells(const frmSetCal &form)
{
    QStringList cells;
    for (int i = 0; i < frmSetCal::CellCount; ++i) {
        if (form.lblDAY[i]->isVisibleTo(&form))
            cells << QStringLiteral("%1:%2").arg(i).arg(form.lblDAY[i]->text());
    }
    return cells;
}

QStringList expectedCells(int firstIndex, int days)
{
    QStringList cells;
    for (int n = 1; n <= days; ++n)
        cells << QStringLiteral("%1:%2").arg(firstIndex + n - 1).arg(n);
    return cells;
}

// The caption of the yellow cell.
QString chosenCell(const frmSetCal &form)
{
    QString chosen;
    for (QLabel *cell : form.lblDAY) {
        if (cell->isVisibleTo(&form) && cell->palette().color(QPalette::Window) == kYellow) {
            if (!chosen.isEmpty())
                return QStringLiteral("several");
            chosen = cell->text();
        }
    }
    return chosen;
}

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
    void init();
    void cleanup();

    void monthLayouts_data();
    void monthLayouts();
    void dayMarks();
    void moving();
    void enterConfirmsEscEnds();
    void dailyReportNeedsASettlement();

private:
    std::unique_ptr<TestProgram> m_program;
};

void TestFrmSetCal::init()
{
    m_program = std::make_unique<TestProgram>();
    m_program->createDatabases();
    m_program->openAll();
}

void TestFrmSetCal::cleanup()
{
    m_program.reset();
}

void TestFrmSetCal::monthLayouts_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("cells");
    // Starts on Saturday with 31 days: every one of the 37 cells from the seventh on; the last is the 31st.
    QTest::newRow("March 2025") << QDate(2025, 3, 14) << "2025年3月" << expectedCells(6, 31);
    // A common-year February starting on Sunday: cells 0..27, the rest hidden.
    QTest::newRow("February 2026") << QDate(2026, 2, 28) << "2026年2月" << expectedCells(0, 28);
    QTest::newRow("leap February 2024") << QDate(2024, 2, 1) << "2024年2月" << expectedCells(4, 29);
}

void TestFrmSetCal::monthLayouts()
{
    QFETCH(QDate, date);
    QFETCH(QString, caption);
    QFETCH(QStringList, cells);
    gSalesDate = DateValue::fromQDate(date);
    frmSetCal form;
    QCOMPARE(form.windowTitle(), QStringLiteral("日付設定"));
    QCOMPARE(form.lblYM->text(), caption);
    QCOMPARE(visibleCells(form), cells);
    QCOMPARE(chosenCell(form), QString::number(date.day()));
    // Sundays red, Saturdays blue; only the chosen day's cell is yellow, hidden ones included.
    for (int i = 0; i < frmSetCal::CellCount; ++i) {
        const QColor text = form.lblDAY[i]->palette().color(QPalette::WindowText);
        const QColor expected = i % 7 == 0 ? kRed : i % 7 == 6 ? kBlue : form.palette().color(QPalette::WindowText);
        QVERIFY2(text == expected, qPrintable(QString::number(i)));
        const bool chosen = form.lblDAY[i] == cellOf(form, date.day());
        QCOMPARE(form.lblDAY[i]->palette().color(QPalette::Window), chosen ? kYellow : kWhite);
    }
    QCOMPARE(form.Label1[0]->palette().color(QPalette::WindowText), kRed);
    QCOMPARE(form.Label1[6]->palette().color(QPalette::WindowText), kBlue);
}

void TestFrmSetCal::dayMarks()
{
    // 3rd: paid out and archived; 4th: archived but with sales again in D_REG; 5th: archived only;
    // 6th: a producer row not yet paid.
    addSale(QStringLiteral("B_REG"), 1, 2024, 4, 3);
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT, CLS_DATE) "
                             "VALUES (%1, 1, 1, 100, %2)").arg(day(2024, 4, 3), day(2024, 4, 10)));
    addSale(QStringLiteral("B_REG"), 2, 2024, 4, 4);
    addSale(QStringLiteral("D_REG"), 3, 2024, 4, 4);
    addSale(QStringLiteral("B_REG"), 4, 2024, 4, 5);
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT) "
                             "VALUES (%1, 1, 1, 100)").arg(day(2024, 4, 6)));
    gSalesDate = DateValue::fromParts(2024, 4, 1);
    frmSetCal form;
    const auto marks = [&](int d) {
        const QFont font = cellOf(form, d)->font();
        return QString::fromLatin1(font.underline() ? "U" : "-") + QString::fromLatin1(font.italic() ? "I" : "-");
    };
    QCOMPARE(marks(3), QStringLiteral("UI"));
    QCOMPARE(marks(4), QStringLiteral("--"));
    QCOMPARE(marks(5), QStringLiteral("-I"));
    QCOMPARE(marks(6), QStringLiteral("--"));
    QCOMPARE(marks(2), QStringLiteral("--"));
    // Marks belong to the day, not to the cell: next month the same cells are plain.
    form.cmdPOSTClick();
    QCOMPARE(marks(3), QStringLiteral("--"));
}

// Keypad + and -, the month buttons and a click move the chosen day; only confirming sets the sales date.
void TestFrmSetCal::moving()
{
    gSalesDate = DateValue::fromParts(2024, 4, 30);
    frmSetCal form;
    form.show();
    QTest::keyClick(&form, Qt::Key_Plus, Qt::KeypadModifier);
    QCOMPARE(form.SysDate(), DateValue::fromParts(2024, 5, 1));
    QCOMPARE(form.lblYM->text(), QStringLiteral("2024年5月"));
    QCOMPARE(chosenCell(form), QStringLiteral("1"));
    QTest::keyClick(&form, Qt::Key_Minus, Qt::KeypadModifier);
    QCOMPARE(chosenCell(form), QStringLiteral("30"));
    QTest::mouseClick(cellOf(form, 17), Qt::LeftButton);
    QCOMPARE(form.SysDate(), DateValue::fromParts(2024, 4, 17));
    QCOMPARE(chosenCell(form), QStringLiteral("17"));
    QCOMPARE(gSalesDate, DateValue::fromParts(2024, 4, 30));

    // A month button keeps the day where the shorter month put it.
    gSalesDate = DateValue::fromParts(2025, 1, 31);
    frmSetCal january;
    QTest::mouseClick(january.cmdPOST, Qt::LeftButton);
    QCOMPARE(january.SysDate(), DateValue::fromParts(2025, 2, 28));
    QTest::mouseClick(january.cmdPREV, Qt::LeftButton);
    QCOMPARE(january.SysDate(), DateValue::fromParts(2025, 1, 28));
    QCOMPARE(chosenCell(january), QStringLiteral("28"));
}

void TestFrmSetCal::enterConfirmsEscEnds()
{
    // Enter sets the day moved to; Esc then leaves it as it was.
    gSalesDate = DateValue::fromParts(2024, 4, 1);
    for (const auto &[key, result] :
         {std::pair{Qt::Key_Return, int(QDialog::Accepted)}, {Qt::Key_Escape, int(frmSetCal::EndProgram)}}) {
        frmSetCal form;
        QTest::keyClick(&form, Qt::Key_Plus, Qt::KeypadModifier);
        QTest::keyClick(&form, key);
        QCOMPARE(form.result(), result);
        QCOMPARE(gSalesDate, DateValue::fromParts(2024, 4, 2));
    }
}

void TestFrmSetCal::dailyReportNeedsASettlement()
{
    gSalesDate = DateValue::fromParts(2024, 4, 1);
    frmSetCal form;
    form.show();
    QVERIFY(!opensPreview([&] { QTest::keyClick(&form, Qt::Key_F3); }));
    QCOMPARE(gRptKind, RptKind::DailyRpt);
    QVERIFY(m_program->messages().shown().isEmpty());

    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, ADJ_DTM, AMT_SUM) VALUES (%1, %1, 100)").arg(day(2024, 3, 31)));
    QTest::keyClick(&form, Qt::Key_Minus, Qt::KeypadModifier);
    QVERIFY(opensPreview([&] { QTest::mouseClick(form.Command1[3], Qt::LeftButton); }));
    QCOMPARE(gRptDate, DateValue::fromParts(2024, 3, 31));
    // The transfer request of a day without a payment closing: nothing opens either.
    QVERIFY(!opensPreview([&] { QTest::keyClick(&form, Qt::Key_F2); }));
    QCOMPARE(gRptKind, RptKind::BankTrn);
}

QTEST_MAIN(TestFrmSetCal)
#include "test_frmsetcal.moc"
