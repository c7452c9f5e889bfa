#include "checkout/StoreSale.h"

#include "base/Clock.h"
#include "base/Common.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/Sql.h"
#include "data/Transaction.h"
#include "data/clsData.h"
#include "tax/ProductRates.h"
#include "tax/SaleTaxRows.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int kAttempts = 5;

// Another register got there first: a key that is taken now, or the server chose this transaction as the
// victim of a deadlock. Trying again allocates fresh numbers.
bool isCollision(const DbError &e)
{
    switch (e.number()) {
    case 19: case 1555: case 2067: // SQLite constraint, primary key, unique
    case 1062:                     // MariaDB duplicate entry
    case 1213:                     // MariaDB deadlock
        return true;
    default:
        break;
    }
    const QString &d = e.description();
    return d.contains(QStringLiteral("UNIQUE constraint failed"), Qt::CaseInsensitive)
        || d.contains(QStringLiteral("Duplicate entry"), Qt::CaseInsensitive)
        || d.contains(QStringLiteral("Deadlock"), Qt::CaseInsensitive);
}

qint64 numberOf(const Variant &value)
{
    if (value.isEmpty() || value.isNull())
        return 0;
    return qint64(Val(value.toString()));
}

// On a shared server the numbers of a sale are read and written by one register at a time: the NEW_REG_ID
// row is locked until the sale commits. The lock comes before any other read, so what this transaction
// reads afterwards includes every sale committed before it.
void lockSaleNumbers(clsData &db)
{
    if (db.connection() == nullptr || db.connection()->engine() != Connection::Engine::MariaDb)
        return;
    Recordset rs = db.GetFwdOnlyRst(
        QStringLiteral("SELECT CTRL_CD FROM S_CTRL WHERE CTRL_CD='NEW_REG_ID' FOR UPDATE"));
    if (rs.EOF_()) {
        rs.Close();
        // The first sale ever: the row is made here so that it can be locked; two registers that both
        // find it missing collide on its key, and the loser tries again.
        db.EXEC(QStringLiteral("INSERT INTO S_CTRL (CTRL_CD, CTRL_VALUE) VALUES ('NEW_REG_ID', '0')"));
    }
}

qint32 allocateRegId(clsData &db)
{
    for (;;) {
        const qint64 n = numberOf(db.GetCtrl(QStringLiteral("NEW_REG_ID"))) + 1;
        if (n > std::numeric_limits<qint32>::max())
            throw DbError(QStringLiteral("レジ番号が上限に達しました。"));
        if (!db.SaveCtrl(QStringLiteral("NEW_REG_ID"), Variant(qint32(n))))
            throw DbError(QStringLiteral("レジ番号を保存できませんでした。"));
        const QString criteria = QStringLiteral("REG_ID=%1").arg(n);
        if (db.DCount(QStringLiteral("*"), QStringLiteral("B_REG"), criteria).toLong() > 0)
            continue;
        if (db.DCount(QStringLiteral("*"), QStringLiteral("D_REG"), criteria).toLong() > 0)
            continue;
        return qint32(n);
    }
}

// Whether the sale is in the database as `header` numbers it: its header with that REG_ID and moment.
// Tells a sale whose commit went unanswered from one that never arrived; another register that took the
// same number later stored it at another moment. The lines came in the same transaction as the header;
// when the screen's sale has changed since (the cashier went back and edited it while the server was
// away), the stored sale is still the one that was paid for: it is not stored again, and the log says so.
bool isStored(const RegRec &header, const QList<DtlRec> &lines, clsData &db)
{
    Recordset rs = db.GetFwdOnlyRst(Sql(R"(SELECT COUNT(*) AS N_REG,
        (SELECT COUNT(*) FROM D_REG_DTL WHERE REG_ID=:id) AS N_DTL
        FROM D_REG WHERE REG_ID=:id AND REG_DTM=:moment)")
                                        .number("id", header.REG_ID)
                                        .date("moment", header.REG_DTM));
    if (numberOf(rs.Fields(0)) != 1)
        return false;
    const auto count = std::count_if(lines.begin(), lines.end(), [](const DtlRec &d) { return d.DTL_NO != 0; });
    if (numberOf(rs.Fields(1)) != count)
        WriteLog(QStringLiteral("レジデータ %1 は変更前の %2 行で登録済みです").arg(header.REG_ID).arg(numberOf(rs.Fields(1))));
    return true;
}

// The rates of the sale's lines, read before its transaction; nothing when the sale is stored without its tax
// (no master given, or a database whose tax tables are missing and cannot be made).
std::optional<SaleTax> taxOf(const QList<DtlRec> &lines, clsData &db, clsData *mst)
{
    if (mst == nullptr || !SaleTaxRows::Ready(db))
        return std::nullopt;
    QList<SaleTax::Line> taxed;
    QList<qint32> products;
    for (const DtlRec &line : lines) {
        if (line.DTL_NO == 0)
            continue;
        taxed.append({line.DTL_NO, line.PRD_ID, line.AMT});
        products.append(line.PRD_ID);
    }
    const ProductRates rates = ProductRates::Load(*mst, products);
    return SaleTax::Split(taxed, [&rates](qint32 prdId) { return rates.of(prdId); });
}

qint32 storeOnce(RegRec &header, const QList<DtlRec> &lines, double salesDate, clsData &db, clsData &ini,
                 const std::optional<SaleTax> &tax)
{
    lockSaleNumbers(db);
    header.REG_ID = allocateRegId(db);
    header.REG_NO = qint32(numberOf(db.DMax(QStringLiteral("REG_NO"), QStringLiteral("D_REG"))) + 1);
    header.REG_DTM = Clock::Now();
    header.SALES_DATE = salesDate;
    const Variant user = ini.GetCtrl(QStringLiteral("REG_USER"));
    header.REG_USER = user.isEmpty() || user.isNull() ? QString() : user.toString();

    db.EXEC(SaleHeaderInsert(header));
    for (const DtlRec &line : lines) {
        if (line.DTL_NO != 0)
            db.EXEC(SaleLineInsert(header.REG_ID, line));
    }
    if (tax)
        SaleTaxRows::Insert(db, header.REG_ID, *tax);
    return header.REG_ID;
}

} // namespace

QString SaleHeaderInsert(const RegRec &reg)
{
    return Sql(R"(INSERT INTO D_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG)
VALUES (:id, :no, :at, :day, :user, :lines, :sum, :rcv, :chg))")
        .number("id", reg.REG_ID)
        .number("no", reg.REG_NO)
        .date("at", reg.REG_DTM)
        .date("day", reg.SALES_DATE)
        .text("user", reg.REG_USER)
        .number("lines", reg.DTL_CNT)
        .money("sum", reg.AMT_SUM)
        .money("rcv", reg.RCV)
        .money("chg", reg.CHG);
}

QString SaleLineInsert(qint32 regId, const DtlRec &line)
{
    return Sql(R"(INSERT INTO D_REG_DTL (REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, QTY,
  UNIT_ID, AMT)
VALUES (:id, :no, :bcd, :prd, :name, :fmr, :fmrName, :oPrc, :dPrc, :prc, :qty, :unit, :amt))")
        .number("id", regId)
        .number("no", line.DTL_NO)
        .text("bcd", line.BCD)
        .number("prd", line.PRD_ID)
        .text("name", line.BCD_NM)
        .number("fmr", line.FMR_ID)
        .text("fmrName", line.FMR_NM)
        .money("oPrc", line.O_PRC)
        .money("dPrc", line.D_PRC)
        .money("prc", line.PRC)
        .money("qty", line.QTY)
        .number("unit", line.UNIT_ID)
        .money("amt", line.AMT);
}

qint32 StoreSale(RegRec &reg, const QList<DtlRec> &lines, double salesDate, clsData &db, clsData &ini,
                 clsData *mst)
{
    // Storing is an explicit action: a database that could not be opened is tried again (and asks again).
    if (!db.connection())
        db.OpenCnn();
    const std::optional<SaleTax> tax = taxOf(lines, db, mst);
    // An earlier attempt whose commit went unanswered left its numbers here: it may be stored already.
    if (reg.REG_ID != 0) {
        if (isStored(reg, lines, db))
            return reg.REG_ID;
        reg.REG_ID = 0;
    }
    bool reopened = false;
    for (int attempt = 1;; ++attempt) {
        RegRec header = reg;
        bool committing = false;
        try {
            // A transaction that cannot start (another register holds the database too long, the connection
            // is gone) fails the store: without it the lines could be stored without their header.
            Transaction transaction(db);
            storeOnce(header, lines, salesDate, db, ini, tax);
            committing = true;
            transaction.commit();
            reg = header;
            return header.REG_ID;
        } catch (const DbError &e) {
            if (attempt < kAttempts && isCollision(e))
                continue;
            Connection *cnn = db.connection();
            if (!cnn || !cnn->lost())
                throw;
            if (committing) {
                // The server may have committed before the connection broke. Until that is known the sale
                // keeps these numbers, so that no later attempt stores it a second time. The reads open the
                // connection again by themselves; while the server is away they throw, and the next attempt
                // asks again.
                reg = header;
                if (isStored(header, lines, db))
                    return header.REG_ID;
                reg.REG_ID = 0;
                if (attempt < kAttempts)
                    continue;
                throw;
            }
            // The server dropped the connection before the commit (it was restarted): nothing was stored.
            // Open it again once, so that this sale or the next one goes through once the server is back.
            if (!reopened) {
                reopened = true;
                if (cnn->reopen() && attempt < kAttempts)
                    continue;
            }
            throw;
        }
    }
}
