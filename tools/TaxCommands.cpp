#include "Commands.h"
#include "ToolProgram.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "tax/DayTax.h"
#include "tax/ProductRateImport.h"
#include "tax/SaleTax.h"

#include <QFile>
#include <QTextStream>
#include <cstdio>

// vantle-admin rates import FILE   products' own tax rates from a CSV file (product number, rate in percent)
// vantle-admin tax SALES_DATE      a day's sales and tax per rate, as charged, for the accountant

namespace {

QString describe(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return db->description();
    return QString::fromLocal8Bit(e.what());
}

QString yen(const Currency &amount)
{
    return Format::number(amount, QStringLiteral("#,##0"));
}

int importRates(const QString &path)
{
    ToolProgram program("rates");
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        program.complain(QStringLiteral("%1 を開けません: %2").arg(path, file.errorString()));
        return 1;
    }
    const QByteArray csv = file.readAll();
    if (!program.open())
        return 1;
    try {
        const ProductRateImport::Result result = ProductRateImport::Run(*gMst, csv);
        QTextStream out(stdout);
        for (const ProductRateImport::Refused &r : result.refused)
            out << QStringLiteral("取り込まない\t%1 行目\t%2\t%3\n").arg(r.line).arg(r.text, r.reason);
        out << QStringLiteral("税率を登録した商品 %1 件、店の税率に戻した商品 %2 件、取り込まなかった行 %3 行\n")
                   .arg(result.stored).arg(result.removed).arg(result.refused.size());
        return result.refused.isEmpty() ? 0 : 1;
    } catch (const std::exception &e) {
        program.complain(QStringLiteral("取り込めませんでした (何も変更していません): ") + describe(e));
        return 1;
    }
}

} // namespace

int runRates(const QStringList &args)
{
    if (args.size() != 2 || args.first() != u"import") {
        std::fputs("使い方: vantle-admin rates import FILE.csv   (1列目 商品コード、2列目 税率 %)\n", stderr);
        return 2;
    }
    return importRates(args.at(1));
}

int runTax(const QStringList &args)
{
    const auto date = args.size() == 1 ? DateValue::parse(args.first()) : std::nullopt;
    if (!date) {
        std::fputs("使い方: vantle-admin tax SALES_DATE   (売上日は YYYY-MM-DD)\n", stderr);
        return 2;
    }
    const double day = DateValue::dateOnly(*date);
    ToolProgram program("tax");
    if (!program.open())
        return 1;
    try {
        const DayTax tax = DayTax::Load(*gDb, day);
        QTextStream out(stdout);
        out << QStringLiteral("%1 の売上と消費税 (税込金額)\n").arg(Format::date(day, QStringLiteral("yyyy/mm/dd")));
        out << QStringLiteral("税率\t売上\t内消費税\t件数\n");
        for (const DayTax::Rate &r : tax.rates)
            out << QStringLiteral("%1\t%2\t%3\t%4\n").arg(SaleTax::PercentText(r.rate), yen(r.amount), yen(r.tax)).arg(r.sales);
        if (tax.unrecordedSales > 0)
            out << QStringLiteral("記録なし\t%1\t-\t%2\n").arg(yen(tax.unrecordedAmount)).arg(tax.unrecordedSales);
        out << QStringLiteral("合計\t%1\t%2\n").arg(yen(tax.amount()), yen(tax.tax()));
        if (tax.unrecordedSales > 0)
            out << QStringLiteral("記録なし: 税率を記録する前に登録された売上です (内消費税は合計に含みません)。\n");
        return 0;
    } catch (const std::exception &e) {
        program.complain(describe(e));
        return 1;
    }
}
