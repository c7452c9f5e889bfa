// The producers' sales notices: the day's sales of every register told to each producer, through a real mail
// server (TLS, login), one notice per slot across runs and machines, failures left for the next run.
#include "base/DateValue.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "notice/CurlMailSender.h"
#include "notice/MailAddress.h"
#include "notice/NoticeLog.h"
#include "notice/NoticeMessage.h"
#include "notice/NoticeRun.h"
#include "notice/NoticeTimes.h"
#include "notice/SmtpPassword.h"
#include "support/BothEngines.h"
#include "support/Rows.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// A real mail server: smtp_test_server.py (aiosmtpd) on 127.0.0.1 with TLS by a certificate it makes and a
// required login. It writes each message received as JSON: the envelope recipients, and subject, To header and
// body as the mail parser of Python decodes them.
class SmtpServer
{
public:
    static inline const QString User = QStringLiteral("notice-user"), Password = QStringLiteral("pa'ss wörd");

    ~SmtpServer() { stop(); }
    // On `port` (0: a free one), with the script's options: --tls (TLS from the first byte instead of STARTTLS),
    // --reject ADDRESS (that recipient is refused with 550).
    void start(const QStringList &options = {}, int port = 0)
    {
        stop();
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral("/usr/bin/python3"), QStringList{QStringLiteral(VANTLE_SMTP_TEST_SERVER),
                                                                        m_dir.path(), User, Password, QString::number(port)}
                                                                + options);
        while (!m_process.canReadLine() && m_process.waitForReadyRead(30000)) {
        }
        const QByteArray line = m_process.readLine().trimmed(); // "PORT n" once it listens
        if (!line.startsWith("PORT "))
            qFatal("the SMTP test server did not start: %s", line.constData());
        m_port = line.mid(5).toInt();
    }
    // Its port then stays closed: a server that is away.
    void stop()
    {
        m_process.terminate();
        m_process.waitForFinished(10000);
    }
    int port() const { return m_port; }
    QString caFile() const { return m_dir.filePath(QStringLiteral("cert.pem")); }

    // The messages received, in order; "rcpt" holds the envelope recipients joined with ",".
    QJsonArray received() const
    {
        QFile file(m_dir.filePath(QStringLiteral("received.json")));
        return file.open(QIODevice::ReadOnly) ? QJsonDocument::fromJson(file.readAll()).array() : QJsonArray();
    }
    QStringList recipients() const
    {
        QStringList to;
        for (const QJsonValue &m : received())
            to << m[u"rcpt"].toString();
        return to;
    }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
};

const QString kYamada = QStringLiteral("yamada@example.jp");
const QString kDarcy = QStringLiteral("d.arcy+farm@example.jp");

double at(int hour, int minute)
{
    return DateValue::fromParts(2024, 4, 1, hour, minute);
}

// A producer (Rows' name "O'Neil 農園") with a notice address.
void producer(int id, const QString &address, bool on = true)
{
    Rows::producer(id, "NULL", "NULL");
    gMst->EXEC(Sql(R"(INSERT INTO M_FMR_NTC (FMR_ID, NTC_ADRS, NTC_FLG) VALUES (:id, :adrs, :flg))")
                   .number("id", id).text("adrs", address).number("flg", on ? 1 : 0));
}

// The daily close copies the sales to the backup tables (B_) and deletes them; its undo copies them back.
void copySales(const char *from, const char *to)
{
    for (const char *table : {"REG", "REG_DTL"})
        gDb->EXEC(QStringLiteral("INSERT INTO %2_%3 SELECT * FROM %1_%3").arg(from, to, table));
}

void setShop(const QString &times, int port, bool tls)
{
    Rows::master("COM_NM", QStringLiteral("みのり'直売所"));
    Rows::master("NTC_TIMES", times);
    Rows::master("NTC_SMTP_SERVER", QStringLiteral("127.0.0.1"));
    Rows::master("NTC_SMTP_PORT", QString::number(port));
    Rows::master("NTC_SMTP_SEC", QString::number(int(tls)));
    Rows::master("NTC_FROM", QStringLiteral("shop@minori.example.jp"));
    Rows::master("NTC_USER", SmtpServer::User);
}

} // namespace

class TestNotice : public QObject
{
    Q_OBJECT

public:
    explicit TestNotice(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();

    void timesAddressesAndHeaders();
    void eachProducerGetsTheirOwnSalesOncePerSlot();
    void failuresAreLeftForTheNextRun();
    void twoMachinesAtOnceAndTheDryRun();

private:
    NoticeRun::Summary runAt(double now, bool tls = false)
    {
        m_program->clock().set(DateValue::toQDateTime(now));
        CurlMailSender sender({QStringLiteral("127.0.0.1"), m_smtp->port(),
                               tls ? NoticeSettings::Security::Tls : NoticeSettings::Security::StartTls,
                               SmtpServer::User, SmtpServer::Password, m_smtp->caFile()});
        return NoticeRun(*gDb, *gMst).send(now, sender, QStringLiteral("test"));
    }

    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
    std::unique_ptr<SmtpServer> m_smtp;
};

void TestNotice::init()
{
    m_smtp.reset();
    m_program.reset();
    m_program = TestProgram::opened(false, m_onServer, DateValue::toQDateTime(at(9, 0)));
    m_smtp = std::make_unique<SmtpServer>();
}

void TestNotice::timesAddressesAndHeaders()
{
    const auto times = NoticeTimes::parse(QStringLiteral("16:00、10:00 12:00,14:00 10:00"));
    QCOMPARE(times->text(), QStringLiteral("10:00,12:00,14:00,16:00"));
    QVERIFY(!times->dueAt(9 * 60 + 59));
    QCOMPARE(*times->dueAt(14 * 60 + 30), 840); // 12:00 was missed: only the latest slot is due
    for (const char *bad : {"10", "24:00", "9:60", "10:00;12:00"})
        QVERIFY2(!NoticeTimes::parse(QString::fromUtf8(bad)), bad);

    for (const char *bad : {"yamada", "a@b", "a b@c.jp", "a@b.jp, c@d.jp", "A <a@b.jp>", "a@b.jp\r\nBcc: x@y.jp"})
        QVERIFY2(!MailAddress::isValid(QString::fromUtf8(bad)), bad);

    // A name cannot add a header line, whatever it holds.
    const QByteArray raw = NoticeMessage::Compose({.shopName = QStringLiteral("直売所"),
                                                   .from = QStringLiteral("shop@minori.example.jp"),
                                                   .to = {45, QStringLiteral("山田\r\nBcc: evil@example.jp\r\n"), kYamada},
                                                   .sales = {}, .salesDate = at(0, 0), .slot = 600, .made = at(10, 5)})
                               .raw;
    QVERIFY(!raw.contains("evil@") && !raw.contains("\nBcc"));
    QVERIFY(raw.contains("\r\nTo: =?UTF-8?B?") && raw.contains(" <yamada@example.jp>\r\n"));
}

void TestNotice::eachProducerGetsTheirOwnSalesOncePerSlot()
{
    m_smtp->start();
    setShop(QStringLiteral("10:00,12:00,14:00,16:00"), m_smtp->port(), false);
    producer(45, kYamada);
    producer(7, kDarcy);
    Rows::producer(3, "NULL", "NULL");                        // no address
    producer(5, QStringLiteral("komatsu@example.jp"), false); // notices off
    const double day = at(0, 0);
    // One sale on each of two registers; the second takes one back.
    Rows::sale(1, day, {{45, "2", "596"}, {7, "2", "300"}, {3, "1", "100"}, {5, "1", "120"}});
    Rows::sale(2, day, {{45, "1", "298"}, {7, "-1", "-150"}});

    gDb->EXEC(QStringLiteral("DROP TABLE D_NTC")); // a database made before the notices: the run makes it
    QCOMPARE(runAt(at(10, 5)).sent, 2);
    QCOMPARE(m_smtp->recipients(), (QStringList{kDarcy, kYamada}));
    const QJsonObject darcy = m_smtp->received()[0].toObject(), yamada = m_smtp->received()[1].toObject();
    QCOMPARE(yamada[u"subject"].toString(), QStringLiteral("【みのり'直売所】売上のお知らせ 4月1日 10:00"));
    QCOMPARE(yamada[u"to"].toString(), QStringLiteral("O'Neil 農園 <yamada@example.jp>"));
    QVERIFY(yamada[u"body"].toString().startsWith(QStringLiteral("O'Neil 農園 様\r\n")));
    QVERIFY(yamada[u"body"].toString().contains(QStringLiteral("\r\n・Farmer's なす　3点　894円\r\n\r\n合計　3点　894円\r\n")));
    QVERIFY(yamada[u"body"].toString().contains(QStringLiteral("作成日時: 2024年4月1日(月) 10時05分")));
    // Each producer sees their own sales only, returns taken off.
    QVERIFY(darcy[u"body"].toString().contains(QStringLiteral("\r\n・Farmer's なす　1点　150円\r\n\r\n合計　1点　150円\r\n")));

    // A machine whose clock is behind still sees the 10:00 notice when it tries a later slot with the same
    // sales: no second notice of the same sales. The slot again: nothing more.
    QCOMPARE(NoticeLog::ClaimSlot(*gDb, day, 720, 45, kYamada, DaySales::Read(*gDb, day).value(45), at(10, 6),
                                  QStringLiteral("other")),
             NoticeLog::Claim::Taken);
    QCOMPARE(runAt(at(10, 40)).sent, 0);

    // The day is closed and a register still on it sells once more: at 14:30 (12:00 passes unseen) the 14:00
    // notice tells the closed sales and the new one, only to the producer who sold since.
    copySales("D", "B");
    gDb->EXEC(QStringLiteral("DELETE FROM D_REG_DTL"));
    gDb->EXEC(QStringLiteral("DELETE FROM D_REG"));
    Rows::sale(3, day, {{45, "1", "298"}});
    QCOMPARE(runAt(at(14, 30)).sent, 1);
    QCOMPARE(m_smtp->recipients().mid(2), QStringList{kYamada});
    QVERIFY(m_smtp->received()[2][u"body"].toString().contains("合計　4点　1,192円"));
    // The close is undone (the sales are back in D_REG, their copies stay in B_REG): still counted once.
    copySales("B", "D");
    Rows::sale(4, day, {{7, "2", "300"}});
    QCOMPARE(runAt(at(16, 5)).sent, 1);
    QCOMPARE(m_smtp->recipients().mid(3), QStringList{kDarcy});
    QVERIFY(m_smtp->received()[3][u"body"].toString().contains("合計　3点　450円"));
    QCOMPARE(Rows::count(QStringLiteral("D_NTC"), QStringLiteral("NTC_STATE=1 AND NTC_SLOT<>720")), 4);
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestNotice::failuresAreLeftForTheNextRun()
{
    // TLS from the first byte this time; the server is away at the first run.
    m_smtp->start({QStringLiteral("--tls")});
    const int port = m_smtp->port();
    m_smtp->stop();
    setShop(QStringLiteral("10:00"), port, true);
    producer(7, kDarcy);
    producer(8, QStringLiteral("bad@example.jp, boss@example.jp"));
    producer(9, QStringLiteral("crash@example.jp"));
    producer(45, kYamada);
    const double day = at(0, 0);
    Rows::sale(1, day, {{7, "1", "150"}, {8, "1", "298"}, {9, "1", "298"}, {45, "1", "298"}});
    // A run that died after claiming producer 9's notice left its claim: that slot never goes to 9 again.
    gDb->EXEC(Sql(R"(INSERT INTO D_NTC (SALES_DATE, NTC_SLOT, FMR_ID, NTC_STATE, LINE_CNT, LAST_REG_ID)
                     VALUES (:day, 600, 9, 0, 0, 0))").date("day", day));

    NoticeRun::Summary s = runAt(at(10, 5), true);
    QVERIFY(s.sent == 0 && s.failed == 2 && !s.stopped.isEmpty());
    QCOMPARE(m_program->logLines().filter(QStringLiteral("売上通知: 生産者 7 O'Neil 農園 <%1> に送信できません: ").arg(kDarcy)).size(), 1);

    // Back on the same port, refusing one mailbox: the others still go; the wrong address and the crashed
    // claim get nothing, and the refused one is left for the next run.
    m_smtp->start({QStringLiteral("--tls"), QStringLiteral("--reject"), kDarcy}, port);
    s = runAt(at(10, 10), true);
    QVERIFY(s.sent == 1 && s.failed == 1);
    QCOMPARE(m_smtp->recipients(), QStringList{kYamada});
    QCOMPARE(m_program->logLines().filter(QStringLiteral("(SMTP 550)")).size(), 1);
    m_smtp->start({QStringLiteral("--tls")}, port);
    QCOMPARE(runAt(at(10, 15), true).sent, 1);
    QCOMPARE(m_smtp->recipients(), (QStringList{kYamada, kDarcy}));
}

void TestNotice::twoMachinesAtOnceAndTheDryRun()
{
    // The commands read the system clock: slot 0:00 is due at any time of the day.
    if (QTime::currentTime() > QTime(23, 59))
        QSKIP("the day ends during the test");
    const double today = DateValue::fromQDate(QDate::currentDate());
    constexpr int producers = 30;
    m_smtp->start();
    setShop(QStringLiteral("0:00"), m_smtp->port(), false);
    for (int id = 1; id <= producers; ++id) {
        producer(id, QStringLiteral("p%1@example.jp").arg(id));
        Rows::sale(id, today, {{id, "1", "100"}});
    }
    // The password file is refused while others may read it.
    QFile password(m_program->path(QStringLiteral("smtp-password")));
    QVERIFY(password.open(QIODevice::WriteOnly) && password.write(SmtpServer::Password.toUtf8() + '\n') > 0);
    password.close();
    password.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    QString problem;
    QVERIFY(SmtpPassword::Read(password.fileName(), &problem).isEmpty());
    QCOMPARE(problem, QStringLiteral("パスワードファイル %1 は所有者以外も読み書きできます。chmod 600 %1 としてください。")
                          .arg(password.fileName()));
    password.setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    const QString admin = qEnvironmentVariable("VANTLE_ADMIN");

    // The dry run shows every notice that would go, and sends and records nothing.
    QProcess dry;
    dry.start(admin, {QStringLiteral("notify"), QStringLiteral("--dry-run")});
    QVERIFY(dry.waitForFinished(120000));
    const QString out = QString::fromUtf8(dry.readAllStandardOutput() + dry.readAllStandardError());
    QVERIFY2(dry.exitCode() == 0 && out.contains(QStringLiteral("送信予定 %1 件").arg(producers)), qPrintable(out));
    QVERIFY(out.contains(QStringLiteral("==== 生産者 7 O'Neil 農園 <p7@example.jp>: 送信")));
    QVERIFY(out.contains(QStringLiteral("・Farmer's なす　1点　100円")));
    QVERIFY(m_smtp->received().isEmpty());
    QCOMPARE(Rows::count(QStringLiteral("D_NTC")), 0);

    // Two machines run at the same moment: every producer gets exactly one notice.
    QProcess machines[2];
    for (QProcess &machine : machines)
        machine.start(admin, {QStringLiteral("notify"), QStringLiteral("--ca-file"), m_smtp->caFile()});
    for (QProcess &machine : machines)
        QVERIFY2(machine.waitForFinished(120000) && machine.exitCode() == 0, machine.readAllStandardError().constData());
    QStringList got = m_smtp->recipients();
    QCOMPARE(got.size(), producers);
    QCOMPARE(got.removeDuplicates(), 0);
}

VANTLE_TEST_BOTH_ENGINES(TestNotice)

#include "test_notice.moc"
