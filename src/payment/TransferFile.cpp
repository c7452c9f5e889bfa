#include "payment/TransferFile.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "base/Variant.h"
#include "data/Recordset.h"
#include "data/Sql.h"
#include "data/clsData.h"
#include "payment/ZenginKana.h"
#include "payment/ZenginRecord.h"

#include <QDate>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>

namespace {

constexpr qint64 kMaxAmount = Q_INT64_C(9999999999); // ten digits

QString textOf(const Recordset &rs, const QString &field)
{
    const Variant v = rs.Fields(field);
    return v.isNull() || v.isEmpty() ? QString() : v.toString();
}

Currency moneyOf(const Recordset &rs, const QString &field)
{
    const Variant v = rs.Fields(field);
    return v.isNull() || v.isEmpty() ? Currency() : v.toCurrency();
}

// Kana of the master in bank form; a name the conversion refuses is left blank (the field is only a help
// for the bank's staff, the codes decide).
QString bankForm(const QString &kana)
{
    return ZenginKana::convert(kana).value_or(QString());
}

// The account number as seven digits' worth: blanks and hyphens people type are dropped.
std::optional<QString> accountDigits(const QString &text)
{
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,7}$"));
    QString s = text.normalized(QString::NormalizationForm_KC);
    s.remove(u' ');
    s.remove(u'-');
    if (!digits.match(s).hasMatch())
        return std::nullopt;
    return s;
}

// Why the payee cannot be sent, or "" when it can; fills the data record.
QString check(const TransferPayee &p, ZenginRecord::Data &d, QStringList &notes)
{
    if (p.amount <= Currency())
        return QStringLiteral("振込額が0円以下です");
    if (!p.amount.isWhole())
        return QStringLiteral("振込額に円未満の端数があります");
    if (p.amount.wholePart() > kMaxAmount)
        return QStringLiteral("振込額が10桁を超えます");
    if (p.codes.isEmpty())
        return QStringLiteral("金融機関コード・支店コードが登録されていません");
    if (!p.bankKana)
        return QStringLiteral("金融機関コード %1 が銀行マスタにありません").arg(p.codes.bank);
    if (!p.branchKana)
        return QStringLiteral("支店コード %1-%2 が銀行マスタにありません").arg(p.codes.bank, p.codes.branch);
    d.accountKind = TransferFile::AccountKindCode(p.accountKind);
    if (d.accountKind == 0)
        return QStringLiteral("口座種別「%1」を判別できません").arg(p.accountKind);
    const auto number = accountDigits(p.accountNo);
    if (!number)
        return QStringLiteral("口座番号「%1」が7桁以内の数字ではありません").arg(p.accountNo);
    QChar failed;
    const auto name = ZenginKana::convert(p.accountName, &failed);
    if (!name)
        return QStringLiteral("口座名義「%1」の「%2」をカナにできません").arg(p.accountName, QString(failed));
    if (name->isEmpty())
        return QStringLiteral("口座名義がありません");
    if (name->size() > 30)
        notes << QStringLiteral("%1 %2: 口座名義を30文字までで送ります").arg(p.fmrId).arg(p.fmrName);
    d.bankCode = p.codes.bank;
    d.bankName = bankForm(*p.bankKana);
    d.branchCode = p.codes.branch;
    d.branchName = bankForm(*p.branchKana);
    d.accountNo = *number;
    d.name = *name;
    d.amount = p.amount.wholePart();
    d.customerCode = p.fmrId;
    return QString();
}

} // namespace

int TransferFile::AccountKindCode(const QString &text)
{
    QString s = text.normalized(QString::NormalizationForm_KC).trimmed();
    s.remove(u' ');
    const QString kana = ZenginKana::convert(s).value_or(QString());
    const auto is = [&](std::initializer_list<const char *> words) {
        for (const char *w : words) {
            const QString word = QString::fromUtf8(w);
            if (s == word || kana == word || (word.size() > 1 && s.startsWith(word)))
                return true;
        }
        return false;
    };
    if (is({"1", "普通", "普", "総合", "ﾌﾂｳ"}))
        return 1;
    if (is({"2", "当座", "当", "ﾄｳｻﾞ"}))
        return 2;
    if (is({"4", "貯蓄", "ﾁﾖﾁｸ"}))
        return 4;
    return 0;
}

TransferFile TransferFile::Compose(const ShopAccount &shop, const QString &bankKana, const QString &branchKana,
                                   double payDate, const QList<TransferPayee> &payees)
{
    TransferFile file;
    file.payDate = payDate;
    QChar failed;
    const auto clientName = ZenginKana::convert(shop.clientName, &failed);
    if (!clientName) {
        file.error = QStringLiteral("振込依頼人名「%1」の「%2」をカナにできません。").arg(shop.clientName, QString(failed));
        return file;
    }
    const QDate date = DateValue::toQDate(payDate);
    ZenginRecord::Header header{shop.clientCode, *clientName, date.month(), date.day(), shop.bankCode,
                                bankForm(bankKana), shop.branchCode, bankForm(branchKana), shop.kindCode(),
                                shop.accountNo};
    file.lineEnds = shop.lineEnds;
    QList<QByteArray> records{ZenginRecord::header(header)};
    QList<TransferPayee> ordered = payees;
    std::sort(ordered.begin(), ordered.end(), [](const auto &a, const auto &b) { return a.fmrId < b.fmrId; });
    qint64 total = 0;
    for (const TransferPayee &p : ordered) {
        ZenginRecord::Data d;
        const QString reason = check(p, d, file.notes);
        if (!reason.isEmpty()) {
            file.excluded.append({p.fmrId, p.fmrName, p.amount, reason});
            continue;
        }
        records << ZenginRecord::data(d);
        total += d.amount;
        ++file.count;
    }
    if (file.count == 0) {
        file.error = QStringLiteral("振込できる生産者がありません。");
        return file;
    }
    file.total = Currency::fromInt(total);
    records << ZenginRecord::trailer(file.count, total) << ZenginRecord::end();
    file.records = records;
    return file;
}

QByteArray TransferFile::bytes() const
{
    const QByteArray separator = lineEnds ? QByteArrayLiteral("\r\n") : QByteArray();
    QByteArray all;
    all.reserve(records.size() * (ZenginRecord::Length + separator.size()));
    for (const QByteArray &r : records)
        all += r + separator;
    return all;
}

TransferFile TransferFile::Build(clsData &db, clsData &mst, double closingDate)
{
    TransferFile refused;
    const auto refuse = [&refused](const QString &why) {
        refused.error = why;
        return refused;
    };
    Recordset pay = db.GetFwdOnlyRst(Sql(R"(SELECT PAY_DATE FROM D_PAY WHERE CLS_DATE=:cls)").date(QStringLiteral("cls"), closingDate));
    if (pay.EOF_())
        return refuse(Format::date(closingDate, QStringLiteral("yyyy年m月d日")) + QStringLiteral("締の支払締処理がありません。"));
    const double payDate = pay.Fields(QStringLiteral("PAY_DATE")).toDate();
    if (!BankMaster::IsImported(mst))
        return refuse(QStringLiteral("銀行マスタが取り込まれていません。vantle-admin banks import で取り込んで下さい。"));
    const ShopAccount shop = ShopAccount::Read(mst);
    if (!shop.problems().isEmpty())
        return refuse(QStringLiteral("振込依頼人情報（設定メニューの振込依頼人）が不足しています: ") + shop.problems().join(QStringLiteral("、")));
    const auto bank = BankMaster::Bank(mst, shop.bankCode);
    const auto branch = BankMaster::Branch(mst, shop.bankCode, shop.branchCode);
    if (!bank || !branch)
        return refuse(QStringLiteral("振込依頼人の金融機関コード %1-%2 が銀行マスタにありません。").arg(shop.bankCode, shop.branchCode));

    QHash<qint32, QString> names;
    for (Recordset rs = mst.GetFwdOnlyRst(QStringLiteral("SELECT FMR_ID, FMR_NM FROM M_FMR")); !rs.EOF_(); rs.MoveNext())
        names.insert(rs.Fields(0).toLong(), textOf(rs, QStringLiteral("FMR_NM")));
    const QHash<qint32, BankMaster::Account> accounts = BankMaster::ProducerAccounts(mst);
    QList<TransferPayee> payees;
    Recordset rs = db.GetFwdOnlyRst(Sql(R"(SELECT FMR_ID, REAL_AMT, ACC_KBN, ACC_NO, ACC_NM FROM D_PAY_DTL WHERE CLS_DATE=:cls)")
                                        .date(QStringLiteral("cls"), closingDate));
    for (; !rs.EOF_(); rs.MoveNext()) {
        TransferPayee p;
        p.fmrId = Nz(rs.Fields(QStringLiteral("FMR_ID")), 0).toLong();
        p.fmrName = names.value(p.fmrId);
        p.amount = moneyOf(rs, QStringLiteral("REAL_AMT"));
        const BankMaster::Account account = accounts.value(p.fmrId);
        p.codes = account.codes;
        p.bankKana = account.bankKana;
        p.branchKana = account.branchKana;
        p.accountKind = textOf(rs, QStringLiteral("ACC_KBN"));
        p.accountNo = textOf(rs, QStringLiteral("ACC_NO"));
        p.accountName = textOf(rs, QStringLiteral("ACC_NM"));
        payees.append(p);
    }
    return Compose(shop, bank->kana, branch->kana, payDate, payees);
}

bool TransferFile::Write(const QString &path, QString *problem) const
{
    const auto fail = [problem](const QString &why) {
        if (problem)
            *problem = why;
        return false;
    };
    if (!ok() || records.isEmpty())
        return fail(error.isEmpty() ? QStringLiteral("書き出す振込データがありません。") : error);
    const QByteArray content = bytes();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(QStringLiteral("%1 に書き込めません: %2").arg(path, file.errorString()));
    if (file.write(content) != content.size() || !file.commit())
        return fail(QStringLiteral("%1 に書き込めません: %2").arg(path, file.errorString()));
    return true;
}

QString TransferFile::DefaultFileName(double closingDate)
{
    return QStringLiteral("FURIKOMI_") + Format::date(closingDate, QStringLiteral("yyyymmdd")) + QStringLiteral(".txt");
}
