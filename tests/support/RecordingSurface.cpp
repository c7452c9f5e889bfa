#include "support/RecordingSurface.h"

void RecordingSurface::start()
{
    if (m_started)
        return;
    m_started = true;
    m_current.title = AppTitle();
    m_current.copies = m_copies;
    m_current.paperBin = m_paperBin;
}

void RecordingSurface::drawText(double x, double y, const QString &text)
{
    start();
    m_current.texts.append({x, y, text, FontName(), FontSize()});
}

void RecordingSurface::drawLine(double x1, double y1, double x2, double y2)
{
    start();
    m_current.strokes.append({x1, y1, x2, y2, DrawWidth(), DrawStyle(), false});
}

void RecordingSurface::drawBox(double x1, double y1, double x2, double y2)
{
    start();
    m_current.strokes.append({x1, y1, x2, y2, DrawWidth(), DrawStyle(), true});
}

void RecordingSurface::Cls()
{
    m_current = Job();
    m_started = false;
}

void RecordingSurface::EndDoc()
{
    if (m_started)
        m_jobs.append(m_current);
    Cls();
}

bool RecordingSurface::physicalOffset(double &x, double &y, double &dpiX, double &dpiY) const
{
    if (!m_offset)
        return false;
    x = m_offset->x;
    y = m_offset->y;
    dpiX = dpiY = m_offset->dpi;
    return true;
}

QStringList RecordingSurface::texts() const
{
    QStringList out;
    for (const Text &t : m_current.texts)
        out.append(t.text);
    return out;
}
