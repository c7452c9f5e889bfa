#include "HistoryShop.h"

#include "base/Progress.h"
#include "data/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <sqlite3.h>
#include <stdexcept>
#include <vector>

namespace HistoryShop {
namespace {

const char *const kMarker = "history.txt";

// A connection of its own to one SQLite file, for writing in bulk: no journal, no waiting for the disk.
class Lite
{
public:
    explicit Lite(const QString &path)
    {
        if (sqlite3_open_v2(QFile::encodeName(path).constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            fail("open");
        exec("PRAGMA journal_mode=OFF");
        exec("PRAGMA synchronous=OFF");
        exec("PRAGMA cache_size=-1000000");
    }
    ~Lite() { sqlite3_close_v2(m_db); }
    Lite(const Lite &) = delete;
    Lite &operator=(const Lite &) = delete;

    void exec(const char *sql)
    {
        if (sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(sql);
    }
    void exec(const QString &sql) { exec(sql.toUtf8().constData()); }
    sqlite3 *handle() const { return m_db; }
    [[noreturn]] void fail(const char *what) const
    {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(m_db));
    }

private:
    sqlite3 *m_db = nullptr;
};

// One prepared INSERT; values are bound from the first placeholder on, then the row is written.
class Insert
{
public:
    Insert(Lite &db, const char *sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db.handle(), sql, -1, &m_statement, nullptr) != SQLITE_OK)
            db.fail(sql);
    }
    ~Insert() { sqlite3_finalize(m_statement); }
    Insert(const Insert &) = delete;
    Insert &operator=(const Insert &) = delete;

    Insert &operator<<(qint64 n) { sqlite3_bind_int64(m_statement, ++m_at, n); return *this; }
    Insert &operator<<(int n) { return *this << qint64(n); }
    Insert &operator<<(const QByteArray &text)
    {
        if (text.isNull())
            sqlite3_bind_null(m_statement, ++m_at);
        else
            sqlite3_bind_text(m_statement, ++m_at, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    void write()
    {
        if (sqlite3_step(m_statement) != SQLITE_DONE)
            m_db.fail(sqlite3_sql(m_statement));
        sqlite3_reset(m_statement);
        m_at = 0;
    }

private:
    Lite &m_db;
    sqlite3_stmt *m_statement = nullptr;
    int m_at = 0;
};

struct Article
{
    QByteArray bcd;
    QByteArray name;
    int product;
    int producer;
    qint64 price;
};

// A date as the register stores it, at a time of that day given in seconds.
QByteArray dayText(const QDate &day, int seconds = 0)
{
    return QString::asprintf("%04d-%02d-%02d %02d:%02d:%02d", day.year(), day.month(), day.day(), seconds / 3600,
                             seconds / 60 % 60, seconds % 60)
        .toLatin1();
}

QByteArray utf8(const QString &text) { return text.toUtf8(); }

// The barcode master's articles: every producer has twenty, at prices from 100 to 990 yen.
std::vector<Article> masterArticles()
{
    std::vector<Article> articles;
    articles.reserve(Barcodes);
    for (int i = 1; i <= Barcodes; ++i)
        articles.push_back({QByteArray("49") + QByteArray::number(1000000000LL + i * 7LL).rightJustified(11, '0'),
                            utf8(QStringLiteral("登録品 %1").arg(i)), i % Products + 1, i % Producers + 1,
                            100 + (i * 37 % 90) * 10});
    return articles;
}

void fillMasters(const QString &folder, const std::vector<Article> &articles)
{
    Lite mst(QDir(folder).filePath(ProgramFolder::MasterFile));
    mst.exec("BEGIN");
    Insert producer(mst, "INSERT INTO M_FMR (FMR_ID, FMR_NM, ADRS, BANK_NM, BR_NM, ACC_KBN, ACC_NO, ACC_NM, FEE_1, "
                         "FEE_2) VALUES (?,?,?,?,?,?,?,?,?,?)");
    for (int f = 1; f <= Producers; ++f) {
        producer << f << utf8(QStringLiteral("生産者 %1").arg(f)) << utf8(QStringLiteral("みのり町 %1").arg(f))
                 << utf8(QStringLiteral("みのり農業協同組合")) << utf8(QStringLiteral("本店")) << utf8(QStringLiteral("普通"))
                 << QByteArray::number(1000000 + f) << utf8(QStringLiteral("ｾｲｻﾝｼｬ %1").arg(f)) << 220 << 440;
        producer.write();
    }
    Insert product(mst, "INSERT INTO M_PRD (PRD_ID, PRD_NM) VALUES (?,?)");
    for (int p = 1; p <= Products; ++p) {
        product << p << utf8(QStringLiteral("商品 %1").arg(p));
        product.write();
    }
    Insert barcode(mst, "INSERT INTO M_PRD_BCD (BCD, PRD_ID, FMR_ID, BCD_NM, PRC, UNIT_ID) VALUES (?,?,?,?,?,1)");
    for (const Article &a : articles) {
        barcode << a.bcd << a.product << a.producer << a.name << a.price;
        barcode.write();
    }
    mst.exec("COMMIT");
}

// The sales of one day, written as the register stores them (into D_REG/D_REG_DTL for an open day, or
// as the close leaves them in B_REG/B_REG_DTL), summed per producer on the way.
class SalesWriter
{
public:
    SalesWriter(Lite &db, const std::vector<Article> &articles, bool closed)
        : m_articles(articles),
          m_header(db, closed ? "INSERT INTO B_REG VALUES (?,?,?,?,?,?,?,?,?)"
                              : "INSERT INTO D_REG VALUES (?,?,?,?,?,?,?,?,?)"),
          m_line(db, closed ? "INSERT INTO B_REG_DTL VALUES (?,?,?,?,?,?,?,?,0,?,?,?,?)"
                            : "INSERT INTO D_REG_DTL VALUES (?,?,?,?,?,?,?,?,0,?,?,?,?)")
    {
    }

    std::vector<qint64> qty = std::vector<qint64>(Producers + 1);
    std::vector<qint64> amount = std::vector<qint64>(Producers + 1);
    qint64 total = 0;

    void write(const QDate &day, qint64 firstId, int sales)
    {
        std::fill(qty.begin(), qty.end(), 0);
        std::fill(amount.begin(), amount.end(), 0);
        total = 0;
        QRandomGenerator random(quint32(day.toJulianDay()));
        const QByteArray salesDate = dayText(day);
        for (int s = 0; s < sales; ++s) {
            const qint64 id = firstId + s;
            const int lines = 5 + int(random.bounded(7));
            qint64 sum = 0;
            for (int n = 1; n <= lines; ++n)
                sum += writeLine(random, id, n);
            const qint64 received = (sum / 1000 + 1) * 1000;
            m_header << id << s + 1 << dayText(day, 9 * 3600 + int(qint64(s) * 36000 / sales)) << salesDate
                     << QByteArray("レジ1") << lines << sum << received << received - sum;
            m_header.write();
            total += sum;
        }
    }

private:
    qint64 writeLine(QRandomGenerator &random, qint64 id, int n)
    {
        // Most goods carry a master barcode; one in six an in-store label with its price in it.
        Article in;
        const Article *a = &in;
        if (random.bounded(6) == 0) {
            in.product = 1 + int(random.bounded(Products));
            in.producer = 1 + int(random.bounded(Producers));
            in.price = 10 * (10 + int(random.bounded(90)));
            in.bcd = QByteArray::number(in.product).rightJustified(3, '0')
                + QByteArray::number(in.producer).rightJustified(4, '0')
                + QByteArray::number(in.price / 10).rightJustified(4, '0') + "00";
            in.name = utf8(QStringLiteral("商品 %1").arg(in.product));
        } else {
            a = &m_articles[random.bounded(quint32(m_articles.size()))];
        }
        const int roll = int(random.bounded(100));
        const qint64 q = roll < 2 ? -1 : roll < 87 ? 1 : roll < 97 ? 2 : 3;
        const qint64 amt = a->price * q;
        m_line << id << n << a->bcd << a->product << a->name << a->producer
               << utf8(QStringLiteral("生産者 %1").arg(a->producer)) << a->price << a->price << q << 1 << amt;
        m_line.write();
        qty[a->producer] += q;
        amount[a->producer] += amt;
        return amt;
    }

    const std::vector<Article> &m_articles;
    Insert m_header;
    Insert m_line;
};

// The closing date of a day's period (the 15th, or the month end) and the payment date of a closing.
QDate closingOf(const QDate &day)
{
    return day.day() <= 15 ? QDate(day.year(), day.month(), 15) : QDate(day.year(), day.month(), day.daysInMonth());
}

// The 15th is paid on the 25th, the month end on the 10th of the next month.
QDate paymentOf(const QDate &closing)
{
    return closing.addDays(10);
}

void writeSettlement(Insert &adj, const QDate &day, qint64 total)
{
    static const qint64 values[10] = {10000, 5000, 2000, 1000, 500, 100, 50, 10, 5, 1};
    static const qint64 floatCounts[10] = {0, 2, 0, 20, 20, 50, 20, 50, 20, 50};
    qint64 cash[10];
    qint64 rest = total;
    for (int i = 0; i < 10; ++i) {
        cash[i] = floatCounts[i] + rest / values[i];
        rest %= values[i];
    }
    qint64 floatSum = 0, cashSum = 0;
    for (int i = 0; i < 10; ++i)
        floatSum += floatCounts[i] * values[i], cashSum += cash[i] * values[i];
    adj << dayText(day) << dayText(day, 18 * 3600) << total;
    for (qint64 v : values)
        adj << v;
    for (qint64 c : floatCounts)
        adj << c;
    for (qint64 c : cash)
        adj << c;
    for (qint64 c : floatCounts)
        adj << c;
    for (int i = 0; i < 10; ++i)
        adj << cash[i] - floatCounts[i];
    adj << floatSum << cashSum << floatSum << cashSum - floatSum;
    adj.write();
}

// One payment closing: a line per producer who sold in the period, and the summary.
void writePayment(Lite &db, Insert &line, const QDate &closing, std::vector<qint64> &qty, std::vector<qint64> &amount)
{
    const QByteArray cls = dayText(closing);
    const QByteArray pay = dayText(paymentOf(closing));
    for (int f = 1; f <= Producers; ++f) {
        if (qty[f] == 0 && amount[f] == 0)
            continue;
        const qint64 fee = amount[f] * 15 / 100;
        const qint64 payable = amount[f] - fee;
        const qint64 bankFee = payable < 30000 ? 220 : 440;
        line << cls << pay << f << qty[f] << amount[f] << fee << payable << utf8(QStringLiteral("みのり農業協同組合"))
             << utf8(QStringLiteral("本店")) << utf8(QStringLiteral("普通")) << QByteArray::number(1000000 + f)
             << utf8(QStringLiteral("ｾｲｻﾝｼｬ %1").arg(f)) << bankFee << payable - bankFee;
        line.write();
        qty[f] = amount[f] = 0;
    }
    db.exec(QStringLiteral("INSERT INTO D_PAY SELECT CLS_DATE, MAX(PAY_DATE), SUM(SALES_QTY), SUM(SALES_AMT), "
                           "SUM(FEE_AMT), SUM(PAY_AMT), SUM(BANK_FEE), SUM(REAL_AMT) FROM D_PAY_DTL "
                           "WHERE CLS_DATE='%1' GROUP BY CLS_DATE").arg(QString::fromLatin1(cls)));
}

void fillHistory(const QString &folder, const Shape &shape, const std::vector<Article> &articles, Progress &progress)
{
    Lite db(QDir(folder).filePath(ProgramFolder::TransactionFile));
    SalesWriter sales(db, articles, true);
    // D_ADJ: the day, the moment, the total, five groups of ten denominations and the four sums.
    const QByteArray adjValues = "?" + QByteArray(",?").repeated(3 + 50 + 4 - 1);
    Insert adj(db, "INSERT INTO D_ADJ VALUES (" + adjValues + ")");
    Insert adjDtl(db, "INSERT INTO D_ADJ_DTL VALUES (?,?,?,?,?)");
    Insert payDtl(db, "INSERT INTO D_PAY_DTL VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?)");
    std::vector<qint64> periodQty(Producers + 1), periodAmount(Producers + 1);
    db.exec("BEGIN");
    for (int d = 0; d < shape.days; ++d) {
        const QDate day = shape.today.addDays(d - shape.days);
        sales.write(day, qint64(d) * shape.salesPerDay + 1, shape.salesPerDay);
        writeSettlement(adj, day, sales.total);
        const QDate closing = closingOf(day);
        const bool paid = closing < shape.today;
        for (int f = 1; f <= Producers; ++f) {
            if (sales.qty[f] == 0 && sales.amount[f] == 0)
                continue;
            adjDtl << dayText(day) << f << sales.qty[f] << sales.amount[f] << (paid ? dayText(closing) : QByteArray());
            adjDtl.write();
            periodQty[f] += sales.qty[f];
            periodAmount[f] += sales.amount[f];
        }
        if (paid && day == closing)
            writePayment(db, payDtl, closing, periodQty, periodAmount);
        if (d % 30 == 29) {
            db.exec("COMMIT");
            db.exec("BEGIN");
        }
        progress.report(d + 1, shape.days);
    }
    db.exec(QStringLiteral("UPDATE S_CTRL SET CTRL_VALUE='%1' WHERE CTRL_CD='NEW_REG_ID'")
                .arg(qint64(shape.days) * shape.salesPerDay));
    db.exec("COMMIT");
}

} // namespace

QString Shape::describe() const
{
    return QStringLiteral("days=%1 sales=%2 today=%3").arg(days).arg(salesPerDay).arg(today.toString(Qt::ISODate));
}

QString build(const QString &folder, const Shape &shape, Progress &progress)
{
    if (const QString problem = ProgramFolder::create(folder, false); !problem.isEmpty())
        return problem;
    try {
        const std::vector<Article> articles = masterArticles();
        fillMasters(folder, articles);
        fillHistory(folder, shape, articles, progress);
    } catch (const std::exception &e) {
        return QString::fromUtf8(e.what());
    }
    QFile marker(QDir(folder).filePath(QString::fromLatin1(kMarker)));
    if (!marker.open(QIODevice::WriteOnly) || marker.write(shape.describe().toUtf8()) < 0)
        return marker.errorString();
    return QString();
}

bool holds(const QString &folder, const Shape &shape)
{
    QFile marker(QDir(folder).filePath(QString::fromLatin1(kMarker)));
    return marker.open(QIODevice::ReadOnly) && marker.readAll() == shape.describe().toUtf8();
}

void addToday(const QString &folder, const Shape &shape)
{
    Lite db(QDir(folder).filePath(ProgramFolder::TransactionFile));
    static const std::vector<Article> articles = masterArticles();
    SalesWriter sales(db, articles, false);
    const qint64 first = qint64(shape.days) * shape.salesPerDay + 1;
    db.exec("BEGIN");
    sales.write(shape.today, first, shape.salesPerDay);
    db.exec(QStringLiteral("UPDATE S_CTRL SET CTRL_VALUE='%1' WHERE CTRL_CD='NEW_REG_ID'")
                .arg(first + shape.salesPerDay - 1));
    db.exec("COMMIT");
}

void removeToday(const QString &folder, const Shape &shape)
{
    Lite db(QDir(folder).filePath(ProgramFolder::TransactionFile));
    const QString day = QString::fromLatin1(dayText(shape.today));
    db.exec("BEGIN");
    for (const char *sql :
         {"DELETE FROM D_REG_DTL WHERE REG_ID IN (SELECT REG_ID FROM D_REG WHERE SALES_DATE='%1')",
          "DELETE FROM D_REG WHERE SALES_DATE='%1'",
          "DELETE FROM B_REG_DTL WHERE REG_ID IN (SELECT REG_ID FROM B_REG WHERE SALES_DATE='%1')",
          "DELETE FROM B_REG WHERE SALES_DATE='%1'", "DELETE FROM D_ADJ WHERE SALES_DATE='%1'",
          "DELETE FROM D_ADJ_DTL WHERE SALES_DATE='%1'", "UPDATE D_ADJ_DTL SET CLS_DATE=NULL WHERE CLS_DATE='%1'",
          "DELETE FROM D_PAY WHERE CLS_DATE='%1'", "DELETE FROM D_PAY_DTL WHERE CLS_DATE='%1'"})
        db.exec(QString::fromLatin1(sql).arg(day));
    db.exec(QStringLiteral("UPDATE S_CTRL SET CTRL_VALUE='%1' WHERE CTRL_CD='NEW_REG_ID'")
                .arg(qint64(shape.days) * shape.salesPerDay));
    db.exec("COMMIT");
}

} // namespace HistoryShop
