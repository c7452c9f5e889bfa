#include "settlement/AdjGrid.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "base/Variant.h"
#include "data/Sql.h"
#include "data/clsData.h"

#include <algorithm>
#include <cmath>

namespace {

const char *const kCaptions[AdjGrid::Rows] = {"10,000", "5,000", "2,000", "1,000", "500", "100", "50", "10", "5", "1"};
const int kValues[AdjGrid::Rows] = {10000, 5000, 2000, 1000, 500, 100, 50, 10, 5, 1};

// A stored piece count as cell text; Null is 0.
QString countText(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? QStringLiteral("0") : v.toCurrency().toPlainText();
}

QString total(Currency amount)
{
    return Format::number(amount, QStringLiteral("#,##0"));
}

} // namespace

QString AdjGrid::AmtCaption(int row)
{
    return QString::fromLatin1(kCaptions[row]);
}

Currency AdjGrid::AmtValue(int row)
{
    return Currency::fromInt(kValues[row]);
}

QString AdjGrid::Suffix(int row)
{
    return QStringLiteral("%1").arg(row + 1, 2, 10, QLatin1Char('0'));
}

qint16 AdjGrid::Count(const QString &caption)
{
    const double n = std::lrint(Val(caption));
    return qint16(std::clamp(n, -32768.0, 32767.0));
}

void AdjGrid::InitFrm(clsData &db, clsData &master, double salesDate)
{
    RowIdx = 0;
    ColIdx = 0;
    InputFlg = 0;
    const QString ofTheDay = Sql(R"(SALES_DATE=:day)").date("day", salesDate);
    if (db.DCount(QStringLiteral("*"), QStringLiteral("D_ADJ"), ofTheDay).toLong() == 0) {
        for (int i = 0; i < Rows; ++i)
            PREV[i] = CASH[i] = CHG[i] = POST[i] = QStringLiteral("0");
        PREV_SUM = CASH_SUM = CHG_SUM = POST_SUM = QStringLiteral("0");
        SetPrev(db, master, salesDate);
    } else {
        GetData(db, salesDate);
    }
    for (int i = 0; i < Rows; ++i) {
        const Variant v = master.GetCtrl(QStringLiteral("DEF_") + Suffix(i));
        DEF[i] = v.isNull() || v.isEmpty() ? QString() : v.toString();
    }
    SetCalsSum();
}

void AdjGrid::SetPrev(clsData &db, clsData &master, double salesDate)
{
    const Variant last = db.DMax(QStringLiteral("SALES_DATE"), QStringLiteral("D_ADJ"),
                                 Sql(R"(SALES_DATE<:day)").date("day", salesDate));
    const double p = last.isNull() || last.isEmpty() ? salesDate : DateValue::dateOnly(last.toDate());
    Recordset rs = db.GetFwdOnlyRst(Sql(R"(SELECT D_ADJ.* FROM D_ADJ WHERE SALES_DATE=:day)").date("day", p));
    if (!rs.EOF_()) {
        // Yesterday's change kept is today's opening float.
        for (int i = 0; i < Rows; ++i) {
            const Variant amt = rs.Fields(QStringLiteral("AMT_") + Suffix(i));
            const Currency stored = amt.isNull() ? Currency() : amt.toCurrency();
            if (stored == AmtValue(i))
                PREV[i] = countText(rs.Fields(QStringLiteral("CHG_") + Suffix(i)));
        }
    } else {
        for (int i = 0; i < Rows; ++i) {
            const Variant v = master.GetCtrl(QStringLiteral("DEF_") + Suffix(i));
            PREV[i] = v.isNull() || v.isEmpty() ? QStringLiteral("0") : v.toString();
        }
    }
    rs.Close();
    SetCalsSum();
}

void AdjGrid::GetData(clsData &db, double salesDate)
{
    Recordset rs = db.GetFwdOnlyRst(
        Sql(R"(SELECT D_ADJ.* FROM D_ADJ WHERE D_ADJ.SALES_DATE=:day)").date("day", salesDate));
    if (rs.EOF_())
        return;
    for (int n = 0; n < Rows; ++n) {
        const Variant amt = rs.Fields(QStringLiteral("AMT_") + Suffix(n));
        const Currency stored = amt.isNull() ? Currency() : amt.toCurrency();
        for (int i = 0; i < Rows; ++i) {
            if (AmtValue(i) != stored)
                continue;
            PREV[i] = countText(rs.Fields(QStringLiteral("PREV_") + Suffix(n)));
            CASH[i] = countText(rs.Fields(QStringLiteral("CASH_") + Suffix(n)));
            CHG[i] = countText(rs.Fields(QStringLiteral("CHG_") + Suffix(n)));
            POST[i] = countText(rs.Fields(QStringLiteral("POST_") + Suffix(n)));
            break;
        }
    }
    PREV_SUM = countText(rs.Fields(QStringLiteral("PREV_SUM")));
    CASH_SUM = countText(rs.Fields(QStringLiteral("CASH_SUM")));
    CHG_SUM = countText(rs.Fields(QStringLiteral("CHG_SUM")));
    POST_SUM = countText(rs.Fields(QStringLiteral("POST_SUM")));
    rs.Close();
}

void AdjGrid::SetCalsSum()
{
    Currency prevSum, cashSum, defSum, chgSum, postSum;
    for (int i = 0; i < Rows; ++i) {
        const Currency v = AmtValue(i);
        const qint16 prev = Count(PREV[i]);
        const qint16 cash = Count(CASH[i]);
        const qint16 def = Count(DEF[i]);
        qint16 chg = 0;
        if (ColIdx == 1) {
            // The change figures are the operator's; only the deposit follows.
            chg = Count(CHG[i]);
            POST[i] = QString::number(cash - chg);
        } else if (cash <= def) {
            CHG[i] = QString::number(cash);
            POST[i] = QStringLiteral("0");
            chg = cash;
        } else {
            CHG[i] = QString::number(def);
            POST[i] = QString::number(cash - def);
            chg = def;
        }
        const qint16 post = Count(POST[i]);
        prevSum += v * Currency::fromInt(prev);
        cashSum += v * Currency::fromInt(cash);
        defSum += v * Currency::fromInt(def);
        chgSum += v * Currency::fromInt(chg);
        postSum += v * Currency::fromInt(post);
    }
    PREV_SUM = total(prevSum);
    CASH_SUM = total(cashSum);
    DEF_SUM = total(defSum);
    CHG_SUM = total(chgSum);
    POST_SUM = total(postSum);
}

bool AdjGrid::changeWithinCash() const
{
    return RowIdx >= 0 && Count(CHG[RowIdx]) <= Count(CASH[RowIdx]);
}

QString *AdjGrid::currentCell()
{
    if (RowIdx < 0 || RowIdx >= Rows)
        return nullptr;
    return ColIdx != 1 ? &CASH[RowIdx] : &CHG[RowIdx];
}

AdjGrid::Action AdjGrid::KeyDown(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (RowIdx == ClosedRow)
            return Action::CloseScreen;
        if (RowIdx == ConfirmRow)
            return Action::RunClosing;
        if (RowIdx == Rows - 1) {
            // The last count was typed after the totals were worked out: its change follows it before the
            // change figures become the operator's.
            if (ColIdx != 1)
                SetCalsSum();
            if (changeWithinCash()) {
                if (ColIdx != 1) {
                    RowIdx = 0;
                    ColIdx = 1;
                } else {
                    RowIdx = ConfirmRow;
                }
                InputFlg = 0;
            }
        } else if (RowIdx >= 0 && changeWithinCash()) {
            RowIdx = qint16(RowIdx + 1);
            InputFlg = 0;
        }
        return Action::None;
    case Qt::Key_Backspace:
        if (RowIdx == ConfirmRow) {
            ColIdx = 1;
            RowIdx = Rows - 1;
        } else if (RowIdx >= 0) {
            QString &cell = ColIdx == 1 ? CHG[RowIdx] : CASH[RowIdx];
            if (Count(cell) != 0) {
                cell = QStringLiteral("0");
            } else if (RowIdx > 0 && changeWithinCash()) {
                RowIdx = qint16(RowIdx - 1);
                InputFlg = 0;
            } else if (RowIdx == 0 && ColIdx == 1 && changeWithinCash()) {
                // Back from the first change cell to the last cash cell.
                ColIdx = 0;
                RowIdx = Rows - 1;
            }
        }
        return Action::None;
    case Qt::Key_F2:
        return Action::TransferRequest;
    case Qt::Key_F3:
        return Action::DailyReport;
    case Qt::Key_F8:
        return Action::OpenDrawer;
    case Qt::Key_Escape:
        return Action::CloseScreen;
    default:
        return Action::None;
    }
}

void AdjGrid::KeyPress(QChar character)
{
    if (character < u'0' || character > u'9')
        return;
    QString *cell = currentCell();
    if (!cell)
        return;
    if (InputFlg == 0 || Count(*cell) == 0)
        *cell = character;
    else if (cell->size() < 4)
        *cell += character;
    InputFlg = -1;
}

void AdjGrid::ClickCash(int row)
{
    // A count typed into the cell being left counts before another cell becomes current: taken into the
    // change column, an old change figure would otherwise stay as the operator's own.
    SetCalsSum();
    ColIdx = 0;
    RowIdx = qint16(row);
}

void AdjGrid::ClickChange(int row)
{
    SetCalsSum();
    ColIdx = 1;
    RowIdx = qint16(row);
}
