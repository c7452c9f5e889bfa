#include "settlement/PayCls.h"

#include "base/Common.h"
#include "base/DateValue.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/Transaction.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "settings/SettingValues.h"
#include "settlement/ClosingRules.h"

#include <QHash>
#include <QStringList>
#include <algorithm>

double gClsDate = 0;
double gPayDate = 0;

namespace {

const Currency kFeeLimit = Currency::fromInt(30000);
// Payment lines per INSERT: a few dozen statements instead of one per producer. Larger ones save little:
// rendering a statement for its engine slows down with its length times the number of texts in it.
constexpr qsizetype kLinesPerInsert = 50;

Currency amount(const Variant &v)
{
    return v.isNull() || v.isEmpty() ? Currency() : v.toCurrency();
}

double numeric(const Variant &v)
{
    if (v.isNull() || v.isEmpty())
        return 0;
    return v.isNumeric() ? v.toDouble() : Val(v.toString());
}

bool missing(const Variant &v)
{
    return v.isNull() || v.isEmpty();
}

QString text(const Variant &v)
{
    return missing(v) ? QString() : v.toString();
}

// What a payment line takes from the producer master: the account and the two transfer fees.
struct Account
{
    QString bank, branch, kind, number, holder;
    Variant fee1, fee2;
};

// The whole producer master in one read, by FMR_ID: one statement instead of one per producer.
QHash<qint64, Account> readAccounts(clsData &master)
{
    QHash<qint64, Account> accounts;
    Recordset rs = master.GetFwdOnlyRst(
        QStringLiteral("SELECT FMR_ID, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, FEE_1, FEE_2 FROM M_FMR"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        accounts.insert(amount(rs.Fields(QStringLiteral("FMR_ID"))).wholePart(),
                        {text(rs.Fields(QStringLiteral("BANK_NM"))), text(rs.Fields(QStringLiteral("BR_NM"))),
                         text(rs.Fields(QStringLiteral("ACC_KBN"))), text(rs.Fields(QStringLiteral("ACC_NO"))),
                         text(rs.Fields(QStringLiteral("ACC_NM"))), rs.Fields(QStringLiteral("FEE_1")),
                         rs.Fields(QStringLiteral("FEE_2"))});
    }
    rs.Close();
    return accounts;
}

// The VALUES row of one producer's payment line; the account fields are NULL for a producer missing from the
// master.
QString paymentLine(double clsDate, double payDate, qint64 fmrId, Currency qty, const PayAmounts &p,
                    const Account *account)
{
    const Account none;
    const Account &a = account ? *account : none;
    return Sql(R"((:cls, :pay, :fmr, :qty, :sales, :fee, :payable,)"
               R"( :bank, :branch, :kind, :number, :holder, :bankFee, :real))")
        .day("cls", clsDate)
        .day("pay", payDate)
        .number("fmr", fmrId)
        .money("qty", qty)
        .money("sales", p.sales)
        .money("fee", p.fee)
        .money("payable", p.pay)
        .text("bank", a.bank)
        .text("branch", a.branch)
        .text("kind", a.kind)
        .text("number", a.number)
        .text("holder", a.holder)
        .money("bankFee", p.bankFee)
        .money("real", p.real);
}

void insertLines(clsData &db, const QStringList &lines, Progress &progress)
{
    progress.report(0, lines.size());
    for (qsizetype i = 0; i < lines.size(); i += kLinesPerInsert) {
        db.EXEC(Sql(R"(INSERT INTO D_PAY_DTL (CLS_DATE, PAY_DATE, FMR_ID, SALES_QTY, SALES_AMT, FEE_AMT, PAY_AMT,
  BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, BANK_FEE, REAL_AMT)
VALUES :lines)")
                    .raw("lines", lines.mid(i, kLinesPerInsert).join(QStringLiteral(",\n"))));
        progress.report(std::min(i + kLinesPerInsert, lines.size()), lines.size());
    }
}

} // namespace

PayAmounts ComputePay(Currency sales, Currency rate, bool inMaster, const Variant &fee1, const Variant &fee2)
{
    PayAmounts p;
    p.sales = sales;
    // Truncated toward zero to whole yen: the fraction stays with the producer.
    p.fee = Currency::fromInt((sales * rate).wholePart());
    p.pay = sales - p.fee;
    if (inMaster)
        p.bankFee = p.pay < kFeeLimit ? amount(fee1) : amount(fee2);
    p.real = p.pay - p.bankFee;
    return p;
}

bool PayClsDue(clsData &local, clsData &db, clsData &master, double salesDate, double &clsDate, double &payDate,
               QString &problem)
{
    problem.clear();
    if (numeric(local.GetCtrl(QStringLiteral("PAY_CLS"))) == 0)
        return false;
    const Variant oldest = db.DMin(QStringLiteral("SALES_DATE"), QStringLiteral("D_ADJ_DTL"),
                                   QStringLiteral("CLS_DATE IS NULL"));
    double first = missing(oldest) ? salesDate : DateValue::dateOnly(oldest.toDate());
    // A day closed after its period was paid (rung up late under an earlier date) cannot join that period:
    // its transfer request has gone to the bank, and a second summary of the date would collide on D_PAY's
    // key. It goes into the first period after the last one paid.
    const Variant lastPaid = db.DMax(QStringLiteral("CLS_DATE"), QStringLiteral("D_PAY"));
    if (!missing(lastPaid))
        first = std::max(first, DateValue::dateOnly(lastPaid.toDate()) + 1);

    const ClosingRules rules = ClosingRules::read(master);
    const double k = rules.closingDate(first, &problem);
    if (k == 0 || k > salesDate)
        return false;
    const double p = rules.paymentDate(k, &problem);
    if (p == 0)
        return false;
    clsDate = k;
    payDate = p;
    return true;
}

bool PayClsDue()
{
    QString problem;
    const bool due = PayClsDue(*gIni, *gDb, *gMst, gSalesDate, gClsDate, gPayDate, problem);
    if (!problem.isEmpty())
        MsgBoxEx(QString::fromUtf8(PayClsText::Skipped) + QStringLiteral("\r\n") + problem, Msg::Exclamation);
    return due;
}

bool PayCls(clsData &db, clsData &master, double clsDate, double payDate, Progress &progress)
{
    try {
        // A zero date would reach the bank as 1899/12/30 and mark the sales paid for good.
        if (clsDate < 1 || payDate < 1)
            throw DbError(QStringLiteral("支払締の締日または支払日がありません。"));
        const Currency rate = SettingValues::CommissionRate(master);
        const QHash<qint64, Account> accounts = readAccounts(master);

        Transaction transaction(db);
        // The days are marked first and the lines summed from exactly the rows marked: a day that another
        // register closes meanwhile is in both or in neither, never paid without being counted.
        db.EXEC(Sql(R"(UPDATE D_ADJ_DTL SET CLS_DATE=:cls WHERE CLS_DATE IS NULL AND SALES_DATE<=:cls)")
                    .date("cls", clsDate));
        QStringList lines;
        Recordset rs = db.GetFwdOnlyRst(
            // One line in the log: a query read as a result set is logged as it is written.
            Sql(R"(SELECT FMR_ID, Sum(SALES_QTY) AS SALES_QTY, Sum(SALES_AMT) AS SALES_AMT)"
                R"( FROM D_ADJ_DTL WHERE CLS_DATE=:cls GROUP BY FMR_ID)")
                .date("cls", clsDate));
        for (; !rs.EOF_(); rs.MoveNext()) {
            const qint64 fmrId = amount(rs.Fields(QStringLiteral("FMR_ID"))).wholePart();
            const auto found = accounts.constFind(fmrId);
            const Account *account = found == accounts.cend() ? nullptr : &found.value();
            const PayAmounts p = ComputePay(amount(rs.Fields(QStringLiteral("SALES_AMT"))), rate, account != nullptr,
                                            account ? account->fee1 : Variant(), account ? account->fee2 : Variant());
            lines << paymentLine(clsDate, payDate, fmrId, amount(rs.Fields(QStringLiteral("SALES_QTY"))), p, account);
        }
        rs.Close();
        insertLines(db, lines, progress);
        db.EXEC(Sql(R"(INSERT INTO D_PAY (CLS_DATE, PAY_DATE, SALES_QTY_SUM, SALES_AMT_SUM, FEE_AMT_SUM, PAY_AMT_SUM,
  BANK_FEE_SUM, REAL_AMT_SUM)
SELECT CLS_DATE, Max(PAY_DATE) AS PAY_DATE, Sum(SALES_QTY) AS SALES_QTY_SUM, Sum(SALES_AMT) AS SALES_AMT_SUM,
  Sum(FEE_AMT) AS FEE_AMT_SUM, Sum(PAY_AMT) AS PAY_AMT_SUM, Sum(BANK_FEE) AS BANK_FEE_SUM,
  Sum(REAL_AMT) AS REAL_AMT_SUM
FROM D_PAY_DTL WHERE CLS_DATE=:cls GROUP BY CLS_DATE)")
                    .date("cls", clsDate));
        transaction.commit();
        return true;
    } catch (const std::exception &e) {
        WriteLog(QString::fromStdString(e.what()));
        return false;
    }
}

bool PayCls(Progress &progress)
{
    return PayCls(*gDb, *gMst, gClsDate, gPayDate, progress);
}
