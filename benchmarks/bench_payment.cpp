// The bank's transfer file and the payment statements of one closing of 1,500 producers (four sales days
// each): building and writing the file, loading the statements and drawing them all into one PDF.
#include "app/InitObj.h"
#include "base/DateValue.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/SqlDialect.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/BankImport.h"
#include "payment/PayStatementForm.h"
#include "payment/ShopAccount.h"
#include "payment/TransferFile.h"
#include "payment/ZenginCodeData.h"
#include "printing/PainterSurface.h"
#include "settlement/PayCls.h"
#include "support/RecordingSurface.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>

namespace {

constexpr int Producers = 1500;
constexpr int Days = 4;

// Twenty banks of fifty branches, in the package's shape.
ZenginCodeData banks()
{
    ZenginCodeData data;
    for (int b = 1; b <= 20; ++b) {
        const QString code = QStringLiteral("%1").arg(b, 4, 10, QChar(u'0'));
        data.banks.append({code, QStringLiteral("銀行%1").arg(b), QStringLiteral("ギンコウ")});
        for (int r = 1; r <= 50; ++r)
            data.branches.append({code, QStringLiteral("%1").arg(r, 3, 10, QChar(u'0')), QStringLiteral("支店%1").arg(r),
                                  QStringLiteral("シテン")});
    }
    return data;
}

void fill()
{
    BankImport::Run(*gMst, banks());
    const QList<std::pair<QString, const char *>> shop{
        {ShopAccount::ClientCodeKey, "1234567890"}, {ShopAccount::ClientNameKey, "ミノリチョクバイジョ"},
        {ShopAccount::BankCodeKey, "0001"},         {ShopAccount::BranchCodeKey, "001"},
        {ShopAccount::AccountKindKey, "1"},         {ShopAccount::AccountNoKey, "7654321"}};
    for (const auto &[key, value] : shop)
        gMst->SaveCtrl(key, Variant(QString::fromUtf8(value)));
    gMst->Begintrans();
    for (int id = 1; id <= Producers; ++id) {
        gMst->EXEC(QStringLiteral("INSERT INTO M_FMR (FMR_ID, FMR_NM, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, FEE_1, FEE_2) "
                                  "VALUES (%1, %2, '銀行', '支店', '普通', '%3', 'ヤマダ タロウ', 220, 440)")
                       .arg(id).arg(SqlDialect::text(QStringLiteral("生産者 %1").arg(id))).arg(id % 9999999));
        gMst->EXEC(QStringLiteral("INSERT INTO M_FMR_BANK (FMR_ID, BANK_CD, BR_CD) VALUES (%1, '%2', '%3')")
                       .arg(id).arg(id % 20 + 1, 4, 10, QChar(u'0')).arg(id % 50 + 1, 3, 10, QChar(u'0')));
    }
    gMst->CommitTrans();
    gDb->Begintrans();
    for (int d = 1; d <= Days; ++d)
        for (int id = 1; id <= Producers; ++id)
            gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ_DTL (SALES_DATE, FMR_ID, SALES_QTY, SALES_AMT) VALUES (%1, %2, %3, %4)")
                          .arg(SqlDialect::date(DateValue::fromParts(2024, 4, d * 7))).arg(id).arg(d + id % 7)
                          .arg(1000 + (id * 37 + d * 101) % 9000));
    gDb->CommitTrans();
    PayCls(*gDb, *gMst, DateValue::fromParts(2024, 4, 30), DateValue::fromParts(2024, 5, 10));
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    if (!ProgramFolder::create(dir.path(), false).isEmpty())
        return 1;
    qputenv("VANTLE_HOME", dir.path().toLocal8Bit());
    InitObj();
    fill();
    const double closing = DateValue::fromParts(2024, 4, 30);

    // Wall time, and the processor time of the program (the machine may be busy with other work).
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();
    const TransferFile file = TransferFile::Build(*gDb, *gMst, closing);
    const bool written = file.Write(dir.filePath(QStringLiteral("furikomi.txt")), nullptr);
    const qint64 fileMs = timer.restart();
    const PayStatementSet set = PayStatementSet::Load(*gDb, *gMst, closing);
    const qint64 loadMs = timer.restart();
    {
        PdfSurface pdf(dir.filePath(QStringLiteral("meisai.pdf")));
        PayStatementForm::PrintAll(pdf, 1134, 850, set);
        pdf.Close();
    }
    const qint64 pdfMs = timer.restart();
    const double cpuMs = double(std::clock() - cpuStart) * 1000.0 / CLOCKS_PER_SEC;
    {
        // The same pages measured and placed but not painted: what the form's layout costs alone.
        RecordingSurface layout;
        for (const PayStatement &s : set.statements)
            PayStatementForm::PrintPage(layout, 1134, 850, set, s, 1);
    }
    const qint64 layoutMs = timer.elapsed();
    std::printf("transfer file: %d records, %s, %lld ms\n", file.count, written ? "written" : "NOT WRITTEN", fileMs);
    std::printf("statements: %lld producers loaded in %lld ms, drawn into a %lld kB PDF in %lld ms\n",
                qint64(set.statements.size()), loadMs, QFileInfo(dir.filePath(QStringLiteral("meisai.pdf"))).size() / 1024, pdfMs);
    std::printf("(of which measuring and placing the texts: %lld ms)\n", layoutMs);
    std::printf("together: %lld ms, %.0f ms of processor time (goal: under 2000 ms)\n", fileMs + loadMs + pdfMs, cpuMs);
    ReleaseObj();
    return 0;
}
