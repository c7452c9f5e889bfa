// Printing through a real CUPS server (the test command's private one): the receipt through a raw queue to a
// network printer, the reports through a driver queue that writes PDF, and the queue failures a shop meets.
#include "PrintFixture.h"

#include "base/Common.h"
#include "base/DateValue.h"
#include "printing/EscPos.h"
#include "printing/RawTransport.h"
#include "printing/SystemPrinters.h"
#include "printing/fdlSetPrintCopy.h"
#include "printing/modPrint.h"
#include "printing/modReport.h"
#include "support/NetworkPrinter.h"
#include "support/TestCups.h"

#include <QLineEdit>
#include <QPoint>
#include <QPushButton>
#include <cups/cups.h>

using namespace PrintFixture;

namespace {

const QString kReceiptQueue = QStringLiteral("Vantle-Receipt-Front");
const QString kReportQueue = QStringLiteral("Vantle-Report");

// Answers like the recording presenter, after doing what the operator does before answering.
struct ActingPresenter : RecordingPresenter
{
    std::function<void()> beforeAnswer;
    int ask(const QString &prompt, int flags, const QString &title) override
    {
        if (beforeAnswer)
            beforeAnswer();
        return RecordingPresenter::ask(prompt, flags, title);
    }
};

bool cups(const char *command, const QStringList &arguments)
{
    return TestCups::run(QString::fromLatin1(command), arguments);
}

// The shop's commands for its two printers.
bool addReceiptQueue(quint16 port)
{
    return cups("lpadmin", {"-p", kReceiptQueue, "-E", "-v", QStringLiteral("socket://127.0.0.1:%1/?waiteof=false").arg(port),
                            "-m", "raw"});
}

bool addReportQueue()
{
    return cups("lpadmin", {"-p", kReportQueue, "-E", "-v", "file:" + TestCups::outputFile("report.pdf"), "-P", VANTLE_TEST_PPD})
           && cups("lpadmin", {"-d", kReportQueue});
}

} // namespace

class TestCupsPrinting : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!TestCups::available())
            QSKIP("No CUPS server for the tests (scripts/with-test-cups.sh starts one).");
        QVERIFY(addReceiptQueue(m_printer.port()) && addReportQueue());
    }
    void init();
    void cleanup();
    void cleanupTestCase()
    {
        cups("lpadmin", {"-x", kReceiptQueue});
        cups("lpadmin", {"-x", kReportQueue});
    }

    void receiptThroughTheRawQueueAndItsFailures();
    void reportsThroughThePageQueueAndItsFailures();

private:
    int jobsOn(const QString &queue) const { return int(TestCups::jobs(queue).size()); }

    NetworkPrinter m_printer;
    std::unique_ptr<TestProgram> m_program;
    ActingPresenter m_messages;
};

void TestCupsPrinting::init()
{
    m_program = open();
    Printers::clearAdded();
    InstallSystemPrinters();
    for (const auto &[key, value] : {std::pair{"DEF_PRINTER", "vantle-report"}, {"DEF_RECEIPT", "VANTLE-RECEIPT"},
                                     {"DRAWER_OPEN", "1"}, {"PAPER_CUT", "1"}})
        gIni->SaveCtrl(QString::fromLatin1(key), Variant(QString::fromLatin1(value)));
    MessagePresenter::install(&m_messages);
    m_messages.clear();
    m_messages.beforeAnswer = nullptr;
}

void TestCupsPrinting::cleanup()
{
    RawTransport::setQueueWait(10000);
    Printers::setSystemSource({});
    close(m_program);
}

void TestCupsPrinting::reportsThroughThePageQueueAndItsFailures()
{
    gDb->EXEC(QStringLiteral("INSERT INTO D_ADJ (SALES_DATE, CHG_SUM, POST_SUM) VALUES (#2024-04-01 00:00:00#,45678,123456)"));
    gIni->SaveCtrl(QStringLiteral("DAILY_REPORT_PAPER_BIN"), Variant(QStringLiteral("2")));
    gRptKind = RptKind::DailyRpt;
    gRptDate = DateValue::fromParts(2024, 4, 1);
    const int before = jobsOn(kReportQueue);

    // The daily report in two copies from the manual feed, as the print dialog prints it.
    fdlSetPrintCopy dialog;
    dialog.Text1[2]->setText(QStringLiteral("2"));
    dialog.Command1[1]->click();
    QVERIFY(m_messages.shown().isEmpty());
    QVERIFY(TestCups::waitUntilIdle(kReportQueue));
    const QList<TestCups::Job> jobs = TestCups::jobs(kReportQueue).mid(before);
    QVERIFY(jobs.size() == 1 && jobs[0].title == QStringLiteral("日報") && jobs[0].state == IPP_JSTATE_COMPLETED);
    QCOMPARE(TestCups::jobAttribute(jobs[0].id, QStringLiteral("copies")), QStringLiteral("2"));
    QCOMPARE(TestCups::jobAttribute(jobs[0].id, QStringLiteral("InputSlot")), QStringLiteral("Manual"));
    // The report is laid out for the driver's 12-point border (4 mm), read from the server.
    qint32 x = 0, y = 0;
    SetDefPrinter();
    GetPrnOffset(Printer(), x, y);
    QCOMPARE(QPoint(x, y), QPoint(227, 227));

    // Stopped, then gone: the report says so and leaves no job behind.
    QVERIFY(cups("cupsdisable", {kReportQueue}));
    dialog.Command1[1]->click();
    QVERIFY(cups("cupsenable", {kReportQueue}));
    QCOMPARE(jobsOn(kReportQueue), before + 1);
    QVERIFY(cups("lpadmin", {"-x", kReportQueue}));
    dialog.Command1[1]->click();
    QVERIFY(addReportQueue());
    const QStringList said = m_messages.prompts();
    QVERIFY2(said.size() == 2 && said[0].startsWith(QStringLiteral("プリンタ Vantle-Report は停止しています")), qPrintable(said.join('|')));
    QCOMPARE(said[1], QStringLiteral("プリンタ Vantle-Report が見つかりません。"));
}

// Each failure asks the printer-error question: No tries again, Yes goes on without the receipt.
void TestCupsPrinting::receiptThroughTheRawQueueAndItsFailures()
{
    // The server's default queue is the current one, though not its first.
    QCOMPARE(Printers::currentName(), kReportQueue);
    sale(22, "1080", {{"トマト", "山田", "2", "400"}, {"なす", "鈴木", "3", "680"}});
    const QStringList question{QStringLiteral("プリンタが異常です。レシートを出力せずに精算を行いますか？")};
    qsizetype from = 0;
    int before = 0;
    const auto attempt = [&](int answer, std::function<void()> beforeAnswer) {
        from = m_printer.jobs().size();
        before = jobsOn(kReceiptQueue);
        m_messages.clear();
        m_messages.beforeAnswer = std::move(beforeAnswer);
        m_messages.queueAnswer(answer);
        PrintRcpt(22);
        QCOMPARE(m_messages.prompts(), question);
    };

    // A stopped queue takes no job (CUPS would keep it and print it when the queue starts again). The operator
    // starts the queue and tries again: drawer, slip and cut come out once, in order, as completed jobs.
    QVERIFY(cups("cupsdisable", {kReceiptQueue}));
    attempt(Msg::No, [] { QVERIFY(cups("cupsenable", {kReceiptQueue})); });
    QCOMPARE(m_messages.shown()[0].flags, Msg::YesNo | Msg::Exclamation);
    const QList<QByteArray> sent = m_printer.jobs().mid(from);
    QCOMPARE(sent.size(), 3);
    QVERIFY(sent[0].endsWith(EscPos::drawerKick()) && sent[2].endsWith(EscPos::feedAndCut()));
    QVERIFY(TestCups::waitUntilIdle(kReceiptQueue));
    const QList<TestCups::Job> retried = TestCups::jobs(kReceiptQueue).mid(before);
    QVERIFY(retried.size() == 3 && retried[0].title == QStringLiteral("レシート") && retried[2].state == IPP_JSTATE_COMPLETED);

    // A printer that refuses the connection: the job is given up after the wait and cancelled, so it cannot
    // come out later on top of the retry.
    m_printer.switchOff();
    RawTransport::setQueueWait(1500);
    attempt(Msg::No, [this] { m_printer.switchOn(); });
    QVERIFY(TestCups::waitUntilIdle(kReceiptQueue));
    QCOMPARE(m_printer.jobs().mid(from).size(), 3);
    const QList<TestCups::Job> jobs = TestCups::jobs(kReceiptQueue).mid(before);
    QCOMPARE(jobs.size(), 4);
    QCOMPARE(jobs[0].state, int(IPP_JSTATE_CANCELED));

    // A queue removed while the register runs: the operator goes on without the receipt.
    QVERIFY(cups("lpadmin", {"-x", kReceiptQueue}));
    attempt(Msg::Yes, nullptr);
    QCOMPARE(AppTitle(), QStringLiteral("Marveno"));
    QCOMPARE(m_printer.jobs().mid(from).size(), 0);
    QVERIFY(addReceiptQueue(m_printer.port()));
}

QTEST_MAIN(TestCupsPrinting)
#include "test_cups.moc"
