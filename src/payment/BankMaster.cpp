#include "payment/BankMaster.h"

#include "data/Connection.h"
#include "data/Recordset.h"
#include "data/Schema.h"
#include "data/Sql.h"
#include "data/clsData.h"

#include <QRegularExpression>
#include <stdexcept>

namespace BankMaster {

namespace {

const QStringList &OwnTables()
{
    static const QStringList names{QStringLiteral("M_BANK"), QStringLiteral("M_BANK_BR"), QStringLiteral("M_FMR_BANK")};
    return names;
}

QStringList existingTables(clsData &mst)
{
    QStringList names;
    for (Recordset rs = mst.OpenSchema(20); !rs.EOF_(); rs.MoveNext())
        names << rs.Fields(QStringLiteral("TABLE_NAME")).toString().toUpper();
    return names;
}

QString textOf(const Recordset &rs, const QString &field)
{
    const Variant v = rs.Fields(field);
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

std::optional<QString> optionalText(const Recordset &rs, const QString &field)
{
    const Variant v = rs.Fields(field);
    if (v.isNull() || v.isEmpty())
        return std::nullopt;
    return v.toString();
}

bool digits(const QString &text, int count)
{
    static const QRegularExpression onlyDigits(QStringLiteral("^[0-9]+$"));
    return text.size() == count && onlyDigits.match(text).hasMatch();
}

} // namespace

void EnsureTables(clsData &mst)
{
    const QStringList present = existingTables(mst);
    const auto engine = mst.connection() && mst.connection()->engine() == Connection::Engine::MariaDb
        ? Schema::Engine::MariaDb : Schema::Engine::Sqlite;
    for (const QString &name : OwnTables()) {
        if (present.contains(name))
            continue;
        for (const QString &ddl : Schema::createStatements(*Schema::table(name), engine))
            mst.EXEC(ddl);
    }
}

bool IsImported(clsData &mst)
{
    const QStringList present = existingTables(mst);
    for (const QString &name : OwnTables())
        if (!present.contains(name))
            return false;
    return Nz(mst.DCount(QStringLiteral("*"), QStringLiteral("M_BANK")), Variant(0)).toLong() > 0;
}

std::optional<Name> Bank(clsData &mst, const QString &bankCode)
{
    Recordset rs = mst.GetFwdOnlyRst(Sql(R"(SELECT BANK_NM, BANK_KANA FROM M_BANK WHERE BANK_CD=:bank)")
                                         .text(QStringLiteral("bank"), bankCode));
    if (rs.EOF_())
        return std::nullopt;
    return Name{textOf(rs, QStringLiteral("BANK_NM")), textOf(rs, QStringLiteral("BANK_KANA"))};
}

std::optional<Name> Branch(clsData &mst, const QString &bankCode, const QString &branchCode)
{
    Recordset rs = mst.GetFwdOnlyRst(Sql(R"(SELECT BR_NM, BR_KANA FROM M_BANK_BR WHERE BANK_CD=:bank AND BR_CD=:branch)")
                                         .text(QStringLiteral("bank"), bankCode)
                                         .text(QStringLiteral("branch"), branchCode));
    if (rs.EOF_())
        return std::nullopt;
    return Name{textOf(rs, QStringLiteral("BR_NM")), textOf(rs, QStringLiteral("BR_KANA"))};
}

Codes ProducerCodes(clsData &mst, qint32 fmrId)
{
    if (!existingTables(mst).contains(QStringLiteral("M_FMR_BANK")))
        return {};
    Recordset rs = mst.GetFwdOnlyRst(Sql(R"(SELECT BANK_CD, BR_CD FROM M_FMR_BANK WHERE FMR_ID=:fmr)")
                                         .number(QStringLiteral("fmr"), fmrId));
    if (rs.EOF_())
        return {};
    return {textOf(rs, QStringLiteral("BANK_CD")), textOf(rs, QStringLiteral("BR_CD"))};
}

QHash<qint32, Account> ProducerAccounts(clsData &mst)
{
    QHash<qint32, Account> accounts;
    Recordset rs = mst.GetFwdOnlyRst(QStringLiteral(R"(
        SELECT M_FMR_BANK.FMR_ID, M_FMR_BANK.BANK_CD, M_FMR_BANK.BR_CD, M_BANK.BANK_KANA, M_BANK_BR.BR_KANA
        FROM (M_FMR_BANK LEFT JOIN M_BANK ON M_BANK.BANK_CD=M_FMR_BANK.BANK_CD)
          LEFT JOIN M_BANK_BR ON (M_BANK_BR.BANK_CD=M_FMR_BANK.BANK_CD AND M_BANK_BR.BR_CD=M_FMR_BANK.BR_CD))"));
    for (; !rs.EOF_(); rs.MoveNext()) {
        Account a;
        a.codes = {textOf(rs, QStringLiteral("BANK_CD")), textOf(rs, QStringLiteral("BR_CD"))};
        a.bankKana = optionalText(rs, QStringLiteral("BANK_KANA"));
        a.branchKana = optionalText(rs, QStringLiteral("BR_KANA"));
        accounts.insert(rs.Fields(QStringLiteral("FMR_ID")).toLong(), a);
    }
    return accounts;
}

QString CheckCodes(const Codes &codes)
{
    if (codes.isEmpty())
        return QString();
    if (!digits(codes.bank, 4))
        return QStringLiteral("金融機関コードは4桁の数字で入力して下さい。");
    if (!digits(codes.branch, 3))
        return QStringLiteral("支店コードは3桁の数字で入力して下さい。");
    return QString();
}

void SaveProducerCodes(clsData &mst, qint32 fmrId, const Codes &codes)
{
    const QString problem = CheckCodes(codes);
    if (!problem.isEmpty())
        throw std::invalid_argument(problem.toStdString());
    mst.EXEC(Sql(R"(DELETE FROM M_FMR_BANK WHERE FMR_ID=:fmr)").number(QStringLiteral("fmr"), fmrId));
    if (codes.isEmpty())
        return;
    mst.EXEC(Sql(R"(INSERT INTO M_FMR_BANK (FMR_ID, BANK_CD, BR_CD) VALUES (:fmr, :bank, :branch))")
                 .number(QStringLiteral("fmr"), fmrId)
                 .text(QStringLiteral("bank"), codes.bank)
                 .text(QStringLiteral("branch"), codes.branch));
}

} // namespace BankMaster
