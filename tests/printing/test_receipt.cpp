// The receipt printer and the receipt: the printer choice, ESC/POS bytes and the slip's raster;
// the receipt of a stored sale checked against reviewed dumps of what is drawn (with the day's lines, the form
// as it was before invoices, the invoice with two rates), its logos, a receipt that fails half-way, and a
// network receipt printer's bytes.
#include "PrintFixture.h"

#include "base/Common.h"
#include "printing/EscPos.h"
#include "printing/ReceiptSurface.h"
#include "printing/modPrint.h"
#include "support/NetworkPrinter.h"
#include "support/Rows.h"
#include "tax/RegistrationNumber.h"
#include "tax/SaleTaxRows.h"

#include <QImage>

using namespace PrintFixture;
using Rows::local;
using Rows::master;

class TestReceipt : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_program = open();
        local("DRAWER_OPEN", "0");
        local("PAPER_CUT", "0");
        master("COM_NM", "みのり直売所");
    }
    void cleanup() { close(m_program); }

    void printerChoiceByTenCharacters();
    void escposCommandsRasterAndTheReceiptJob();
    void receiptWithTheDaysLines();
    void receiptsBeforeAndWithInvoices();
    void logosInsteadOfTheName();
    void aFailedReceiptIsThrownAway();
    void receiptOverTcp();

private:
    RecordingSurface &receipts() { return recorder(kReceiptPrinter, Printers::Role::Receipt); }
    // The receipt's dump as printed now.
    QString printed(int regId)
    {
        RecordingSurface &slips = receipts();
        slips.clear();
        PrintRcpt(regId);
        for (const auto &job : slips.jobs())
            if (job.title == QStringLiteral("レシート") && job.texts.size() > 1)
                return FormDump::of(job);
        return QString();
    }
    std::unique_ptr<TestProgram> m_program;
};

// The first ten characters of the name choose the printer, case-blind (the CUPS test's queues are chosen so):
// a short name is padded with blanks, so "Office" matches "OFFICE" but not "Offic"; no match keeps the printer.
void TestReceipt::printerChoiceByTenCharacters()
{
    const auto surface = [] { return std::make_unique<RecordingSurface>(true); };
    for (const char *name : {"ReceiptPrinter-Front", "RECEIPTPRINTER-Back"})
        Printers::add({QString::fromLatin1(name), {}, surface});
    Printers::add({QStringLiteral("Office"), surface, {}});
    local("DEF_RECEIPT", "receiptprinter-somewhere-else");
    SetRcptPrinter();
    QCOMPARE(Printers::currentName(), QStringLiteral("ReceiptPrinter-Front")); // the first match wins
    local("DEF_PRINTER", "OFFICE");
    SetDefPrinter();
    QCOMPARE(Printers::currentName(), QStringLiteral("Office"));
    local("DEF_PRINTER", "Offic");
    SetDefPrinter();
    QCOMPARE(Printers::currentName(), QStringLiteral("Office"));

    // Without any printer nothing happens; the drawer cannot open.
    Printers::clearAdded();
    SetDefPrinter();
    SetRcptPrinter();
    QVERIFY(!Printers::hasCurrent());
    QVERIFY_THROWS_EXCEPTION(PrinterError, OpenDrawer());
}

void TestReceipt::escposCommandsRasterAndTheReceiptJob()
{
    QCOMPARE(EscPos::drawerKick(), bytes({0x1b, 0x70, 0x00, 25, 250}));
    QCOMPARE(EscPos::feedAndCut(), bytes({0x1d, 0x56, 66, 3}));
    QCOMPARE(EscPos::storedLogo(3), bytes({0x1c, 0x70, 3, 0}));
    QCOMPARE(EscPos::controlCommand(u'A'), EscPos::drawerKick());
    QCOMPARE(EscPos::controlCommand(u'P'), EscPos::feedAndCut());
    QCOMPARE(EscPos::controlCommand(u'G'), EscPos::storedLogo(1));
    QCOMPARE(EscPos::controlCommand(u'K'), EscPos::storedLogo(5));
    QVERIFY(EscPos::controlCommand(u'L').isEmpty() && EscPos::controlCommand(u'a').isEmpty());

    // 300 rows of 576 dots: bands of 128, 128 and 44 rows, 72 bytes a row, the first dot in the high bit.
    QImage image(576, 300, QImage::Format_Grayscale8);
    image.fill(255);
    image.setPixel(0, 0, 0);
    image.setPixel(575, 299, 0);
    image.setPixel(9, 130, 100);
    const QByteArray r = EscPos::raster(image, 0, 300);
    const int band = 8 + 72 * 128;
    QCOMPARE(r.size(), 2 * band + 8 + 72 * 44);
    QCOMPARE(r.left(8), bytes({0x1d, 0x76, 0x30, 0, 72, 0, 128, 0}));
    QCOMPARE(uchar(r[8]), uchar(0x80));
    QCOMPARE(r.mid(band, 8), bytes({0x1d, 0x76, 0x30, 0, 72, 0, 128, 0}));
    QCOMPARE(uchar(r[band + 8 + 2 * 72 + 1]), uchar(0x40)); // row 130, dot 9
    QCOMPARE(r.mid(2 * band, 8), bytes({0x1d, 0x76, 0x30, 0, 72, 0, 44, 0}));
    QCOMPARE(uchar(r[r.size() - 1]), uchar(0x01));

    QList<ReceiptSurface::Job> sent;
    ReceiptSurface s([&](const ReceiptSurface::Job &job) { sent.append(job); });
    s.EndDoc(); // nothing drawn, nothing sent
    s.setFontName(QStringLiteral("control"));
    s.Print(QStringLiteral("H"));
    s.setFontName(QStringLiteral("Japanese22"));
    s.Print(QStringLiteral("領 収 書"));
    s.Line(0, s.CurrentY + 100, 4026, s.CurrentY + 100);
    s.EndDoc();
    QCOMPARE(sent.size(), 1);
    const ReceiptSurface::Job &job = sent[0];
    QCOMPARE(job.slip.width(), 576);
    // Reset, the logo where it was printed (before any raster), then the raster of the slip: bands of 72 bytes
    // a row, nothing outside the 576 dots.
    QVERIFY(job.bytes.startsWith(bytes({0x1b, 0x40, 0x1c, 0x70, 2, 0, 0x1d, 0x76, 0x30, 0, 72, 0})));
    int rows = 0;
    for (qsizetype at = job.bytes.indexOf(bytes({0x1d, 0x76, 0x30, 0})); at >= 0;
         at = job.bytes.indexOf(bytes({0x1d, 0x76, 0x30, 0}), at + 8)) {
        QCOMPARE(uchar(job.bytes[at + 4]), uchar(72));
        rows += uchar(job.bytes[at + 6]) + 256 * uchar(job.bytes[at + 7]);
    }
    QVERIFY(rows > 50);
    QCOMPARE(job.bytes.size(), 6 + (rows + 127) / 128 * 8 + rows * 72);

    // A job thrown away sends nothing.
    s.Print(QStringLiteral("途中"));
    s.KillDoc();
    s.EndDoc();
    QCOMPARE(sent.size(), 1);
}

// Changed prices, a line without producer, numbers too long for their field (printed whole), the old date, the
// flower of the day and a message too long for the slip (shrunk).
void TestReceipt::receiptWithTheDaysLines()
{
    local("DRAWER_OPEN", "1");
    local("PAPER_CUT", "1");
    master("TAX_RT", "0.08");
    master("PRINT_OLD_DATE", "1");
    master("PRINT_FWD", "1");
    gMst->EXEC(QStringLiteral("INSERT INTO L_FWD (MD, NM, WD1) VALUES (401, 'さくら', '精神美')"));
    master("RCPT_MSG1", "毎度ありがとうございます");
    master("RCPT_MSG3", "営業時間は午前九時から午後五時まで、毎週水曜日は定休日です。またのお越しを");
    sale(5, "1080", {{"トマト", "山田", "2", "400"}, {"なす", "鈴木", "1", "120", "100", "-20"},
                     {"きゅうり", "", "1", "70", "100", "30"}, {"苗", "田中", "1000", "123456"}});

    const QString dump = printed(5);
    QCOMPARE(Printers::currentName(), kPagePrinter);
    QCOMPARE(dump, reviewed("receipt_days_lines.txt", dump));
    // Drawer first, then the receipt, then the cut, each its own job (their bytes below).
    QCOMPARE(receipts().jobs().size(), 3);
}

// A shop without a registration number and with one rate: the form as it was before invoices existed.
void TestReceipt::receiptsBeforeAndWithInvoices()
{
    master("TAX_RT", "0.1");
    master("RCPT_MSG2", "毎度ありがとうございます");
    sale(6, "1000", {{"米", "山田", "1", "1200"}, {"花束", "鈴木", "1", "450", "500", "50"}, {"米", "山田", "-1", "-650"}},
         "1000", "0");
    // A sale stored before its tax was kept: the tax of its total at the shop's rate.
    const QString dump = printed(6);
    QCOMPARE(dump, reviewed("receipt_single_rate.txt", dump));
    // Stored with its tax at 10 %, the same receipt after the shop's rate became 8 % and with a registration
    // number that is no valid one.
    SaleTaxRows::Insert(*gDb, 6, SaleTax::Split({{1, 1, Currency::fromInt(1200)}, {2, 1, Currency::fromInt(450)},
                                                 {3, 1, Currency::fromInt(-650)}},
                                                [](qint32) { return Rows::money("0.1"); }));
    master("TAX_RT", "0.08");
    master(RegistrationNumber::Key, "T7123456789013");
    QCOMPARE(printed(6), dump);

    // Food at 8 % (marked) and flowers at 10 %, one bunch taken back. Per rate its total and its tax, each cut
    // once: 1,300 holds 118 (line by line 90 + 45 - 18 = 117), 390 holds 28 (three times 9 = 27). Printed again
    // after the rates changed it shows what was charged.
    master(RegistrationNumber::Key, "T7123456789012");
    master("RCPT_MSG2", QString());
    sale(7, "1690", {{"トマト", "山田", "1", "130"}, {"トマト", "山田", "1", "130"}, {"トマト", "山田", "1", "130"},
                     {"花束", "山田", "1", "1000"}, {"苗", "山田", "1", "500"}, {"花束", "山田", "-1", "-200"}},
         "2000", "310");
    QList<SaleTax::Line> charged;
    for (const auto &[no, prd, amount] : {std::tuple{1, 1, 130}, {2, 1, 130}, {3, 1, 130}, {4, 2, 1000}, {5, 2, 500}, {6, 2, -200}})
        charged.append({no, prd, Currency::fromInt(amount)});
    SaleTaxRows::Insert(*gDb, 7, SaleTax::Split(charged, [](qint32 prdId) { return Rows::money(prdId == 2 ? "0.1" : "0.08"); }));
    const QString invoice = printed(7);
    QCOMPARE(invoice, reviewed("receipt_two_rates.txt", invoice));

    master("TAX_RT", "0.1");
    gMst->EXEC(QStringLiteral("INSERT INTO M_PRD_TAX (PRD_ID, TAX_RT) VALUES (2, 0.08)"));
    QCOMPARE(printed(7), invoice);
}

// No drawer, no cut, no sale: one job, the logo's command character instead of the shop's name, the title and
// the rule. Without the cut the receipt printer stays current, for the caller to switch back.
void TestReceipt::logosInsteadOfTheName()
{
    local("PRINT_LOGO", "1");
    local("PRINT_LOGO_NO", "2");
    PrintRcpt(99);
    QCOMPARE(receipts().jobs().size(), 1);
    QCOMPARE(FormDump::of(receipts().jobs()[0]), QStringLiteral("T 567.00 0.00 control 11.00 H\n"
                                                                "T 1132.85 237.00 Japanese22 22.00 領 収 書\n"
                                                                "L 0.00 880.10 4026.00 880.10 1 2 0\n"));
    QCOMPARE(Printers::currentName(), kReceiptPrinter);
}

// A message that fits the slip at no size fails the receipt after everything else is drawn: the operator is
// told, and the slip is thrown away so that the next receipt starts clean.
void TestReceipt::aFailedReceiptIsThrownAway()
{
    sale(8, "400", {{"トマト", "山田", "2", "400"}});
    master("RCPT_MSG1", QString(600, u'普'));
    PrintRcpt(8);
    QCOMPARE(m_program->messages().shown().size(), 1);
    QCOMPARE(m_program->messages().shown()[0].title, QStringLiteral("プリンタエラー"));
    QVERIFY(m_program->messages().prompts()[0].endsWith(QStringLiteral("(380)")));
    QVERIFY(!receipts().pending());
    QVERIFY(receipts().jobs().isEmpty());
    QCOMPARE(AppTitle(), QStringLiteral("Marveno"));

    master("RCPT_MSG1", QString());
    PrintRcpt(8);
    QCOMPARE(receipts().jobs().size(), 1);
    QCOMPARE(FormDump::of(receipts().jobs()[0]).count(QStringLiteral(" トマト(山田)\n")), 1);
}

void TestReceipt::receiptOverTcp()
{
    NetworkPrinter printer;
    qputenv("VANTLE_RECEIPT_DEVICES", QStringLiteral("Network Receipt=socket://127.0.0.1:%1").arg(printer.port()).toUtf8());
    Printers::reload();
    local("DEF_RECEIPT", "network receipt");
    local("PAPER_CUT", "1");
    local("DRAWER_OPEN", "1");
    sale(8, "400", {{"トマト", "山田", "2", "400"}});

    OpenDrawer();
    PrintRcpt(8);
    QVERIFY(printer.waitForJobs(4));
    const QList<QByteArray> jobs = printer.jobs();
    const QByteArray kick = bytes({0x1b, 0x40, 0x1b, 0x70, 0x00, 25, 250});
    QCOMPARE(jobs[0], kick);
    QCOMPARE(jobs[1], kick);
    QVERIFY(jobs[2].startsWith(bytes({0x1b, 0x40, 0x1d, 0x76, 0x30, 0, 72, 0})) && jobs[2].size() > 72 * 200);
    QCOMPARE(jobs[3], bytes({0x1b, 0x40, 0x1d, 0x56, 66, 3}));
    QVERIFY(m_program->messages().shown().isEmpty());
}

QTEST_MAIN(TestReceipt)
#include "test_receipt.moc"
