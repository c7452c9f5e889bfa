#include "Commands.h"
#include "ToolProgram.h"

#include "base/DateValue.h"
#include "base/Format.h"
#include "base/TerminalProgress.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/BankImport.h"
#include "payment/PayStatementForm.h"
#include "payment/TransferFile.h"
#include "payment/ZenginCodeData.h"
#include "printing/PainterSurface.h"
#include "printing/modReport.h"

#include <QTextStream>
#include <cstdio>
#include <optional>

// vantle-admin banks import [DIR]             the bank master from the zengin-code package
// vantle-admin zengin CLS_DATE [-o FILE]      the banks' transfer file of a payment closing
// vantle-admin statement CLS_DATE [FMR_ID] [-o FILE]   payment statements as one PDF

namespace {

QString describe(const std::exception &e)
{
    if (const auto *db = dynamic_cast<const DbError *>(&e))
        return db->description();
    return QString::fromLocal8Bit(e.what());
}

std::optional<double> closingDate(const QString &text)
{
    const auto date = DateValue::parse(text);
    if (!date)
        return std::nullopt;
    return DateValue::dateOnly(*date);
}

// Takes "-o FILE" out of the arguments; false when -o has no file.
bool takeOutput(QStringList &args, QString &output)
{
    const qsizetype at = args.indexOf(QStringLiteral("-o"));
    if (at < 0)
        return true;
    if (at + 1 >= args.size())
        return false;
    output = args.at(at + 1);
    args.remove(at, 2);
    return true;
}

QString yen(const Currency &amount)
{
    return Format::number(amount, QStringLiteral("#,##0")) + QStringLiteral("円");
}

int importBanks(const QStringList &args)
{
    ToolProgram program("banks");
    const QString dir = ZenginCodeData::FindPackage(args.value(0));
    if (dir.isEmpty()) {
        program.complain(QStringLiteral("zengin-code のデータが見つかりません (npm install zengin-code の後、そのフォルダを指定して下さい)"));
        return 1;
    }
    QString problem;
    const auto data = ZenginCodeData::Read(dir, &problem);
    if (!data) {
        program.complain(problem);
        return 1;
    }
    if (!program.open())
        return 1;
    try {
        const BankImport::Result result = BankImport::Run(*gMst, *data);
        QTextStream out(stdout);
        out << QStringLiteral("%1 から銀行 %2 件、支店 %3 件を取り込みました。\n").arg(dir).arg(result.banks).arg(result.branches);
        for (const auto &p : result.proposed)
            out << QStringLiteral("提案\t%1\t%2\t%3 %4\t%5-%6\n").arg(p.producer.fmrId).arg(p.producer.name, p.producer.bankName,
                                                                 p.producer.branchName, p.bankCode, p.branchCode);
        for (const auto &u : result.undecided)
            out << QStringLiteral("要確認\t%1\t%2\t%3 %4\t%5\n").arg(u.producer.fmrId).arg(u.producer.name, u.producer.bankName,
                                                                u.producer.branchName, u.reason);
        out << QStringLiteral("コードを登録した生産者 %1 名、確認が必要な生産者 %2 名\n").arg(result.proposed.size()).arg(result.undecided.size());
        return 0;
    } catch (const std::exception &e) {
        program.complain(QStringLiteral("取り込めませんでした (何も変更していません): ") + describe(e));
        return 1;
    }
}

} // namespace

int runBanks(const QStringList &args)
{
    if (args.value(0) != u"import" || args.size() > 2) {
        std::fputs("使い方: vantle-admin banks import [DIR]\n", stderr);
        return 2;
    }
    return importBanks(args.mid(1));
}

int runZengin(const QStringList &arguments)
{
    QStringList args = arguments;
    QString output;
    const auto date = takeOutput(args, output) && args.size() == 1 ? closingDate(args.first()) : std::nullopt;
    if (!date) {
        std::fputs("使い方: vantle-admin zengin CLS_DATE [-o FILE]   (締日は YYYY-MM-DD)\n", stderr);
        return 2;
    }
    ToolProgram program("zengin");
    if (!program.open())
        return 1;
    try {
        const TransferFile file = TransferFile::Build(*gDb, *gMst, *date);
        QTextStream out(stdout);
        for (const TransferExclusion &x : file.excluded)
            out << QStringLiteral("除外\t%1\t%2\t%3\t%4\n").arg(x.fmrId).arg(x.fmrName, yen(x.amount), x.reason);
        for (const QString &note : file.notes)
            out << QStringLiteral("注意\t%1\n").arg(note);
        out.flush();
        if (output.isEmpty())
            output = TransferFile::DefaultFileName(*date);
        QString problem;
        if (!file.Write(output, &problem)) {
            program.complain(problem);
            return 1;
        }
        out << QStringLiteral("%1: %2 件 %3、振込指定日 %4、除外 %5 件\n")
                   .arg(output).arg(file.count).arg(yen(file.total), Format::date(file.payDate, QStringLiteral("yyyy/mm/dd")))
                   .arg(file.excluded.size());
        return 0;
    } catch (const std::exception &e) {
        program.complain(describe(e));
        return 1;
    }
}

int runStatement(const QStringList &arguments)
{
    QStringList args = arguments;
    QString output;
    const bool shape = takeOutput(args, output) && (args.size() == 1 || args.size() == 2);
    const auto date = shape ? closingDate(args.first()) : std::nullopt;
    bool idOk = true;
    const qint32 fmrId = args.size() == 2 ? args.at(1).toInt(&idOk) : 0;
    if (!date || !idOk || fmrId < 0) {
        std::fputs("使い方: vantle-admin statement CLS_DATE [FMR_ID] [-o FILE.pdf]   (締日は YYYY-MM-DD)\n", stderr);
        return 2;
    }
    ToolProgram program("statement");
    if (!program.open())
        return 1;
    try {
        const PayStatementSet set = PayStatementSet::Load(*gDb, *gMst, *date, fmrId);
        if (!set.error.isEmpty()) {
            program.complain(set.error);
            return 1;
        }
        if (output.isEmpty())
            output = QStringLiteral("MEISAI_") + Format::date(*date, QStringLiteral("yyyymmdd"))
                + (fmrId > 0 ? QStringLiteral("_%1").arg(fmrId, 4, 10, QChar(u'0')) : QString()) + QStringLiteral(".pdf");
        double left = 0, top = 0;
        gRptKind = RptKind::BankTrn;
        ReadMargins(RptKind::BankTrn, left, top);
        PdfSurface pdf(output);
        TerminalProgress progress(QStringLiteral("支払明細書を作成中"));
        PayStatementForm::PrintAll(pdf, float(left), float(top), set, progress);
        pdf.Close();
        progress.finish();
        QTextStream(stdout) << QStringLiteral("%1: %2 名の支払明細書\n").arg(output).arg(set.statements.size());
        return 0;
    } catch (const std::exception &e) {
        program.complain(describe(e));
        return 1;
    }
}
