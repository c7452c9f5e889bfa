#include "base/FormScaler.h"

#include <cmath>

FormScaler::FormScaler(QWidget *form, double designWidth, double designHeight)
    : QObject(form), m_form(form), m_designWidth(designWidth), m_designHeight(designHeight)
{
}

void FormScaler::place(QWidget *control, double left, double top, double width, double height, double fontPoints)
{
    for (Design &d : m_controls) {
        if (d.control == control) {
            d.twips = QRectF(left, top, width, height);
            d.fontPoints = fontPoints;
            return;
        }
    }
    m_controls.append({control, QRectF(left, top, width, height), fontPoints});
}

double FormScaler::horizontalFactor() const
{
    return m_form->width() * TwipsPerPixel / m_designWidth;
}

double FormScaler::verticalFactor() const
{
    return m_form->height() * TwipsPerPixel / m_designHeight;
}

QSize FormScaler::designSize() const
{
    return QSize(qRound(m_designWidth / TwipsPerPixel), qRound(m_designHeight / TwipsPerPixel));
}

void FormScaler::apply()
{
    const double fx = horizontalFactor();
    const double fy = verticalFactor();
    for (const Design &d : m_controls) {
        QWidget *control = d.control;
        if (!control)
            continue;
        const QRectF &r = d.twips;
        control->setGeometry(qRound(r.left() * fx / TwipsPerPixel), qRound(r.top() * fy / TwipsPerPixel),
                             qRound(r.width() * fx / TwipsPerPixel), qRound(r.height() * fy / TwipsPerPixel));
        if (d.fontPoints > 0) {
            QFont font = control->font();
            font.setPointSizeF(std::max(1.0, std::nearbyint(d.fontPoints * fy)));
            control->setFont(font);
        }
    }
}
