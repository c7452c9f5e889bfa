// The producers' sales notices: the day's sales of every register told to each producer, through a real mail
// server (TLS, login), one notice per slot across runs and machines, failures left for the next run.
#include "SmtpTestServer.h"
#include "base/DateValue.h"
#include "checkout/StoreSale.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "notice/CurlMailSender.h"
#include "notice/MailAddress.h"
#include "notice/NoticeMessage.h"
#include "notice/NoticeRun.h"
#include "notice/NoticeTimes.h"
#include "support/BothEngines.h"
#include "support/TestProgram.h"

#include <QFile>
#include <QProcess>
#include <QTest>

namespace {

const QString kShop = QStringLiteral("みのり'直売所");
const QString kTomato = QStringLiteral("完熟トマト 'Momotaro'");
const QString kHerb = QStringLiteral("O'Brien's ハーブ");
const QString kYamada = QStringLiteral("yamada@example.jp");
const QString kDarcy = QStringLiteral("d.arcy+farm@example.jp");
const QDate kDay(2024, 4, 1);

double at(int hour, int minute)
{
    return DateValue::fromParts(kDay.year(), kDay.month(), kDay.day(), hour, minute);
}

void producer(int id, const QString &name, const QString &address = QString(), bool on = true)
{
    gMst->EXEC(Sql(R"(INSERT INTO M_FMR (FMR_ID, FMR_NM) VALUES (:id, :nm))").number("id", id).text("nm", name));
    if (!address.isEmpty())
        gMst->EXEC(Sql(R"(INSERT INTO M_FMR_NTC (FMR_ID, NTC_ADRS, NTC_FLG) VALUES (:id, :adrs, :flg))")
                       .number("id", id)
                       .text("adrs", address)
                       .number("flg", on ? 1 : 0));
}

struct Line
{
    int fmr;
    QString name;
    const char *price;
    const char *qty;
};

// One sale stored as the register named `till` stores it.
void sell(const QString &till, const QList<Line> &lines, double salesDate)
{
    gIni->SaveCtrl(QStringLiteral("REG_USER"), till);
    RegRec reg;
    QList<DtlRec> stored;
    for (const Line &l : lines) {
        DtlRec d;
        d.DTL_NO = ++reg.DTL_CNT;
        d.BCD = QStringLiteral("4900000000017");
        d.BCD_NM = l.name;
        d.FMR_ID = l.fmr;
        d.O_PRC = d.PRC = *Currency::parse(QString::fromLatin1(l.price));
        d.QTY = *Currency::parse(QString::fromLatin1(l.qty));
        d.AMT = d.PRC * d.QTY;
        reg.AMT_SUM += d.AMT;
        stored << d;
    }
    reg.RCV = reg.AMT_SUM;
    StoreSale(reg, stored, salesDate, *gDb, *gIni);
}

// What the daily close does to the day's sales (they move to the backup tables), and what its undo does
// (they come back, their copies stay).
void closeDay(double salesDate, bool undo = false)
{
    static const char *const close[] = {
        "INSERT INTO B_REG SELECT D_REG.* FROM D_REG WHERE D_REG.SALES_DATE=:day",
        "INSERT INTO B_REG_DTL SELECT D_REG_DTL.* FROM D_REG_DTL LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID "
        "WHERE D_REG.SALES_DATE=:day",
        "DELETE D_REG_DTL.* FROM D_REG_DTL LEFT JOIN D_REG ON D_REG_DTL.REG_ID=D_REG.REG_ID WHERE D_REG.SALES_DATE=:day",
        "DELETE D_REG.* FROM D_REG WHERE D_REG.SALES_DATE=:day"};
    static const char *const reopen[] = {
        close[2], close[3], "INSERT INTO D_REG SELECT B_REG.* FROM B_REG WHERE B_REG.SALES_DATE=:day",
        "INSERT INTO D_REG_DTL SELECT B_REG_DTL.* FROM B_REG_DTL LEFT JOIN B_REG ON B_REG_DTL.REG_ID=B_REG.REG_ID "
        "WHERE B_REG.SALES_DATE=:day"};
    for (const char *statement : undo ? reopen : close)
        gDb->EXEC(Sql(QString::fromLatin1(statement)).date("day", salesDate));
}

void setShop(const QString &times, int port, bool tls)
{
    const QList<std::pair<QString, QString>> values{
        {QStringLiteral("COM_NM"), kShop}, {NoticeSettings::TimesKey, times},
        {NoticeSettings::ServerKey, QStringLiteral("127.0.0.1")}, {NoticeSettings::PortKey, QString::number(port)},
        {NoticeSettings::SecurityKey, tls ? QStringLiteral("1") : QStringLiteral("0")},
        {NoticeSettings::FromKey, QStringLiteral("shop@minori.example.jp")},
        {NoticeSettings::UserKey, SmtpTestServer::User}};
    for (const auto &[key, value] : values)
        gMst->SaveCtrl(key, value);
}

int rows(const QString &criteria)
{
    return gDb->DCount(QStringLiteral("*"), QStringLiteral("D_NTC"), criteria).toLong();
}

} // namespace

class TestNotice : public QObject
{
    Q_OBJECT

public:
    explicit TestNotice(bool onServer) : m_onServer(onServer) {}

private slots:
    void init();
    void cleanup();

    void timesAddressesAndHeaders();
    void eachProducerGetsTheirOwnSalesOncePerSlot();
    void failuresAreLeftForTheNextRun();
    void twoMachinesAtOnceAndTheDryRun();

private:
    NoticeRun::Summary runAt(double now, bool tls = false);

    bool m_onServer;
    std::unique_ptr<TestProgram> m_program;
    std::unique_ptr<SmtpTestServer> m_smtp;
};

void TestNotice::init()
{
    m_program = std::make_unique<TestProgram>(QDateTime(kDay, QTime(9, 0)));
    m_program->createDatabases(false, m_onServer);
    m_program->openAll();
    m_smtp = std::make_unique<SmtpTestServer>();
}

void TestNotice::cleanup()
{
    m_smtp.reset();
    m_program.reset();
}

NoticeRun::Summary TestNotice::runAt(double now, bool tls)
{
    m_program->clock().set(DateValue::toQDateTime(now));
    CurlMailSender sender({QStringLiteral("127.0.0.1"), m_smtp->port(),
                           tls ? NoticeSettings::Security::Tls : NoticeSettings::Security::StartTls,
                           SmtpTestServer::User, SmtpTestServer::Password, m_smtp->caFile()});
    return NoticeRun(*gDb, *gMst).send(now, sender, QStringLiteral("test"));
}

void TestNotice::timesAddressesAndHeaders()
{
    if (m_onServer)
        QSKIP("no database involved");
    const auto times = NoticeTimes::parse(QStringLiteral("16:00、10:00 12:00,14:00 10:00"));
    QVERIFY(times);
    QCOMPARE(times->text(), QStringLiteral("10:00,12:00,14:00,16:00"));
    QVERIFY(!times->dueAt(9 * 60 + 59));
    QCOMPARE(*times->dueAt(10 * 60), 600);
    QCOMPARE(*times->dueAt(14 * 60 + 30), 840); // 12:00 was missed: only the latest slot is due
    QCOMPARE(*times->dueAt(23 * 60 + 59), 960);
    QVERIFY(NoticeTimes::parse(QString())->isEmpty());
    for (const char *bad : {"10", "24:00", "9:60", "10:00;12:00", "10:00 noon"})
        QVERIFY2(!NoticeTimes::parse(QString::fromUtf8(bad)), bad);

    QVERIFY(MailAddress::isValid(kYamada) && MailAddress::isValid(kDarcy));
    for (const char *bad : {"", "yamada", "a@b", "a@@b.jp", ".a@b.jp", "a..b@c.jp", "a@-b.jp", "a b@c.jp",
                            "a@b.jp, c@d.jp", "A <a@b.jp>", "a@b.jp\r\nBcc: x@y.jp", "a@b.jp\n", "山田@example.jp"})
        QVERIFY2(!MailAddress::isValid(QString::fromUtf8(bad)), bad);

    // A name cannot add a header line, whatever it holds; long Japanese texts are folded into short lines.
    NoticeMessage::Input in;
    in.shopName = kShop + QString(30, QChar(0x76F4));
    in.from = QStringLiteral("shop@minori.example.jp");
    in.to = {45, QStringLiteral("山田\r\nBcc: evil@example.jp\r\n"), kYamada};
    in.sales.items = {{kTomato, Currency::fromInt(3), Currency::fromInt(894)}};
    in.salesDate = at(0, 0);
    in.slot = 600;
    in.made = at(10, 5);
    const NoticeMessage m = NoticeMessage::Compose(in);
    const QByteArray head = m.raw.left(m.raw.indexOf("\r\n\r\n") + 2);
    const QList<QByteArray> lines = head.split('\n');
    for (const QByteArray &line : lines.mid(0, lines.size() - 1)) {
        QVERIFY2(line.size() <= 78 && line.endsWith('\r'), line.constData());
        QVERIFY2(!line.startsWith("Bcc"), line.constData());
    }
    QVERIFY(!m.raw.contains("evil@"));
    QVERIFY(head.contains("\r\nTo: =?UTF-8?B?") && head.contains("?=\r\n <yamada@example.jp>\r\n"));
}

void TestNotice::eachProducerGetsTheirOwnSalesOncePerSlot()
{
    m_smtp->start();
    setShop(QStringLiteral("10:00,12:00,14:00,16:00,17:00"), m_smtp->port(), false);
    producer(45, QStringLiteral("山田農園"), kYamada);
    producer(7, QStringLiteral("D'Arcy 農場"), kDarcy);
    producer(3, QStringLiteral("大森 健一"));                                           // no address
    producer(5, QStringLiteral("小松 澄子"), QStringLiteral("komatsu@example.jp"), false); // notices off
    const double day = at(0, 0);
    // One sale on each of two registers; the second takes one herb back.
    sell(QStringLiteral("レジ1"), {{45, kTomato, "298", "2"}, {7, kHerb, "150", "2"}, {3, QStringLiteral("きゅうり"), "100", "1"},
                                  {5, QStringLiteral("なす"), "120", "1"}}, day);
    sell(QStringLiteral("レジ2"), {{45, kTomato, "298", "1"}, {7, kHerb, "150", "-1"}}, day);

    gDb->EXEC(QStringLiteral("DROP TABLE D_NTC")); // a database made before the notices: the run makes it
    QVERIFY(!runAt(at(9, 59)).slot);                 // before the first slot nothing is due
    QCOMPARE(runAt(at(10, 5)).sent, 2);
    QList<SmtpTestServer::Received> mail = m_smtp->received();
    QCOMPARE(m_smtp->recipients(), (QStringList{kDarcy, kYamada}));
    const SmtpTestServer::Received &darcy = mail[0], &yamada = mail[1];
    QCOMPARE(yamada.authUser, SmtpTestServer::User);
    QCOMPARE(yamada.subject, QStringLiteral("【みのり'直売所】売上のお知らせ 4月1日 10:00"));
    QCOMPARE(yamada.to, QStringLiteral("山田農園 <yamada@example.jp>"));
    QVERIFY(yamada.body.startsWith(QStringLiteral("山田農園 様\r\n")));
    QVERIFY(yamada.body.contains(QStringLiteral("\r\n・完熟トマト 'Momotaro'　3点　894円\r\n")));
    QVERIFY(yamada.body.contains(QStringLiteral("\r\n合計　3点　894円\r\n")));
    QVERIFY(yamada.body.contains(QStringLiteral("作成日時: 2024年4月1日(月) 10時05分")));
    QVERIFY(yamada.body.contains(kShop));
    // Each producer sees their own items only, returns taken off.
    QVERIFY(!yamada.body.contains(kHerb) && !yamada.body.contains(QStringLiteral("きゅうり")));
    QVERIFY(darcy.body.contains(QStringLiteral("\r\n・O'Brien's ハーブ　1点　150円\r\n")));
    QVERIFY(!darcy.body.contains(QStringLiteral("トマト")) && !darcy.body.contains(QStringLiteral("なす")));

    // A machine whose clock is behind still sees the 10:00 notice when it tries a later slot with the same
    // sales: no second notice of the same sales.
    QCOMPARE(NoticeLog::ClaimSlot(*gDb, day, 720, 45, kYamada, DaySales::Read(*gDb, day).value(45), at(10, 6),
                                  QStringLiteral("other")),
             NoticeLog::Claim::Taken);

    // The slot again: nothing more. 12:00 passes unseen; at 14:30 the 14:00 notice goes, only to the
    // producer who sold since.
    QCOMPARE(runAt(at(10, 40)).sent, 0);
    sell(QStringLiteral("レジ1"), {{45, kTomato, "298", "1"}}, day);
    QCOMPARE(runAt(at(14, 30)).sent, 1);
    mail = m_smtp->received();
    QCOMPARE(mail.size(), 3);
    QCOMPARE(mail[2].envelopeTo, QStringList{kYamada});
    QVERIFY(mail[2].subject.endsWith(QStringLiteral(" 14:00")));
    QVERIFY(mail[2].body.contains(QStringLiteral("合計　4点　1,192円")));
    QCOMPARE(rows(QStringLiteral("NTC_STATE=1")), 3);
    QCOMPARE(rows(QStringLiteral("NTC_SLOT=720")), 0);

    // The day is closed at 15:00 and a register still on it sells once more: the 16:00 notice tells the
    // closed sales and the new one, the closed ones once; the producer without new sales gets nothing.
    closeDay(day);
    sell(QStringLiteral("レジ2"), {{7, kHerb, "150", "1"}}, day);
    QCOMPARE(runAt(at(16, 5)).sent, 1);
    mail = m_smtp->received();
    QCOMPARE(mail.size(), 4);
    QCOMPARE(mail[3].envelopeTo, QStringList{kDarcy});
    QVERIFY(mail[3].body.contains(QStringLiteral("\r\n・O'Brien's ハーブ　2点　300円\r\n")));
    // The close is undone (the sales are back in D_REG, their copies stay in B_REG): still counted once.
    closeDay(day, true);
    sell(QStringLiteral("レジ2"), {{7, kHerb, "150", "2"}}, day);
    QCOMPARE(runAt(at(17, 5)).sent, 1);
    QVERIFY(m_smtp->received().value(4).body.contains(QStringLiteral("\r\n・O'Brien's ハーブ　3点　450円\r\n")));
    QVERIFY(m_program->messages().shown().isEmpty());
}

void TestNotice::failuresAreLeftForTheNextRun()
{
    // TLS from the first byte this time; the server is away at the first run.
    m_smtp->start(true);
    const int port = m_smtp->port();
    m_smtp->stop();
    setShop(QStringLiteral("10:00"), port, true);
    producer(7, QStringLiteral("D'Arcy 農場"), kDarcy);
    producer(8, QStringLiteral("宛先不正"), QStringLiteral("bad@example.jp, boss@example.jp"));
    producer(9, QStringLiteral("中断"), QStringLiteral("crash@example.jp"));
    producer(45, QStringLiteral("山田農園"), kYamada);
    const double day = at(0, 0);
    sell(QStringLiteral("レジ1"), {{7, kHerb, "150", "1"}, {8, kTomato, "298", "1"}, {9, kTomato, "298", "1"},
                                  {45, kTomato, "298", "1"}}, day);
    // A run that died after claiming producer 9's notice left its claim: that slot never goes to 9 again.
    gDb->EXEC(Sql(R"(INSERT INTO D_NTC (SALES_DATE, NTC_SLOT, FMR_ID, NTC_STATE, LINE_CNT, LAST_REG_ID)
                     VALUES (:day, 600, 9, 0, 0, 0))").date("day", day));

    NoticeRun::Summary s = runAt(at(10, 5), true);
    QCOMPARE(s.sent, 0);
    QCOMPARE(s.failed, 2);
    QVERIFY(!s.stopped.isEmpty());
    QCOMPARE(rows(QStringLiteral("FMR_ID<>9")), 0); // nothing recorded as sent
    QVERIFY(m_program->logLines().filter(QStringLiteral("売上通知: 生産者 7 D'Arcy 農場 <%1> に送信できません: ").arg(kDarcy)).size() == 1);

    // Back on the same port, refusing one mailbox: the others still go; the wrong address and the crashed
    // claim get nothing, and the refused one is left for the next run.
    m_smtp->start(true, {kDarcy}, port);
    s = runAt(at(10, 10), true);
    QCOMPARE(s.sent, 1);
    QCOMPARE(s.failed, 1);
    QCOMPARE(m_smtp->recipients(), QStringList{kYamada});
    QCOMPARE(rows(QStringLiteral("NTC_STATE=1")), 1);
    QCOMPARE(rows(QStringLiteral("FMR_ID=7 OR FMR_ID=8")), 0);
    QCOMPARE(m_program->logLines().filter(QStringLiteral("(SMTP 550)")).size(), 1);
    QCOMPARE(m_program->logLines().filter(QStringLiteral("生産者 8 宛先不正")).size(), 2);

    m_smtp->start(true, {}, port);
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
        producer(id, QStringLiteral("生産者%1").arg(id), QStringLiteral("p%1@example.jp").arg(id));
        sell(QStringLiteral("レジ1"), {{id, kTomato, "100", "1"}}, today);
    }
    QFile password(m_program->path(QStringLiteral("smtp-password")));
    QVERIFY(password.open(QIODevice::WriteOnly));
    password.write(SmtpTestServer::Password.toUtf8() + '\n');
    password.close();
    password.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);

    QVERIFY2(!qEnvironmentVariableIsEmpty("VANTLE_ADMIN"), "VANTLE_ADMIN names vantle-admin (ctest sets it)");
    const auto notify = [&](const QStringList &extra) {
        auto *p = new QProcess(this);
        p->start(qEnvironmentVariable("VANTLE_ADMIN"),
                 QStringList{QStringLiteral("notify"), QStringLiteral("--ca-file"), m_smtp->caFile()} + extra);
        return p;
    };
    const auto finish = [](QProcess *p) {
        p->waitForFinished(120000);
        const QString out = QString::fromUtf8(p->readAllStandardOutput() + p->readAllStandardError());
        return std::pair{p->exitCode(), out};
    };
    // A password file that others can read is refused, and nothing is sent.
    auto [code, out] = finish(notify({}));
    QCOMPARE(code, 1);
    QVERIFY2(out.contains(QStringLiteral("chmod 600")), qPrintable(out));
    password.setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    // The dry run shows every notice that would go, and sends and records nothing.
    std::tie(code, out) = finish(notify({QStringLiteral("--dry-run")}));
    QCOMPARE(code, 0);
    QVERIFY2(out.contains(QStringLiteral("送信予定 %1 件").arg(producers)), qPrintable(out));
    QVERIFY(out.contains(QStringLiteral("==== 生産者 7 生産者7 <p7@example.jp>: 送信")));
    QVERIFY(out.contains(QStringLiteral("・完熟トマト 'Momotaro'　1点　100円")));
    QVERIFY(m_smtp->received().isEmpty());
    QCOMPARE(rows(QString()), 0);

    // Two machines run at the same moment: every producer gets exactly one notice.
    QProcess *first = notify({});
    QProcess *second = notify({});
    const auto [code1, out1] = finish(first);
    const auto [code2, out2] = finish(second);
    QVERIFY2(code1 == 0 && code2 == 0, qPrintable(out1 + out2));
    QStringList got = m_smtp->recipients();
    got.sort();
    QStringList expected;
    for (int id = 1; id <= producers; ++id)
        expected << QStringLiteral("p%1@example.jp").arg(id);
    expected.sort();
    QCOMPARE(got, expected);
    QCOMPARE(rows(QStringLiteral("NTC_STATE=1")), producers);
}

VANTLE_TEST_BOTH_ENGINES(TestNotice)

#include "test_notice.moc"
