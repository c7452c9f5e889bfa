#include "printing/ReceiptSurface.h"

#include "printing/EscPos.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

namespace {

constexpr int kInitialRows = 2400; // 30 cm of slip; grows when a receipt is longer
const double kLeftDots = (EscPos::DotsPerLine - ReceiptSurface::SlipWidthTwips * EscPos::DotsPerInch / 1440.0) / 2;

} // namespace

ReceiptSurface::ReceiptSurface(Sink sink) : m_sink(std::move(sink))
{
    reset();
}

ReceiptSurface::~ReceiptSurface()
{
    if (m_painter)
        m_painter->end();
}

double ReceiptSurface::dotsPerInch() const
{
    return EscPos::DotsPerInch;
}

void ReceiptSurface::reset()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    m_canvas = QImage(EscPos::DotsPerLine, kInitialRows, QImage::Format_Grayscale8);
    m_canvas.fill(255);
    m_commands.clear();
    m_bottom = 0;
    m_title.clear();
}

int ReceiptSurface::rowOf(double twips) const
{
    return int(std::ceil(twips * EscPos::DotsPerInch / 1440.0));
}

void ReceiptSurface::reach(int row)
{
    if (m_title.isEmpty())
        m_title = AppTitle();
    if (row <= m_canvas.height())
        return;
    // A longer slip: copy what is drawn into a taller canvas.
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    QImage taller(EscPos::DotsPerLine, qMax(row + 400, m_canvas.height() * 2), QImage::Format_Grayscale8);
    taller.fill(255);
    {
        QPainter copy(&taller);
        copy.drawImage(0, 0, m_canvas);
    }
    m_canvas = taller;
}

QPainter &ReceiptSurface::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_canvas);
        preparePainter(*m_painter);
        const double scale = EscPos::DotsPerInch / 1440.0;
        m_painter->translate(kLeftDots / scale, 0);
    }
    return *m_painter;
}

void ReceiptSurface::drawText(double x, double y, const QString &text)
{
    if (text.isEmpty())
        return;
    if (isControlFont()) {
        if (m_title.isEmpty())
            m_title = AppTitle();
        for (QChar c : text) {
            const QByteArray bytes = EscPos::controlCommand(c);
            if (!bytes.isEmpty())
                m_commands.append({rowOf(y), bytes, c});
        }
        return;
    }
    const int bottom = rowOf(y + QFontMetricsF(font()).height());
    reach(bottom);
    PainterSurface::drawText(x, y, text);
    m_bottom = qMax(m_bottom, bottom);
}

void ReceiptSurface::drawLine(double x1, double y1, double x2, double y2)
{
    const int bottom = rowOf(qMax(y1, y2)) + DrawWidth() + 1;
    reach(bottom);
    PainterSurface::drawLine(x1, y1, x2, y2);
    m_bottom = qMax(m_bottom, bottom);
}

void ReceiptSurface::drawBox(double x1, double y1, double x2, double y2)
{
    const int bottom = rowOf(qMax(y1, y2)) + DrawWidth() + 1;
    reach(bottom);
    PainterSurface::drawBox(x1, y1, x2, y2);
    m_bottom = qMax(m_bottom, bottom);
}

ReceiptSurface::Job ReceiptSurface::compose() const
{
    Job job;
    job.title = m_title;
    if (m_commands.isEmpty() && m_bottom == 0)
        return job;
    const QImage &canvas = m_canvas;
    job.bytes = EscPos::initialize();
    int row = 0;
    for (const Command &c : m_commands) {
        const int at = qMin(c.row, m_bottom);
        if (at > row) {
            job.bytes += EscPos::raster(canvas, row, at);
            row = at;
        }
        job.bytes += c.bytes;
    }
    if (m_bottom > row)
        job.bytes += EscPos::raster(canvas, row, m_bottom);

    // The picture of the slip as the printer prints it: the raster in black and white, with a marked box where
    // the printer puts a stored logo (the logo pushes the rest of the slip down).
    constexpr int kLogoRows = 64;
    const auto isLogo = [](const Command &c) { return c.key >= u'G' && c.key <= u'K'; };
    const int logos = int(std::count_if(m_commands.begin(), m_commands.end(), isLogo));
    if (m_bottom == 0 && logos == 0)
        return job;
    const QImage bw = canvas.copy(0, 0, EscPos::DotsPerLine, qMax(1, m_bottom))
                          .convertToFormat(QImage::Format_Mono, Qt::ThresholdDither);
    QImage slip(EscPos::DotsPerLine, m_bottom + logos * kLogoRows + 16, QImage::Format_RGB32);
    slip.fill(Qt::white);
    QPainter p(&slip);
    int from = 0;
    int outY = 0;
    for (const Command &c : m_commands) {
        if (!isLogo(c))
            continue;
        const int at = qMin(c.row, m_bottom);
        if (at > from) {
            p.drawImage(QPoint(0, outY), bw, QRect(0, from, EscPos::DotsPerLine, at - from));
            outY += at - from;
            from = at;
        }
        const QRect box(40, outY + 4, EscPos::DotsPerLine - 80, kLogoRows - 8);
        p.setPen(QPen(Qt::darkGray, 2, Qt::DashLine));
        p.drawRect(box);
        QFont f(Surface::faceOf(QString()));
        f.setPixelSize(24);
        p.setFont(f);
        p.drawText(box, Qt::AlignCenter, QStringLiteral("登録ロゴ %1").arg(c.key.unicode() - u'G' + 1));
        outY += kLogoRows;
    }
    if (m_bottom > from)
        p.drawImage(QPoint(0, outY), bw, QRect(0, from, EscPos::DotsPerLine, m_bottom - from));
    p.end();
    job.slip = slip;
    return job;
}

void ReceiptSurface::EndDoc()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    const Job job = compose();
    reset();
    if (!job.bytes.isEmpty() && m_sink)
        m_sink(job);
}

void ReceiptSurface::KillDoc()
{
    reset();
}
