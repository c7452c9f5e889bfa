#include "printing/CupsQueue.h"

#include "printing/Surface.h"

#include <QElapsedTimer>
#include <QStringList>

#include <cups/cups.h>
#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <thread>

namespace CupsQueue {
namespace {

constexpr int kConnectMs = 3000;
// The longest the register waits for one answer of the server.
constexpr double kAnswerSeconds = 10;
constexpr int kPollMs = 25;

QString lastError()
{
    return QString::fromUtf8(cupsLastErrorString());
}

bool succeeded()
{
    return cupsLastError() <= IPP_STATUS_OK_EVENTS_COMPLETE;
}

// A server that does not answer in time ends the request instead of blocking the register.
int giveUp(http_t *, void *)
{
    return 0;
}

// One connection to the server, closed when it goes out of scope.
class Server
{
public:
    Server()
    {
        m_http = httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, kConnectMs, nullptr);
        if (!m_http)
            throw PrinterError(QStringLiteral("印刷サーバー %1 に接続できません。").arg(QString::fromUtf8(cupsServer())));
        httpSetTimeout(m_http, kAnswerSeconds, giveUp, nullptr);
    }
    ~Server() { httpClose(m_http); }
    Server(const Server &) = delete;
    Server &operator=(const Server &) = delete;
    http_t *http() const { return m_http; }

    // Sends a request (taking it over) and returns the answer, null when there was none.
    std::unique_ptr<ipp_t, void (*)(ipp_t *)> ask(ipp_t *request)
    {
        return {cupsDoRequest(m_http, request, "/"), ippDelete};
    }

private:
    http_t *m_http = nullptr;
};

QByteArray printerUri(const QByteArray &queue)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     queue.constData());
    return uri;
}

ipp_t *request(ipp_op_t operation, const QByteArray &queue, std::initializer_list<const char *> attributes)
{
    ipp_t *r = ippNewRequest(operation);
    ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri(queue).constData());
    ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(r, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", int(attributes.size()), nullptr,
                  attributes.begin());
    return r;
}

QStringList keywords(ipp_t *answer, const char *name)
{
    QStringList out;
    ipp_attribute_t *a = ippFindAttribute(answer, name, IPP_TAG_KEYWORD);
    for (int i = 0; a && i < ippGetCount(a); ++i)
        out.append(QString::fromUtf8(ippGetString(a, i, nullptr)));
    return out;
}

QString text(ipp_t *answer, const char *name)
{
    ipp_attribute_t *a = ippFindAttribute(answer, name, IPP_TAG_ZERO);
    return a ? QString::fromUtf8(ippGetString(a, 0, nullptr)).trimmed() : QString();
}

// " (why)" after a message, or nothing.
QString because(const QString &why)
{
    return why.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(why);
}

void checkReady(Server &server, const QString &queue, const QByteArray &name)
{
    auto answer = server.ask(request(IPP_OP_GET_PRINTER_ATTRIBUTES, name,
                                     {"printer-state", "printer-is-accepting-jobs", "printer-state-message"}));
    if (cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND)
        throw PrinterError(QStringLiteral("プリンタ %1 が見つかりません。").arg(queue));
    if (!answer || !succeeded())
        throw PrinterError(QStringLiteral("プリンタ %1 の状態が分かりません%2。").arg(queue, because(lastError())));
    const QString message = because(text(answer.get(), "printer-state-message"));
    if (ippGetInteger(ippFindAttribute(answer.get(), "printer-state", IPP_TAG_ENUM), 0) == IPP_PSTATE_STOPPED)
        throw PrinterError(QStringLiteral("プリンタ %1 は停止しています%2。").arg(queue, message));
    if (!ippGetBoolean(ippFindAttribute(answer.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN), 0))
        throw PrinterError(QStringLiteral("プリンタ %1 は印刷を受け付けていません%2。").arg(queue, message));
}

// Cancels a job on a connection of its own (the one that failed may be in the middle of a request). A job that
// cannot be cancelled either is left to the server; the failure that led here is what the operator hears of.
void cancel(const QByteArray &queue, int job)
{
    try {
        Server server;
        cupsCancelJob2(server.http(), queue.constData(), job, 0);
    } catch (const PrinterError &) {
    }
}

} // namespace

int submit(const QString &queue, const QByteArray &document, const char *format, const QString &title,
           const Options &options)
{
    const QByteArray name = queue.toUtf8();
    const QByteArray jobName = title.toUtf8();
    Server server;
    checkReady(server, queue, name);

    cups_option_t *list = nullptr;
    int count = 0;
    for (const auto &[option, value] : options)
        count = cupsAddOption(option.toUtf8().constData(), value.toUtf8().constData(), count, &list);
    const int job = cupsCreateJob(server.http(), name.constData(), jobName.constData(), count, list);
    cupsFreeOptions(count, list);
    if (job <= 0)
        throw PrinterError(QStringLiteral("プリンタ %1 に印刷できません%2。").arg(queue, because(lastError())));

    bool sent =
        cupsStartDocument(server.http(), name.constData(), job, jobName.constData(), format, 1) == HTTP_STATUS_CONTINUE
        && cupsWriteRequestData(server.http(), document.constData(), size_t(document.size())) == HTTP_STATUS_CONTINUE;
    if (sent) {
        cupsFinishDocument(server.http(), name.constData());
        sent = succeeded();
    }
    if (!sent) {
        const QString why = lastError();
        // A job without its whole document must not print half of it later.
        cancel(name, job);
        throw PrinterError(QStringLiteral("プリンタ %1 に送れません%2。").arg(queue, because(why)));
    }
    return job;
}

void waitUntilPrinted(const QString &queue, int job, int waitMs)
{
    const QByteArray name = queue.toUtf8();
    Server server;
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        ipp_t *ask = request(IPP_OP_GET_JOB_ATTRIBUTES, name,
                             {"job-state", "job-state-reasons", "job-printer-state-reasons", "job-printer-state-message"});
        ippAddInteger(ask, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", job);
        auto answer = server.ask(ask);
        if (!answer || !succeeded())
            throw PrinterError(QStringLiteral("プリンタ %1 の印刷の状態が分かりません%2。").arg(queue, because(lastError())));
        const int state = ippGetInteger(ippFindAttribute(answer.get(), "job-state", IPP_TAG_ENUM), 0);
        // The backend reports "waiting for job completed" once the printer has every byte; a printer that keeps
        // the connection open afterwards has printed all the same.
        if (state == IPP_JSTATE_COMPLETED
            || (state == IPP_JSTATE_PROCESSING
                && keywords(answer.get(), "job-printer-state-reasons").contains(QLatin1String("cups-waiting-for-job-completed"))))
            return;
        const QString message = because(text(answer.get(), "job-printer-state-message"));
        if (state == IPP_JSTATE_CANCELED || state == IPP_JSTATE_ABORTED)
            throw PrinterError(QStringLiteral("プリンタ %1 の印刷が中止されました%2。").arg(queue, message));
        const bool stopped = state == IPP_JSTATE_STOPPED || state == IPP_JSTATE_HELD
                             || keywords(answer.get(), "job-state-reasons").contains(QLatin1String("printer-stopped"));
        if (stopped || clock.elapsed() >= waitMs) {
            cancel(name, job);
            throw PrinterError(stopped ? QStringLiteral("プリンタ %1 は停止しています%2。").arg(queue, message)
                                       : QStringLiteral("プリンタ %1 が応答しません%2。").arg(queue, message));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(qMin<qint64>(kPollMs, waitMs - clock.elapsed())));
    }
}

} // namespace CupsQueue
