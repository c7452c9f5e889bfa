#include "printing/Surface.h"

#include "base/Common.h"

#include <QFontMetricsF>
#include <cmath>

namespace {

QString gAppTitle = kProductTitle;

} // namespace

QString AppTitle()
{
    return gAppTitle;
}

void SetAppTitle(const QString &title)
{
    gAppTitle = title;
}

Surface::Surface() : m_fontName(QStringLiteral("ＭＳ Ｐゴシック")) {}

Surface::~Surface() = default;

void Surface::setFontName(const QString &name)
{
    m_fontName = name;
    // The receipt printer's device fonts exist in one size only: the one in their name.
    if (name.startsWith(QLatin1String("Japanese"), Qt::CaseInsensitive)) {
        bool ok = false;
        const int size = name.mid(8).toInt(&ok);
        if (ok && size > 0)
            m_fontSize = size;
    }
}

void Surface::setFontSize(double points)
{
    if (!(points > 0))
        throw PrinterError(QStringLiteral("フォントサイズ %1 は設定できません。").arg(points), 380);
    m_fontSize = points;
}

QString Surface::faceOf(const QString &fontName)
{
    // The receipt pads its columns with blanks, as for the receipt printer's own fonts, where every character
    // takes one cell (two for a full-width one): its faces need a fixed pitch, which IPAexGothic's Latin
    // digits and blanks do not have. The page forms place every field themselves and keep the proportional
    // face.
    if (fontName.startsWith(QLatin1String("Japanese"), Qt::CaseInsensitive))
        return QStringLiteral("IPAGothic");
    return QStringLiteral("IPAexGothic");
}

QFont Surface::font() const
{
    QFont f(faceOf(m_fontName));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(qMax(1, int(std::lround(m_fontSize * 20))));
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

double Surface::TextWidth(const QString &text) const
{
    return std::round(QFontMetricsF(font()).horizontalAdvance(text));
}

double Surface::TextHeight(const QString &) const
{
    return std::round(QFontMetricsF(font()).height());
}

void Surface::Print(const QString &text, bool lineEnd)
{
    drawText(CurrentX, CurrentY, text);
    if (lineEnd) {
        CurrentX = 0;
        CurrentY += TextHeight();
    } else {
        CurrentX += TextWidth(text);
    }
}

void Surface::Line(double x1, double y1, double x2, double y2)
{
    drawLine(x1, y1, x2, y2);
    CurrentX = x2;
    CurrentY = y2;
}

void Surface::Box(double x1, double y1, double x2, double y2)
{
    drawBox(x1, y1, x2, y2);
    CurrentX = x2;
    CurrentY = y2;
}
