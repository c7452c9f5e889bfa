#include "printing/SystemPrinters.h"

#include "printing/CupsQueue.h"
#include "printing/PainterSurface.h"
#include "printing/Printers.h"
#include "printing/RawTransport.h"
#include "printing/ReceiptSurface.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// A page printer of the system. A job is drawn into a PDF, laid out on A4 as the printer lays out its
// printable area, and handed to the printer's CUPS queue with its copies and paper bin when it ends; a queue
// that is missing or stopped is a printer error, not a job that never prints.
class SystemPageSurface : public PdfSurface
{
public:
    explicit SystemPageSurface(const QString &name) : PdfSurface([name](const Job &job) { submit(name, job); }), m_name(name) {}

    bool physicalOffset(double &x, double &y, double &dpiX, double &dpiY) const override
    {
        QPrinter probe(QPrinter::HighResolution);
        probe.setPrinterName(m_name);
        probe.setFullPage(false);
        probe.setPageSize(QPageSize(QPageSize::A4));
        probe.setPageOrientation(QPageLayout::Portrait);
        if (!probe.isValid())
            return false;
        const QRectF paintRect = probe.pageRect(QPrinter::DevicePixel);
        x = paintRect.left();
        y = paintRect.top();
        dpiX = dpiY = probe.resolution();
        return true;
    }

protected:
    QPointF printableCorner() const override
    {
        double x = 0, y = 0, dpiX = 0, dpiY = 0;
        if (!physicalOffset(x, y, dpiX, dpiY) || dpiX <= 0 || dpiY <= 0)
            return {};
        return {x * 72 / dpiX, y * 72 / dpiY};
    }

private:
    static void submit(const QString &queue, const Job &job)
    {
        CupsQueue::Options options{{QStringLiteral("media"), QStringLiteral("A4")}};
        if (job.copies > 1)
            options.append({QStringLiteral("copies"), QString::number(job.copies)});
        // Bin codes of old: 4 the manual feed, 1 the upper tray. CUPS names the bin in the option InputSlot with
        // the driver's names; a driver without such a bin ignores it.
        if (job.paperBin != 0)
            options.append({QStringLiteral("InputSlot"), job.paperBin == 4 ? QStringLiteral("Manual") : QStringLiteral("Upper")});
        CupsQueue::submit(queue, job.pdf, CupsQueue::PdfFormat, job.title, options);
    }

    QString m_name;
};

} // namespace

void InstallSystemPrinters()
{
    Printers::SystemSource source;
    source.printers = [] {
        QList<PrinterEntry> entries;
        for (const QString &name : QPrinterInfo::availablePrinterNames()) {
            entries.append({name, [name] { return std::make_unique<SystemPageSurface>(name); }, [name] {
                                return std::make_unique<ReceiptSurface>([name](const ReceiptSurface::Job &job) {
                                    RawTransport::send(QStringLiteral("cups:") + name, job.bytes, job.title);
                                });
                            }});
        }
        return entries;
    };
    source.defaultName = [] { return QPrinterInfo::defaultPrinterName(); };
    Printers::setSystemSource(source);
    Printers::reload();
}
