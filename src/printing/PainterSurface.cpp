#include "printing/PainterSurface.h"

#include <QFile>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

PainterSurface::~PainterSurface() = default;

void PainterSurface::preparePainter(QPainter &p) const
{
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const double scale = dotsPerInch() / 1440.0;
    p.resetTransform();
    p.scale(scale, scale);
}

QPen PainterSurface::pen() const
{
    // The width counts device dots; under the twips transform that is dots * 1440 / dpi.
    QPen pen(Qt::black);
    pen.setWidthF(DrawWidth() * 1440.0 / dotsPerInch());
    pen.setCapStyle(Qt::FlatCap);
    switch (DrawStyle()) {
    case Dash: pen.setStyle(Qt::DashLine); break;
    case Dot: pen.setStyle(Qt::DotLine); break;
    default: pen.setStyle(Qt::SolidLine); break;
    }
    return pen;
}

void PainterSurface::drawText(double x, double y, const QString &text)
{
    if (text.isEmpty())
        return;
    QPainter &p = painter();
    const QFont f = font();
    p.setFont(f);
    p.setPen(Qt::black);
    // The position is the top left of the text's cell, as on the printer.
    p.drawText(QPointF(x, y + QFontMetricsF(f).ascent()), text);
}

void PainterSurface::drawLine(double x1, double y1, double x2, double y2)
{
    QPainter &p = painter();
    p.setPen(pen());
    p.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterSurface::drawBox(double x1, double y1, double x2, double y2)
{
    QPainter &p = painter();
    p.setPen(pen());
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)).normalized());
}

// --- the preview picture ---

PictureSurface::PictureSurface(const QSize &pixels)
    : m_image(pixels.expandedTo(QSize(1, 1)), QImage::Format_RGB32)
{
    m_image.fill(Qt::white);
}

PictureSurface::~PictureSurface()
{
    if (m_painter)
        m_painter->end();
}

QPainter &PictureSurface::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        preparePainter(*m_painter);
    }
    return *m_painter;
}

void PictureSurface::Cls()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    m_image.fill(Qt::white);
    CurrentX = 0;
    CurrentY = 0;
}

const QImage &PictureSurface::image()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    return m_image;
}

// --- PDF ---

PdfSurface::PdfSurface(Sink sink) : m_sink(std::move(sink)) {}

PdfSurface::PdfSurface(const QString &path) : m_single(true), m_path(path) {}

PdfSurface::~PdfSurface()
{
    if (m_single)
        Close();
    else
        reset();
}

QPainter &PdfSurface::painter()
{
    if (m_painter) {
        if (m_pageBreakPending) {
            m_pageBreakPending = false;
            m_writer->newPage();
        }
        return *m_painter;
    }
    m_title = AppTitle();
    std::unique_ptr<QPdfWriter> writer;
    if (m_single) {
        writer = std::make_unique<QPdfWriter>(m_path);
    } else {
        m_buffer = std::make_unique<QBuffer>();
        m_buffer->open(QIODevice::WriteOnly);
        writer = std::make_unique<QPdfWriter>(m_buffer.get());
    }
    writer->setResolution(Dpi);
    writer->setTitle(m_title);
    writer->setCreator(QStringLiteral("Marveno"));
    const QPointF corner = printableCorner();
    writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(corner.x(), corner.y(), 0, 0), QPageLayout::Point));
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(writer.get()))
        throw PrinterError(m_single ? QStringLiteral("PDF ファイル %1 を作成できません。").arg(m_path)
                                    : QStringLiteral("印刷する PDF を作成できません。"));
    preparePainter(*painter);
    m_writer = std::move(writer);
    m_painter = std::move(painter);
    m_pageBreakPending = false;
    return *m_painter;
}

void PdfSurface::drawText(double x, double y, const QString &text)
{
    // A page printer has no command font: what is printed in it would only spoil the page.
    if (isControlFont())
        return;
    PainterSurface::drawText(x, y, text);
}

void PdfSurface::NewPage()
{
    if (m_painter)
        m_pageBreakPending = true;
}

void PdfSurface::reset()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_painter.reset();
    m_writer.reset();
    m_buffer.reset();
    m_pageBreakPending = false;
}

void PdfSurface::finish()
{
    if (!m_painter)
        return;
    m_painter->end();
    Job job{m_title, m_buffer ? m_buffer->data() : QByteArray(), m_copies, m_paperBin};
    reset();
    if (!m_single && m_sink)
        m_sink(job);
}

void PdfSurface::EndDoc()
{
    if (m_single) {
        // Each job of a form is one page of the document.
        NewPage();
        return;
    }
    finish();
}

void PdfSurface::KillDoc()
{
    if (!m_painter)
        return;
    reset();
    if (m_single)
        QFile::remove(m_path);
}

bool PdfSurface::Close()
{
    const bool drawn = m_painter != nullptr;
    finish();
    return drawn;
}

bool PdfSurface::physicalOffset(double &x, double &y, double &dpiX, double &dpiY) const
{
    // A PDF page has no unprintable border.
    x = y = 0;
    dpiX = dpiY = Dpi;
    return true;
}
