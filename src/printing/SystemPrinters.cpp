#include "printing/SystemPrinters.h"

#include "printing/PainterSurface.h"
#include "printing/Printers.h"
#include "printing/RawTransport.h"
#include "printing/ReceiptSurface.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// The CUPS job options of the print engine: a list of names and values (the engine's key for them).
const QPrintEngine::PrintEnginePropertyKey kCupsOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// A page printer of the system. The job begins with the first drawing and ends with EndDoc.
class SystemPageSurface : public PainterSurface
{
public:
    explicit SystemPageSurface(const QString &name) : m_name(name) {}
    ~SystemPageSurface() override { KillDoc(); }

    bool isPrinter() const override { return true; }
    int Copies() const override { return m_copies; }
    void setCopies(int copies) override { m_copies = qMax(1, copies); }
    void setPaperBin(int bin) override { m_bin = bin; }

    bool physicalOffset(double &x, double &y, double &dpiX, double &dpiY) const override
    {
        QPrinter probe(QPrinter::HighResolution);
        setUp(probe);
        if (!probe.isValid())
            return false;
        const QRectF paintRect = probe.pageRect(QPrinter::DevicePixel);
        x = paintRect.left();
        y = paintRect.top();
        dpiX = dpiY = probe.resolution();
        return true;
    }

    void NewPage() override
    {
        if (m_painter)
            m_printer->newPage();
    }

    void EndDoc() override
    {
        if (!m_painter)
            return;
        const bool ok = m_painter->end();
        m_painter.reset();
        m_printer.reset();
        if (!ok)
            throw PrinterError(QStringLiteral("プリンタ %1 に印刷できません。").arg(m_name));
    }

    void KillDoc() override
    {
        if (!m_painter)
            return;
        m_printer->abort();
        m_painter->end();
        m_painter.reset();
        m_printer.reset();
    }

protected:
    QPainter &painter() override
    {
        if (m_painter)
            return *m_painter;
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        setUp(*printer);
        printer->setDocName(AppTitle());
        printer->setCopyCount(m_copies);
        if (m_bin != 0) {
            // Windows takes the paper source; CUPS ignores it and takes the InputSlot option.
            printer->setPaperSource(m_bin == 4 ? QPrinter::Manual : QPrinter::Upper);
            printer->printEngine()->setProperty(kCupsOptions, QStringList{QStringLiteral("InputSlot"),
                                                                          m_bin == 4 ? QStringLiteral("Manual")
                                                                                     : QStringLiteral("Upper")});
        }
        auto painter = std::make_unique<QPainter>();
        if (!printer->isValid() || !painter->begin(printer.get()))
            throw PrinterError(QStringLiteral("プリンタ %1 に印刷できません。").arg(m_name));
        m_printer = std::move(printer);
        m_painter = std::move(painter);
        preparePainter(*m_painter);
        return *m_painter;
    }

    double dotsPerInch() const override { return m_printer ? m_printer->resolution() : 600; }

    void drawText(double x, double y, const QString &text) override
    {
        // A page printer has no command font.
        if (!isControlFont())
            PainterSurface::drawText(x, y, text);
    }

private:
    void setUp(QPrinter &printer) const
    {
        printer.setPrinterName(m_name);
        printer.setFullPage(false);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(QPageLayout::Portrait);
    }

    QString m_name;
    int m_copies = 1;
    int m_bin = 0;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
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
