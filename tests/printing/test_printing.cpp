// Printers, the text placement of every form and the receipt printer's bytes (the printers that write files
// are those the day-in-the-life test prints on).
#include "PrintFixture.h"

#include "base/Common.h"
#include "printing/EscPos.h"
#include "printing/PrintText.h"
#include "printing/ReceiptSurface.h"
#include "printing/modPrint.h"

#include <QImage>

using namespace PrintFixture;

class TestPrinting : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_program = open(); }
    void cleanup() { close(m_program); }

    void printTextPlacesAndShrinks();
    void printerChoiceByTenCharacters();
    void escposCommandsAndRaster();
    void receiptSurfaceJob();

private:
    std::unique_ptr<TestProgram> m_program;
};

// A field keeps 14 twips free on either side: left text starts 14 in, right text ends 28 before the end.
void TestPrinting::printTextPlacesAndShrinks()
{
    RecordingSurface s;
    PrintText(s, 0, 100, QStringLiteral("1,080"), 1, 12, 4025.7f);
    PrintText(s, 500, 0, QStringLiteral("左"), 0, 12, 2000);
    PrintText(s, 500, 0, QStringLiteral("中央"), 2, 12, 2000);
    QVERIFY(qAbs(s.current().texts[0].x + s.TextWidth(QStringLiteral("1,080")) - 3997.7) < 0.01);
    QCOMPARE(s.current().texts[1].x, 514.0);
    QCOMPARE(s.current().texts[2].x, 500 + (1972 - s.TextWidth(QStringLiteral("中央"))) / 2);
    // Other alignments keep the horizontal position; the position moves to the next line afterwards.
    s.CurrentX = 777;
    PrintText(s, 0, 50, QStringLiteral("x"), 7, 12, 2000);
    QCOMPARE(s.current().texts.last().x, 777.0);
    QCOMPARE(s.CurrentX, 0.0);
    QVERIFY(s.CurrentY > 50);

    // A text too wide at 12 pt is printed at the largest whole size that fits, and the size is set back.
    const QString longName = QStringLiteral("ＪＡみのり農業協同組合　本店営業部");
    PrintText(s, 0, 0, longName, 0, 12, 2000);
    const double shrunk = s.current().texts.last().size;
    QCOMPARE(s.FontSize(), 12.0);
    s.setFontSize(shrunk);
    QVERIFY(s.TextWidth(longName) <= 1972);
    s.setFontSize(shrunk + 1);
    QVERIFY(s.TextWidth(longName) > 1972);
    // A field of exactly 28 twips does not shrink; a narrower one shrinks until the size is refused.
    PrintText(s, 0, 0, longName, 0, 12, 28);
    QCOMPARE(s.current().texts.last().size, 12.0);
    QVERIFY_THROWS_EXCEPTION(PrinterError, PrintText(s, 0, 0, longName, 0, 12, 20));
}

void TestPrinting::printerChoiceByTenCharacters()
{
    Printers::add({QStringLiteral("ReceiptPrinter-Front"), {}, [] { return std::make_unique<RecordingSurface>(true); }});
    Printers::add({QStringLiteral("RECEIPTPRINTER-Back"), {}, [] { return std::make_unique<RecordingSurface>(true); }});
    Printers::add({QStringLiteral("Office"), [] { return std::make_unique<RecordingSurface>(true); }, {}});

    // Only the first ten characters count, case-blind; the first match in the list wins.
    gIni->SaveCtrl(QStringLiteral("DEF_RECEIPT"), Variant(QStringLiteral("receiptprinter-somewhere-else")));
    SetRcptPrinter();
    QCOMPARE(Printers::currentName(), QStringLiteral("ReceiptPrinter-Front"));
    QCOMPARE(Printers::currentRole(), Printers::Role::Receipt);
    // A short name is padded with blanks: "Office" matches "OFFICE" but not "Office 2".
    gIni->SaveCtrl(QStringLiteral("DEF_PRINTER"), Variant(QStringLiteral("OFFICE")));
    SetDefPrinter();
    QCOMPARE(Printers::currentName(), QStringLiteral("Office"));
    // No match: the current printer stays.
    gIni->SaveCtrl(QStringLiteral("DEF_PRINTER"), Variant(QStringLiteral("Offic")));
    SetDefPrinter();
    QCOMPARE(Printers::currentName(), QStringLiteral("Office"));
    const QStringList log = m_program->logLines();
    QCOMPARE(log.filter(QStringLiteral("プリンタをレシートに設定")).size(), 1);
    QCOMPARE(log.filter(QStringLiteral("プリンタを規定に設定")).size(), 2);

    // Without any printer nothing happens, not even a log line.
    Printers::clearAdded();
    QVERIFY(!Printers::hasCurrent());
    SetDefPrinter();
    SetRcptPrinter();
    QCOMPARE(m_program->logLines().size(), log.size());
    QVERIFY_THROWS_EXCEPTION(PrinterError, OpenDrawer());
}

void TestPrinting::escposCommandsAndRaster()
{
    QCOMPARE(EscPos::drawerKick(), bytes({0x1b, 0x70, 0x00, 25, 250}));
    QCOMPARE(EscPos::feedAndCut(), bytes({0x1d, 0x56, 66, 3}));
    QCOMPARE(EscPos::storedLogo(3), bytes({0x1c, 0x70, 3, 0}));
    QCOMPARE(EscPos::controlCommand(u'A'), EscPos::drawerKick());
    QCOMPARE(EscPos::controlCommand(u'P'), EscPos::feedAndCut());
    QCOMPARE(EscPos::controlCommand(u'G'), EscPos::storedLogo(1));
    QCOMPARE(EscPos::controlCommand(u'K'), EscPos::storedLogo(5));
    QVERIFY(EscPos::controlCommand(u'L').isEmpty());
    QVERIFY(EscPos::controlCommand(u'a').isEmpty());

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
}

void TestPrinting::receiptSurfaceJob()
{
    QList<ReceiptSurface::Job> sent;
    ReceiptSurface s([&](const ReceiptSurface::Job &job) { sent.append(job); });
    // Nothing drawn, nothing sent.
    s.EndDoc();
    QVERIFY(sent.isEmpty());

    SetAppTitle(QStringLiteral("レシート"));
    s.setFontName(QStringLiteral("control"));
    s.Print(QStringLiteral("H"));
    s.setFontName(QStringLiteral("Japanese22"));
    s.Print(QStringLiteral("領 収 書"));
    s.Line(0, s.CurrentY + 100, 4026, s.CurrentY + 100);
    s.EndDoc();
    SetAppTitle(kProductTitle);
    QCOMPARE(sent.size(), 1);
    const ReceiptSurface::Job &job = sent[0];
    QCOMPARE(job.title, QStringLiteral("レシート"));
    // Reset, the logo where it was printed (before any raster), then the raster of the slip.
    QVERIFY(job.bytes.startsWith(bytes({0x1b, 0x40, 0x1c, 0x70, 2, 0, 0x1d, 0x76, 0x30, 0, 72, 0})));
    QVERIFY(!job.slip.isNull());
    QCOMPARE(job.slip.width(), 576);
    // The raster holds black dots, and nothing outside the 576 dots.
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

QTEST_MAIN(TestPrinting)
#include "test_printing.moc"
