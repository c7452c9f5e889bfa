#include "printing/Printers.h"

#include "base/Clock.h"
#include "base/Common.h"
#include "printing/PainterSurface.h"
#include "printing/RawTransport.h"
#include "printing/ReceiptSurface.h"

#include <QDir>
#include <QFile>
#include <QMap>

namespace {

struct State {
    bool loaded = false;
    Printers::SystemSource source;
    QList<PrinterEntry> entries;
    QList<PrinterEntry> added;
    int current = -1;
    Printers::Role role = Printers::Role::Page;
    // Surfaces live as long as the list, so that a printer keeps its settings (copies) between jobs.
    QMap<QPair<int, int>, std::shared_ptr<Surface>> surfaces;
};

State &state()
{
    static State s;
    return s;
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw PrinterError(QStringLiteral("%1 に書き込めません (%2)。").arg(path, file.errorString()));
}

PrinterEntry virtualPagePrinter(const QString &folder)
{
    return {Printers::VirtualPageName,
            [folder] {
                return std::make_unique<PdfSurface>([folder](const PdfSurface::Job &job) {
                    writeFile(Printers::jobFile(folder, job.title, QStringLiteral("pdf")), job.pdf);
                });
            },
            {}};
}

PrinterEntry virtualReceiptPrinter(const QString &folder)
{
    return {Printers::VirtualReceiptName, {}, [folder] {
                return std::make_unique<ReceiptSurface>([folder](const ReceiptSurface::Job &job) {
                    const QString path = Printers::jobFile(folder, job.title, QStringLiteral("escpos"));
                    writeFile(path, job.bytes);
                    if (!job.slip.isNull()) {
                        const QString png = path.left(path.size() - 6) + QStringLiteral("png");
                        if (!job.slip.save(png, "PNG"))
                            throw PrinterError(QStringLiteral("%1 に書き込めません。").arg(png));
                    }
                });
            }};
}

PrinterEntry rawReceiptPrinter(const QString &name, const QString &uri)
{
    return {name, {}, [uri] {
                return std::make_unique<ReceiptSurface>(
                    [uri](const ReceiptSurface::Job &job) { RawTransport::send(uri, job.bytes, job.title); });
            }};
}

void ensureLoaded()
{
    State &s = state();
    if (!s.loaded)
        Printers::reload();
}

} // namespace

namespace Printers {

void setSystemSource(SystemSource source)
{
    state().source = std::move(source);
    state().loaded = false;
}

void reload()
{
    State &s = state();
    s.loaded = true;
    s.entries.clear();
    s.surfaces.clear();
    s.current = -1;
    s.role = Role::Page;
    if (s.source.printers)
        s.entries = s.source.printers();
    const QString devices = qEnvironmentVariable("VANTLE_RECEIPT_DEVICES");
    for (const QString &item : devices.split(u';', Qt::SkipEmptyParts)) {
        const qsizetype eq = item.indexOf(u'=');
        if (eq > 0)
            s.entries.append(rawReceiptPrinter(item.left(eq).trimmed(), item.mid(eq + 1).trimmed()));
    }
    const QString folder = virtualFolder();
    if (!folder.isEmpty()) {
        s.entries.append(virtualPagePrinter(folder));
        s.entries.append(virtualReceiptPrinter(folder));
    }
    s.entries += s.added;
    if (s.entries.isEmpty())
        return;
    const QString def = s.source.defaultName ? s.source.defaultName() : QString();
    s.current = 0;
    for (int i = 0; i < s.entries.size(); ++i)
        if (!def.isEmpty() && s.entries[i].name == def)
            s.current = i;
    s.role = s.entries[s.current].page ? Role::Page : Role::Receipt;
}

void add(PrinterEntry entry)
{
    ensureLoaded();
    State &s = state();
    s.added.append(entry);
    s.entries.append(entry);
    if (s.current < 0) {
        s.current = int(s.entries.size()) - 1;
        s.role = entry.page ? Role::Page : Role::Receipt;
    }
}

void clearAdded()
{
    state().added.clear();
    reload();
}

QStringList names()
{
    ensureLoaded();
    QStringList out;
    for (const PrinterEntry &e : state().entries)
        out.append(e.name);
    return out;
}

bool hasCurrent()
{
    ensureLoaded();
    return state().current >= 0;
}

QString currentName()
{
    ensureLoaded();
    const State &s = state();
    return s.current >= 0 ? s.entries[s.current].name : QString();
}

Role currentRole()
{
    return state().role;
}

void select(int index, Role role)
{
    ensureLoaded();
    State &s = state();
    if (index < 0 || index >= s.entries.size())
        return;
    s.current = index;
    const PrinterEntry &e = s.entries[index];
    // A printer that can do only one thing does that, whatever it was chosen for.
    s.role = role == Role::Receipt ? (e.receipt ? Role::Receipt : Role::Page) : (e.page ? Role::Page : Role::Receipt);
}

QString virtualFolder()
{
    const QString folder = qEnvironmentVariable("VANTLE_PRINT_DIR");
    if (folder.isEmpty())
        return {};
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

QString jobFile(const QString &folder, const QString &title, const QString &extension)
{
    QString name = title.trimmed().isEmpty() ? kProductTitle : title.trimmed();
    for (QChar &c : name)
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<'
            || c == u'>' || c == u'|' || c.isSpace())
            c = u'_';
    const QString stamp = Clock::instance().currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    const QString base = QDir(folder).filePath(name + u'_' + stamp);
    QString path = base + u'.' + extension;
    // Two jobs in the same millisecond (or under a clock that stands still) get a number.
    for (int n = 2; QFile::exists(path); ++n)
        path = base + u'-' + QString::number(n) + u'.' + extension;
    return path;
}

} // namespace Printers

Surface &Printer()
{
    ensureLoaded();
    State &s = state();
    if (s.current < 0)
        throw PrinterError(QStringLiteral("プリンタがインストールされていません。"));
    const QPair<int, int> key(s.current, int(s.role));
    auto it = s.surfaces.find(key);
    if (it == s.surfaces.end()) {
        const PrinterEntry &e = s.entries[s.current];
        auto &factory = s.role == Printers::Role::Receipt ? e.receipt : e.page;
        std::shared_ptr<Surface> surface(factory());
        if (!surface)
            throw PrinterError(QStringLiteral("プリンタ %1 を使えません。").arg(e.name));
        it = s.surfaces.insert(key, surface);
    }
    return **it;
}
