// The receipt of a stored sale: what it says and where, its taxes and logos, a printer that fails, and a
// network receipt printer.
#include "PrintFixture.h"

#include "base/Common.h"
#include "printing/EscPos.h"
#include "printing/RawTransport.h"
#include "printing/modPrint.h"

#include <QDir>
#include <arpa/inet.h>
#include <atomic>
#include <mutex>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace PrintFixture;

namespace {

// A network receipt printer on 127.0.0.1: keeps the bytes of every connection.
class Listener
{
public:
    Listener()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(m_fd, reinterpret_cast<sockaddr *>(&a), sizeof a);
        socklen_t len = sizeof a;
        ::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &len);
        m_port = ntohs(a.sin_port);
        ::listen(m_fd, 8);
        m_thread = std::thread([this] { run(); });
    }
    ~Listener() { stop(); }
    // Takes no more connections: the port is closed.
    void stop()
    {
        if (m_stop.exchange(true))
            return;
        ::shutdown(m_fd, SHUT_RDWR);
        ::close(m_fd);
        m_thread.join();
    }
    quint16 port() const { return m_port; }
    QList<QByteArray> jobs()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_jobs;
    }
    bool waitForJobs(int n)
    {
        for (int i = 0; i < 500; ++i) {
            if (jobs().size() >= n)
                return true;
            QTest::qWait(10);
        }
        return false;
    }

private:
    void run()
    {
        while (!m_stop) {
            const int c = ::accept(m_fd, nullptr, nullptr);
            if (c < 0)
                return;
            QByteArray job;
            char buf[8192];
            for (ssize_t n; (n = ::recv(c, buf, sizeof buf, 0)) > 0;)
                job.append(buf, n);
            ::close(c);
            std::lock_guard<std::mutex> lock(m_mutex);
            m_jobs.append(job);
        }
    }
    int m_fd = -1;
    quint16 m_port = 0;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_mutex;
    QList<QByteArray> m_jobs;
};

} // namespace

class TestReceipt : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_program = open(); }
    void cleanup() { close(m_program); }

    void receiptOfAStoredSale();
    void receiptWithoutHeaderAndWithLogos();
    void receiptTaxAtTenPercent();
    void receiptPrinterErrorAsksAndRetries();
    void receiptOverTcp();

private:
    RecordingSurface &receipts() { return recorder(kReceiptPrinter, Printers::Role::Receipt); }
    const RecordingSurface::Job *receiptJob()
    {
        for (const auto &job : receipts().jobs())
            if (findText(job, QStringLiteral("領 収 書")))
                return &job;
        return nullptr;
    }
    std::unique_ptr<TestProgram> m_program;
};

void TestReceipt::receiptOfAStoredSale()
{
    gIni->SaveCtrl(QStringLiteral("DRAWER_OPEN"), Variant(QStringLiteral("1")));
    gIni->SaveCtrl(QStringLiteral("PAPER_CUT"), Variant(QStringLiteral("1")));
    gIni->SaveCtrl(QStringLiteral("PRINT_LOGO"), Variant(QStringLiteral("0")));
    gMst->SaveCtrl(QStringLiteral("COM_NM"), Variant(QStringLiteral("みのり直売所")));
    gMst->SaveCtrl(QStringLiteral("TAX_RT"), Variant(QStringLiteral("0.08")));
    gMst->SaveCtrl(QStringLiteral("RCPT_MSG1"), Variant(QStringLiteral("毎度ありがとうございます")));
    gMst->SaveCtrl(QStringLiteral("RCPT_MSG3"),
                   Variant(QStringLiteral("営業時間は午前九時から午後五時まで、毎週水曜日は定休日です。またのお越しを")));
    sale(5, QStringLiteral("1080"), QStringLiteral("佐藤"), QStringLiteral("2000"), QStringLiteral("920"));
    saleLine(5, 1, QStringLiteral("トマト"), QStringLiteral("山田"), QStringLiteral("2"), QStringLiteral("400"));
    saleLine(5, 2, QStringLiteral("なす"), QStringLiteral("鈴木"), QStringLiteral("1"), QStringLiteral("120"),
             QStringLiteral("100"), QStringLiteral("-20"));
    saleLine(5, 3, QStringLiteral("きゅうり"), QString(), QStringLiteral("1"), QStringLiteral("70"),
             QStringLiteral("100"), QStringLiteral("30"));
    saleLine(5, 4, QStringLiteral("苗"), QStringLiteral("田中"), QStringLiteral("1000"), QStringLiteral("123456"));

    PrintRcpt(5);
    QCOMPARE(AppTitle(), kProductTitle);
    QVERIFY(m_program->logLines().filter(QStringLiteral("精算レシート印刷")).size() == 1);
    // Drawer first, then the receipt, then the cut, each its own job; the report printer is current again.
    QCOMPARE(Printers::currentName(), kPagePrinter);
    const auto &jobs = receipts().jobs();
    QCOMPARE(jobs.size(), 3);
    QCOMPARE(textsOf(jobs[0]), QStringList{QStringLiteral("A")});
    QCOMPARE(jobs[0].texts[0].font, QStringLiteral("control"));
    QCOMPARE(textsOf(jobs[2]), QStringList{QStringLiteral("P")});
    const RecordingSurface::Job &r = jobs[1];
    QCOMPARE(r.title, QStringLiteral("レシート"));

    const QStringList texts = textsOf(r);
    QCOMPARE(texts.mid(0, 4), (QStringList{QStringLiteral("みのり直売所"), QStringLiteral("領 収 書"),
                                           QStringLiteral("2024年4月1日(月) 09時30分"), QStringLiteral("担当者: 佐藤")}));
    // Centred in the slip's width, the shop name in the big font.
    for (const QString &centred : {QStringLiteral("みのり直売所"), QStringLiteral("領 収 書")}) {
        const auto *t = findText(r, centred);
        QCOMPARE(t->size, 22.0);
        QVERIFY(qAbs(t->x + (rightEnd(*t) - t->x) / 2 - W / 2) <= 1);
    }
    QCOMPARE(findText(r, QStringLiteral("担当者: 佐藤"))->x, 0.0);

    // A line: name and producer at the left, quantity and amount ending at the slip's right edge on the same line.
    const auto *name = findText(r, QStringLiteral("トマト(山田)"));
    const auto *amounts = findText(r, QStringLiteral("  2ｹ   400"));
    QVERIFY(name && amounts);
    QCOMPARE(name->x, 0.0);
    QCOMPARE(amounts->y, name->y);
    QVERIFY(qAbs(rightEnd(*amounts) - W) < 0.01);
    QVERIFY(findText(r, QStringLiteral("きゅうり()")));
    // Changed prices: the old price, the kind and the difference, indented 1 cm.
    const int raised = int(texts.indexOf(QStringLiteral("[割増]")));
    QVERIFY(raised > 0);
    QCOMPARE(texts.mid(raised - 1, 3), (QStringList{QStringLiteral("  @100"), QStringLiteral("[割増]"), QStringLiteral("   @20")}));
    QCOMPARE(r.texts[raised - 1].x, 567.0);
    const int lowered = int(texts.indexOf(QStringLiteral("[値引]")));
    QCOMPARE(texts.mid(lowered - 1, 3), (QStringList{QStringLiteral("  @100"), QStringLiteral("[値引]"), QStringLiteral("  @-30")}));
    // Numbers too long for their field are printed whole, never cut to a wrong figure.
    QVERIFY(texts.contains(QStringLiteral("1,000ｹ123,456")));

    // Totals, tax (1,080 at 8 % holds 80), tendered and change.
    QVERIFY(texts.contains(QStringLiteral("合　計")));
    QVERIFY(texts.contains(QStringLiteral("  1004 点")));
    QVERIFY(texts.contains(QStringLiteral("   1,080")));
    QCOMPARE(findText(r, QStringLiteral("(内消費税 "))->x, 2154.6);
    QVERIFY(texts.contains(QStringLiteral("     80)")));
    QVERIFY(texts.contains(QStringLiteral("   2,000")));
    QVERIFY(texts.contains(QStringLiteral("     920")));
    // Blank-padded columns line up whatever the digits: "ｹ" and the amounts' first cells stand one above the other.
    const auto cellX = [&r](const QString &text, int at) {
        const auto *t = findText(r, text);
        RecordingSurface probe;
        probe.setFontName(t->font);
        probe.setFontSize(t->size);
        return t->x + probe.TextWidth(text.left(at));
    };
    for (const QString &line : {QStringLiteral("  1ｹ   120"), QStringLiteral("  1ｹ    70")})
        QCOMPARE(cellX(line, 3), cellX(QStringLiteral("  2ｹ   400"), 3));
    for (const QString &money : {QStringLiteral("   2,000"), QStringLiteral("     920")})
        QCOMPARE(cellX(money, 0), cellX(QStringLiteral("   1,080"), 0));
    // Rules are dotted, across the slip.
    QCOMPARE(r.strokes.size(), 3);
    for (const auto &rule : r.strokes) {
        QCOMPARE(rule.style, int(Surface::Dot));
        QCOMPARE(rule.x2, 4026.0);
    }
    // Messages at the bottom, left in the field of the slip; the long one shrunk to fit.
    const auto *msg = findText(r, QStringLiteral("毎度ありがとうございます"));
    QCOMPARE(msg->x, 14.0);
    QCOMPARE(msg->size, 12.0);
    const auto &last = r.texts.last();
    QVERIFY(last.text.startsWith(QStringLiteral("営業時間")));
    QVERIFY(last.size < 12);
    QVERIFY(rightEnd(last) <= W - 28);
    QVERIFY(last.y > msg->y);
}

void TestReceipt::receiptWithoutHeaderAndWithLogos()
{
    gIni->SaveCtrl(QStringLiteral("DRAWER_OPEN"), Variant(QStringLiteral("0")));
    gIni->SaveCtrl(QStringLiteral("PAPER_CUT"), Variant(QStringLiteral("0")));
    gIni->SaveCtrl(QStringLiteral("PRINT_LOGO"), Variant(QStringLiteral("1")));
    gIni->SaveCtrl(QStringLiteral("PRINT_LOGO_NO"), Variant(QStringLiteral("2")));
    PrintRcpt(99);
    // No drawer, no cut: one job. The logo's command character instead of the shop's name, then the title and
    // the rule; no sale.
    const auto &jobs = receipts().jobs();
    QCOMPARE(jobs.size(), 1);
    QCOMPARE(textsOf(jobs[0]), (QStringList{QStringLiteral("H"), QStringLiteral("領 収 書")}));
    QCOMPARE(jobs[0].texts[0].font, QStringLiteral("control"));
    QCOMPARE(jobs[0].texts[0].x, 567.0);
    QCOMPARE(jobs[0].strokes.size(), 1);
    // Without the cut the receipt printer stays current, for the caller to switch back.
    QCOMPARE(Printers::currentName(), kReceiptPrinter);

    receipts().clear();
    gIni->SaveCtrl(QStringLiteral("PRINT_LOGO_NO"), Variant(QStringLiteral("0")));
    PrintRcpt(99);
    QCOMPARE(textsOf(receipts().jobs().value(0)).value(0), QStringLiteral("領 収 書"));
}

void TestReceipt::receiptTaxAtTenPercent()
{
    gIni->SaveCtrl(QStringLiteral("DRAWER_OPEN"), Variant(QStringLiteral("0")));
    gMst->SaveCtrl(QStringLiteral("TAX_RT"), Variant(QStringLiteral("0.1")));
    sale(6, QStringLiteral("1000"));
    saleLine(6, 1, QStringLiteral("米"), QStringLiteral("山田"), QStringLiteral("1"), QStringLiteral("1000"));
    PrintRcpt(6);
    const QStringList texts = textsOf(*receiptJob());
    // 90.9 truncated.
    QVERIFY(texts.contains(QStringLiteral("     90)")));
    QVERIFY(texts.contains(QStringLiteral("     1 点")));
}

void TestReceipt::receiptPrinterErrorAsksAndRetries()
{
    // A receipt printer that cannot be reached.
    qputenv("VANTLE_RECEIPT_DEVICES", QByteArray("Broken=") + QDir(m_program->folder()).filePath("no/such/device").toUtf8());
    Printers::reload();
    gIni->SaveCtrl(QStringLiteral("DEF_RECEIPT"), Variant(QStringLiteral("Broken")));
    gIni->SaveCtrl(QStringLiteral("DRAWER_OPEN"), Variant(QStringLiteral("1")));
    sale(7, QStringLiteral("100"));
    // No: try again (drawer included); then Yes: go on without the receipt.
    m_program->messages().queueAnswer(Msg::No);
    m_program->messages().queueAnswer(Msg::Yes);
    PrintRcpt(7);
    const auto shown = m_program->messages().shown();
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown[0].prompt, QStringLiteral("プリンタが異常です。レシートを出力せずに精算を行いますか？"));
    QCOMPARE(shown[0].flags, Msg::YesNo | Msg::Exclamation);
    QCOMPARE(AppTitle(), kProductTitle);
    qunsetenv("VANTLE_RECEIPT_DEVICES");
}

void TestReceipt::receiptOverTcp()
{
    Listener printer;
    qputenv("VANTLE_RECEIPT_DEVICES", QStringLiteral("Network Receipt=socket://127.0.0.1:%1").arg(printer.port()).toUtf8());
    Printers::reload();
    QVERIFY(Printers::names().contains(QStringLiteral("Network Receipt")));
    gIni->SaveCtrl(QStringLiteral("DEF_RECEIPT"), Variant(QStringLiteral("network receipt")));
    gIni->SaveCtrl(QStringLiteral("PAPER_CUT"), Variant(QStringLiteral("1")));
    gIni->SaveCtrl(QStringLiteral("DRAWER_OPEN"), Variant(QStringLiteral("1")));
    sale(8, QStringLiteral("400"));
    saleLine(8, 1, QStringLiteral("トマト"), QStringLiteral("山田"), QStringLiteral("2"), QStringLiteral("400"));

    OpenDrawer();
    PrintRcpt(8);
    QVERIFY(printer.waitForJobs(4));
    const QList<QByteArray> jobs = printer.jobs();
    QCOMPARE(jobs[0], EscPos::initialize() + EscPos::drawerKick());
    QCOMPARE(jobs[1], EscPos::initialize() + EscPos::drawerKick());
    QVERIFY(jobs[2].startsWith(EscPos::initialize() + bytes({0x1d, 0x76, 0x30, 0, 72, 0})));
    QVERIFY(jobs[2].size() > 72 * 200);
    QCOMPARE(jobs[3], EscPos::initialize() + EscPos::feedAndCut());
    QVERIFY(m_program->messages().shown().isEmpty());
    qunsetenv("VANTLE_RECEIPT_DEVICES");

    // A printer that takes no connection is a printer failure, told as such.
    const quint16 closed = printer.port();
    printer.stop();
    try {
        RawTransport::send(QStringLiteral("socket://127.0.0.1:%1").arg(closed), QByteArray("x"), QString());
        QFAIL("sent to a closed port");
    } catch (const PrinterError &e) {
        QCOMPARE(e.description(), QStringLiteral("プリンタ 127.0.0.1:%1 に接続できません。").arg(closed));
    }
}

QTEST_MAIN(TestReceipt)
#include "test_receipt.moc"
