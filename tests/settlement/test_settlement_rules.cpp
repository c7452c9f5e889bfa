// The rules under the settlement screen: the cash grid as the operator's keys move through it (counts, the change
// kept within the standard float, Backspace, the 4-digit limit, the confirmation) and where its opening float
// comes from; the closing rules, read from 支払情報, that say when a producer closing period ends and when it is
// paid (daily, weekly, monthly with month ends, three monthly sets, the weekend shift).
#include "support/Rows.h"
#include "support/TestProgram.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "settlement/AdjGrid.h"
#include "settlement/ClosingRules.h"
#include "settlement/SetCls.h"

#include <QTest>

using namespace Rows;

namespace {

using Action = AdjGrid::Action;

// The change fund: 0 2→5 0 20 10 50 20 50 20 50 pieces.
AdjGrid counting()
{
    AdjGrid g;
    const char *fund[] = {"0", "5", "0", "20", "10", "50", "20", "50", "20", "50"};
    for (int i = 0; i < AdjGrid::Rows; ++i) {
        g.PREV[i] = g.CASH[i] = QStringLiteral("0");
        g.DEF[i] = QString::fromLatin1(fund[i]);
    }
    g.SetCalsSum();
    return g;
}

// Keys as the screen hands them on: the key-down, the totals, then the character ('\n' Enter, '\b' Backspace).
Action keys(AdjGrid &g, const char *typed)
{
    Action last = Action::None;
    for (const char *k = typed; *k; ++k) {
        const bool character = *k != '\n' && *k != '\b';
        const int key = *k == '\n' ? int(Qt::Key_Return) : *k == '\b' ? int(Qt::Key_Backspace) : QChar(*k).toUpper().unicode();
        last = g.KeyDown(key);
        g.SetCalsSum();
        if (character)
            g.KeyPress(QChar(*k));
    }
    return last;
}

QString at(const AdjGrid &g) { return QStringLiteral("%1,%2").arg(g.RowIdx).arg(g.ColIdx); }
// One row: cash/change/deposit; the three totals.
QString row(const AdjGrid &g, int i) { return g.CASH[i] + u'/' + g.CHG[i] + u'/' + g.POST[i]; }
QString sums(const AdjGrid &g) { return g.CASH_SUM + u'/' + g.CHG_SUM + u'/' + g.POST_SUM; }

QString text(double date)
{
    return date == 0 ? QStringLiteral("zero") : Format::date(date, QStringLiteral("yyyy-mm-dd(aaa)"));
}

double iso(const QString &date)
{
    return DateValue::fromQDate(QDate::fromString(date, Qt::ISODate));
}

// The closing rules read from 支払情報 set as "M 15/0/25 31/1/10": monthly sets of closing day/site months/
// payment day; "W 7/1/5": weekly sets of closing weekday/site weeks/payment weekday; "D1 3": closing type 1
// (daily) paid 3 days later; "": nothing set.
ClosingRules rules(const char *setting)
{
    gMst->EXEC(QStringLiteral("DELETE FROM S_CTRL WHERE CTRL_CD LIKE 'CLS_%'"));
    const QStringList parts = QString::fromLatin1(setting).split(u' ', Qt::SkipEmptyParts);
    const QString type = parts.value(0);
    const auto store = [](const QString &key, const QString &value) { master(qPrintable(key), value); };
    if (!type.isEmpty())
        store(QStringLiteral("CLS_TYPE"), type == u'M' ? QStringLiteral("3") : type == u'W' ? QStringLiteral("2") : type.mid(1));
    for (int i = 1; i < parts.size(); ++i) {
        const QStringList v = parts[i].split(u'/');
        const QString set = QString::number(i), prefix = QStringLiteral("CLS_") + type + u'_';
        if (v.size() == 1) {
            store(QStringLiteral("CLS_SITE_DAY"), v[0]);
            continue;
        }
        store(prefix + set, v[0]);
        store(prefix + QStringLiteral("SITE") + set, v[1]);
        store(prefix + QStringLiteral("PAY") + set, v[2]);
    }
    return ClosingRules::read(*gMst);
}

} // namespace

class TestSettlementRules : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = TestProgram::opened();
    }
    void cleanup() { m_program.reset(); }

    void countingTheCash();
    void changeColumnAndConfirmation();
    void openingFloat();
    void closingAndPayment();

private:
    std::unique_ptr<TestProgram> m_program;
};

void TestSettlementRules::countingTheCash()
{
    AdjGrid g = counting();
    QCOMPARE(g.DEF_SUM, QStringLiteral("56,650"));
    keys(g, "1\n");
    QCOMPARE(at(g) + u' ' + row(g, 0), QStringLiteral("1,0 1/0/1"));
    // Three where five should stay: all three stay. Backspace on a zero cell goes up; the first digit replaces
    // the count. Eight: five stay, three go to the bank.
    keys(g, "3\n");
    QCOMPARE(row(g, 1), QStringLiteral("3/3/0"));
    keys(g, "\b8\n");
    QCOMPARE(at(g) + u' ' + row(g, 1) + u' ' + sums(g), QStringLiteral("2,0 8/5/3 50,000/25,000/25,000"));
    // Enter on the 1-yen row goes to the top of the change column, Backspace there back to the last count.
    keys(g, "\n\n\n\n\n\n\n\n");
    QCOMPARE(at(g), QStringLiteral("0,1"));
    keys(g, "\b");
    QCOMPARE(at(g), QStringLiteral("9,0"));
    // A count typed and left with a click counts at once: its change follows before the change column takes
    // the figures as the operator's.
    g.ClickCash(1);
    g.KeyPress(u'2');
    g.ClickChange(1);
    QCOMPARE(at(g) + u' ' + row(g, 1) + u' ' + sums(g), QStringLiteral("1,1 2/2/0 20,000/10,000/10,000"));

    // Backspace clears a count (the row stays) or goes up a row; four digits at most; a cell showing 0 takes
    // the next digit in its place.
    g = counting();
    keys(g, "\n\n\n12345");
    QCOMPARE(g.CASH[3], QStringLiteral("1234"));
    keys(g, "\b");
    QCOMPARE(at(g) + u' ' + g.CASH[3], QStringLiteral("3,0 0"));
    keys(g, "075");
    QCOMPARE(g.CASH[3], QStringLiteral("75"));
    keys(g, "\b\b\b\b\ba-+."); // nothing above the first row; letters and signs do nothing
    QCOMPARE(at(g) + u' ' + g.CASH[0], QStringLiteral("0,0 0"));
}

void TestSettlementRules::changeColumnAndConfirmation()
{
    AdjGrid g = counting();
    keys(g, "3\n\n\n\n\n\n\n\n\n\n");
    // More change than was counted: the deposit goes negative and Enter stays until corrected.
    keys(g, "4\n\n");
    QCOMPARE(at(g) + u' ' + row(g, 0), QStringLiteral("0,1 3/4/-1"));
    keys(g, "\b1\n");
    // The change typed stays as typed: the standard float no longer decides.
    QCOMPARE(at(g) + u' ' + row(g, 0) + u' ' + sums(g), QStringLiteral("1,1 3/1/2 30,000/10,000/20,000"));

    // A lower count with the old change still above it: the first Enter only works the change out again.
    g = counting();
    keys(g, "\n8\n");
    g.ClickCash(1);
    keys(g, "2\n");
    QCOMPARE(at(g) + u' ' + row(g, 1), QStringLiteral("1,0 2/2/0"));
    keys(g, "\n");
    QCOMPARE(at(g), QStringLiteral("2,0"));

    // The last count's change follows it before the change column becomes the operator's.
    g = counting();
    keys(g, "\n\n\n\n\n\n\n\n\n7\n");
    QCOMPARE(at(g) + u' ' + row(g, 9), QStringLiteral("0,1 7/7/0"));
    // Through the change column to the question (the screen shows it: TestDailyClose::screenClosesTheDay);
    // Backspace there goes back to the last change cell.
    QCOMPARE(keys(g, "\n\n\n\n\n\n\n\n\n\n\b"), Action::None);
    QCOMPARE(at(g), QStringLiteral("9,1"));
    QCOMPARE(keys(g, "\n\n"), Action::RunClosing);
    g.RowIdx = AdjGrid::ClosedRow;
    QCOMPARE(keys(g, "\n"), Action::CloseScreen);
    const std::pair<int, Action> commands[] = {{Qt::Key_Escape, Action::CloseScreen}, {Qt::Key_F2, Action::TransferRequest},
                                               {Qt::Key_F3, Action::DailyReport}, {Qt::Key_F8, Action::OpenDrawer}};
    for (const auto &[key, action] : commands)
        QCOMPARE(g.KeyDown(key), action);
}

void TestSettlementRules::openingFloat()
{
    // Two closed days (without one, the change fund: TestDailyClose::keysAndClicksReachTheGrid); the later one's
    // change kept is the float, row by row where its denomination matches.
    master("DEF_02", QStringLiteral("5"));
    for (int d : {25, 29}) {
        sale(d, day(2024, 3, d), {{45, "1", "100"}});
        AdjGrid closed = counting();
        for (int i = 0; i < AdjGrid::Rows; ++i)
            closed.CASH[i] = QString::number(d == 25 ? 9 : i + 1);
        closed.DEF.fill(QStringLiteral("99"));
        closed.SetCalsSum();
        QVERIFY(SetCls(*gDb, closed, day(2024, 3, d), day(2024, 3, d)));
    }
    gDb->EXEC(QStringLiteral("UPDATE D_ADJ SET AMT_02=9999"));
    AdjGrid g;
    g.InitFrm(*gDb, *gMst, day(2024, 4, 1));
    QCOMPARE(QStringList(g.PREV.begin(), g.PREV.end()).join(u' '), QStringLiteral("1 0 3 4 5 6 7 8 9 10"));
    QCOMPARE(g.PREV_SUM, QStringLiteral("23,585"));
}

void TestSettlementRules::closingAndPayment()
{
    // What the rules give: sales date, closing date, payment date of that closing.
    const struct { const char *name, *setting, *dates; } rows[] = {
        {"before the 15th", "M 15/0/25 31/1/10", "2024-04-05 2024-04-15 2024-04-25"},
        {"on the 15th", "M 15/0/25 31/1/10", "2024-04-15 2024-04-15 2024-04-25"},
        {"second closing, second set", "M 15/0/25 31/1/10", "2024-04-16 2024-04-30 2024-05-10"},
        {"25 May is a Saturday", "M 15/0/25 31/1/10", "2024-05-15 2024-05-15 2024-05-27"},
        {"leap February, 10 March a Sunday", "M 15/0/25 31/1/10", "2024-02-20 2024-02-29 2024-03-11"},
        {"second of three", "M 5/0/25 15/1/10 31/2/20", "2024-04-12 2024-04-15 2024-05-10"},
        {"third of three", "M 5/0/25 15/1/10 31/2/20", "2024-04-20 2024-04-30 2024-06-20"},
        {"after the last: next month's first", "M 10/1/6 25/1/20", "2024-03-26 2024-04-10 2024-05-06"},
        // Closing days above 27 are the month end; so are payment days from 28 on.
        {"28 in February 2023", "M 28/1/28", "2023-02-10 2023-02-28 2023-03-31"},
        {"28 is the month end, not the 28th", "M 28/1/25", "2024-02-28 2024-02-29 2024-03-25"},
        {"the 27th is past", "M 27/0/31", "2024-02-29 2024-03-27 2024-04-01"},
        {"a 30-day month", "M 25/0/0 31/1/31", "2024-04-30 2024-04-30 2024-05-31"},
        {"Sunday to Saturday", "W 7/1/5", "2024-03-03 2024-03-09 2024-03-14"},
        {"Wednesday, paid Friday", "W 4/0/6 7/1/3", "2024-03-05 2024-03-06 2024-03-08"},
        {"Saturday, paid Tuesday", "W 4/0/6 7/1/3", "2024-03-07 2024-03-09 2024-03-12"},
        {"after both: next Monday", "W 2/1/2 4/0/0", "2024-03-08 2024-03-11 2024-03-18"},
        {"daily, Sunday to Monday", "D1 3", "2024-03-07 2024-03-07 2024-03-11"},
        {"type 0 is daily, Saturday", "D0 0", "2024-03-09 2024-03-09 2024-03-11"},
        {"nothing set: daily, the same day", "", "2024-03-07 2024-03-07 2024-03-07"},
    };
    for (const auto &row : rows) {
        const QStringList dates = QString::fromLatin1(row.dates).split(u' ');
        const ClosingRules r = rules(row.setting);
        QString problem;
        const double closing = r.closingDate(iso(dates[0]), &problem);
        const QString got = text(closing) + u' ' + text(r.paymentDate(closing, &problem)) + problem;
        QVERIFY2(got == text(iso(dates[1])) + u' ' + text(iso(dates[2])), qPrintable(QString::fromLatin1(row.name) + u' ' + got));
    }

    // A rule without a date gives the zero date and names the row of 支払情報 to fix; the caller tells (the
    // weekly one: TestDailyClose).
    QString problem;
    QCOMPARE(rules("M 0/0/0").paymentDate(iso("2024-03-10"), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払情報の「月締１」に締日が設定されていません。"));
    // A payment date before the closing date: the 5th of the closing month, a Monday for a Wednesday closing.
    QCOMPARE(rules("M 10/0/5").paymentDate(iso("2024-03-10"), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払日 2024/03/05 が締日 2024/03/10 より前になります。"
                                     "支払情報の「月締１」のサイト月か支払日を直して下さい。"));
    QCOMPARE(rules("W 1/0/0 4/0/2").paymentDate(iso("2024-03-06"), &problem), 0.0);
    QCOMPARE(problem, QStringLiteral("支払日 2024/03/04 が締日 2024/03/06 より前になります。"
                                     "支払情報の「週締２」のサイト週か支払曜日を直して下さい。"));
}

QTEST_GUILESS_MAIN(TestSettlementRules)
#include "test_settlement_rules.moc"
