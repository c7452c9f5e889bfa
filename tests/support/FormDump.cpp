#include "support/FormDump.h"

#include <QFile>

namespace FormDump {

QString of(const RecordingSurface::Job &job)
{
    const auto n = [](double v) { return QString::number(v, 'f', 2); };
    QString dump;
    for (const auto &t : job.texts)
        dump += QStringLiteral("T %1 %2 %3 %4 %5\n").arg(n(t.x), n(t.y), t.font, n(t.size), t.text);
    for (const auto &s : job.strokes)
        dump += QStringLiteral("L %1 %2 %3 %4 %5 %6 %7\n").arg(n(s.x1), n(s.y1), n(s.x2), n(s.y2)).arg(s.width).arg(s.style).arg(s.box);
    return dump;
}

QString reviewed(const QString &path, const QString &actual)
{
    QString notes, dump;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        for (const QString &line : QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts))
            (line.startsWith(u'#') ? notes : dump) += line + u'\n';
        file.close();
    }
    if (qEnvironmentVariableIsSet("VANTLE_WRITE_DUMP") && file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write((notes + actual).toUtf8());
        return actual;
    }
    return dump;
}

} // namespace FormDump
