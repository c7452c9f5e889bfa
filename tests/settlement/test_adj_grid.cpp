// The cash settlement grid as the operator's keys move through it: counts, the change kept within the standard
// float, the change column, Backspace, the 4-digit limit, the confirmation; and where its opening float comes
// from (the change fund, the last closed day, the stored settlement of a closed day).
#include "support/Rows.h"

#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "settlement/AdjGrid.h"
#include "settlement/SetCls.h"
#include "support/TestProgram.h"

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

} // namespace

class TestAdjGrid : public QObject
{
    Q_OBJECT

private slots:
    void countingTheCash();
    void changeColumnAndConfirmation();
    void openingFloat();
};

void TestAdjGrid::countingTheCash()
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

void TestAdjGrid::changeColumnAndConfirmation()
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
    QCOMPARE(keys(g, "\n\n\n\n\n\n\n\n\n\n"), Action::None);
    QCOMPARE(g.RowIdx, AdjGrid::ConfirmRow);
    QVERIFY(!g.currentCell());
    QCOMPARE(keys(g, "\b"), Action::None); // back to the last change cell
    QCOMPARE(at(g), QStringLiteral("9,1"));
    QCOMPARE(keys(g, "\n\n"), Action::RunClosing);
    g.RowIdx = AdjGrid::ClosedRow;
    QCOMPARE(keys(g, "\n"), Action::CloseScreen);
    const std::pair<int, Action> commands[] = {{Qt::Key_Escape, Action::CloseScreen}, {Qt::Key_F2, Action::TransferRequest},
                                               {Qt::Key_F3, Action::DailyReport}, {Qt::Key_F8, Action::OpenDrawer}};
    for (const auto &[key, action] : commands)
        QCOMPARE(g.KeyDown(key), action);
}

void TestAdjGrid::openingFloat()
{
    TestProgram program;
    program.createDatabases();
    program.openAll();
    master("DEF_02", QStringLiteral("5"));
    AdjGrid g;
    // No settlement before: the change fund.
    g.InitFrm(*gDb, *gMst, day(2024, 4, 1));
    QCOMPARE(g.PREV[1] + u' ' + g.PREV_SUM + u' ' + at(g), QStringLiteral("5 56,650 0,0"));

    // Two closed days; the later one's change kept is the float, row by row where its denomination matches.
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
    g.InitFrm(*gDb, *gMst, day(2024, 4, 1));
    QCOMPARE(QStringList(g.PREV.begin(), g.PREV.end()).join(u' '), QStringLiteral("1 0 3 4 5 6 7 8 9 10"));
    QCOMPARE(g.PREV_SUM, QStringLiteral("23,585"));

    // A closed day shows its stored counts, change and deposit worked out again from the cash column.
    sale(1, day(2024, 4, 1), {{45, "2", "1200"}});
    AdjGrid stored = counting();
    stored.CASH[1] = QStringLiteral("8");
    stored.CHG[1] = QStringLiteral("1");
    stored.ColIdx = 1;
    stored.SetCalsSum();
    QVERIFY(SetCls(*gDb, stored, day(2024, 4, 1), day(2024, 4, 1)));
    g.InitFrm(*gDb, *gMst, day(2024, 4, 1));
    QCOMPARE(row(g, 1), QStringLiteral("8/5/3"));
}

QTEST_GUILESS_MAIN(TestAdjGrid)
#include "test_adj_grid.moc"
