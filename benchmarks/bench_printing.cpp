// What printing costs at the register: a 30-line receipt drawn, turned into ESC/POS raster and handed to the
// printer (the drawer must open as the operator presses Enter: goal under 30 ms); the daily report on the preview
// and as a PDF; a 100-line transfer request (five pages) as a PDF.
// Usage: bench_printing [folder]  — with a folder, the receipt (bytes and PNG) and the PDFs are left there.
#include "app/InitObj.h"
#include "base/DateValue.h"
#include "base/MessagePresenter.h"
#include "base/Variant.h"
#include "data/Globals.h"
#include "data/ProgramFolder.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "printing/BankTransfer.h"
#include "printing/DailyReport.h"
#include "printing/PainterSurface.h"
#include "printing/Printers.h"
#include "printing/ReceiptSurface.h"
#include "printing/modPrint.h"
#include "printing/modReport.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

void fillSale(int regId, int lines)
{
    gDb->Begintrans();
    gDb->EXEC(QStringLiteral("INSERT INTO D_REG (REG_ID, REG_NO, REG_DTM, SALES_DATE, REG_USER, DTL_CNT, AMT_SUM, RCV, CHG) "
                             "VALUES (%1,%1,#2024-04-01 10:12:00#,#2024-04-01 00:00:00#,'佐藤',%2,%3,%4,%5)")
                  .arg(regId).arg(lines).arg(lines * 150).arg(lines * 150 + 1000).arg(1000));
    const char *names[] = {"トマト", "きゅうり", "なす", "ほうれん草", "朝採れとうもろこし", "新玉ねぎ"};
    const char *farmers[] = {"山田", "鈴木", "田中", "佐々木農園"};
    for (int i = 1; i <= lines; ++i)
        gDb->EXEC(QStringLiteral("INSERT INTO D_REG_DTL (REG_ID, DTL_NO, BCD, PRD_ID, BCD_NM, FMR_ID, FMR_NM, O_PRC, D_PRC, PRC, "
                                 "QTY, UNIT_ID, AMT) VALUES (%1,%2,'2000000000000',1,'%3',1,'%4',%5,%6,%7,1,1,%7)")
                      .arg(regId).arg(i).arg(QString::fromUtf8(names[i % 6]), QString::fromUtf8(farmers[i % 4]))
                      .arg(150).arg(i % 7 == 0 ? -20 : (i % 5 == 0 ? 30 : 0)).arg(i % 7 == 0 ? 170 : (i % 5 == 0 ? 120 : 150)));
    gDb->CommitTrans();
}

void fillDay()
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, CHG_SUM, POST_SUM, CHG_01, CHG_02, CHG_03, CHG_04, CHG_05, CHG_06, "
                             "CHG_07, CHG_08, CHG_09, CHG_10) VALUES (#2024-04-01 00:00:00#,35000,128450,1,2,NULL,10,4,15,6,20,8,10)"));
    gDb->Begintrans();
    for (int i = 1; i <= 100; ++i)
        gDb->EXEC(QStringLiteral("INSERT INTO D_PAY_DTL (CLS_DATE, PAY_DATE, FMR_ID, PAY_AMT, BANK_NM, BR_NM, ACC_KBN, ACC_NO, "
                                 "ACC_NM, BANK_FEE, REAL_AMT) VALUES (#2024-03-31 00:00:00#,#2024-04-10 00:00:00#,%1,%2,"
                                 "'みのり農業協同組合','本店','普通','%3','ﾉｳｶ ﾀﾛｳ%4',%5,%6)")
                      .arg(i).arg(10000 + i * 137).arg(1000000 + i).arg(i).arg(i % 3 ? 220 : 440)
                      .arg(10000 + i * 137 - (i % 3 ? 220 : 440)));
    gDb->CommitTrans();
}

template <typename F>
std::vector<double> times(int runs, F &&run)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms;
}

void report(const char *what, const std::vector<double> &ms)
{
    std::printf("%-58s median %7.2f ms   min %7.2f   max %7.2f   (%zu runs)\n", what, ms[ms.size() / 2], ms.front(),
                ms.back(), ms.size());
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir home, prints;
    const QString out = argc > 1 ? QDir(QString::fromLocal8Bit(argv[1])).absolutePath() : prints.path();
    QDir().mkpath(out);
    qputenv("VANTLE_HOME", home.path().toUtf8());
    qputenv("VANTLE_PRINT_DIR", out.toUtf8());
    RecordingPresenter quiet;
    MessagePresenter::install(&quiet);
    if (const QString problem = ProgramFolder::create(home.path(), true); !problem.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(problem));
        return 1;
    }
    InitObj();
    fillSale(1, 30);
    fillDay();

    // A receipt printer that takes the bytes and does nothing with them: drawing and encoding alone.
    qint64 sent = 0;
    Printers::add({QStringLiteral("BenchReceipt"), {}, [&sent] {
                       return std::make_unique<ReceiptSurface>([&sent](const ReceiptSurface::Job &job) { sent += job.bytes.size(); });
                   }});
    gIni->SaveCtrl(QStringLiteral("DEF_PRINTER"), Variant(Printers::VirtualPageName));
    gIni->SaveCtrl(QStringLiteral("DEF_RECEIPT"), Variant(QStringLiteral("BenchReceipt")));
    PrintRcpt(1); // fonts and caches warm
    sent = 0;
    const auto receipt = times(30, [] { PrintRcpt(1); });
    report("receipt, 30 lines: draw + ESC/POS (drawer, slip, cut)", receipt);
    std::printf("%-58s %lld bytes\n", "  bytes sent per receipt", static_cast<long long>(sent / 30));

    gIni->SaveCtrl(QStringLiteral("DEF_RECEIPT"), Variant(Printers::VirtualReceiptName));
    const auto receiptFile = times(5, [] { PrintRcpt(1); });
    report("receipt, 30 lines, virtual printer (bytes + PNG files)", receiptFile);

    const double day = DateValue::fromParts(2024, 4, 1);
    gRptKind = RptKind::DailyRpt;
    const auto preview = times(20, [day] {
        PictureSurface picture(QSize(760, 900));
        PrintDailyRpt(picture, 567, 567, day);
        picture.image();
    });
    report("daily report on the preview picture", preview);
    const auto dailyPdf = times(5, [day] {
        SetDefPrinter();
        PrintDailyRpt(Printer(), 567, 567, day);
    });
    report("daily report to the virtual PDF printer", dailyPdf);

    gRptKind = RptKind::BankTrn;
    LoadTrnData(DateValue::fromParts(2024, 3, 31));
    int run = 0;
    const auto transfer = times(5, [&] {
        PdfSurface document(QDir(out).filePath(QStringLiteral("振込依頼書_100行_%1.pdf").arg(++run)));
        PrintBankTrn(document, 567, 567);
        document.Close();
    });
    report("transfer request, 100 lines (5 pages) to one PDF", transfer);
    std::printf("output in %s\n", qPrintable(out));
    ReleaseObj();
    return 0;
}
