#include "support/TestCups.h"

#include <QDir>
#include <algorithm>
#include <QProcess>
#include <QTest>
#include <cups/cups.h>
#include <memory>

namespace TestCups {

bool available()
{
    return !qEnvironmentVariableIsEmpty("VANTLE_TEST_CUPS_DIR") && !qEnvironmentVariableIsEmpty("CUPS_SERVER");
}

QString outputFile(const QString &name)
{
    return QDir(qEnvironmentVariable("VANTLE_TEST_CUPS_DIR")).filePath(QStringLiteral("out/") + name);
}

bool run(const QString &program, const QStringList &arguments)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    const bool ok = p.waitForFinished(10000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    if (!ok)
        qWarning("%s %s: %s", qPrintable(program), qPrintable(arguments.join(u' ')), p.readAll().constData());
    return ok;
}

QList<Job> jobs(const QString &queue)
{
    cups_job_t *list = nullptr;
    const int n = cupsGetJobs2(CUPS_HTTP_DEFAULT, &list, queue.toUtf8().constData(), 0, CUPS_WHICHJOBS_ALL);
    QList<Job> out;
    for (int i = 0; i < n; ++i)
        out.append({list[i].id, QString::fromUtf8(list[i].title), int(list[i].state)});
    cupsFreeJobs(n, list);
    std::sort(out.begin(), out.end(), [](const Job &a, const Job &b) { return a.id < b.id; });
    return out;
}

bool waitUntilIdle(const QString &queue, int ms)
{
    const auto idle = [&] {
        const QList<Job> all = jobs(queue);
        return std::none_of(all.begin(), all.end(), [](const Job &job) { return job.state < IPP_JSTATE_STOPPED; });
    };
    return QTest::qWaitFor(idle, ms);
}

QString jobAttribute(int job, const QString &name)
{
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/jobs/%d", job);
    ipp_t *request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "all");
    std::unique_ptr<ipp_t, void (*)(ipp_t *)> answer(cupsDoRequest(CUPS_HTTP_DEFAULT, request, "/"), ippDelete);
    ipp_attribute_t *a = answer ? ippFindAttribute(answer.get(), name.toUtf8().constData(), IPP_TAG_ZERO) : nullptr;
    if (!a)
        return {};
    char value[1024];
    ippAttributeString(a, value, sizeof value);
    return QString::fromUtf8(value);
}

} // namespace TestCups
