#include "printing/PrintText.h"

#include "printing/Surface.h"

int PrintText(Surface &surface, float x, float y, const QString &text, qint32 align, qint32 size, float width)
{
    const float avail = width - 28;
    surface.setFontSize(size);
    if (avail != 0) {
        // A field narrower than its margins makes avail negative: the size goes down until the surface refuses
        // it, and that error reaches the caller.
        double points = size;
        while (surface.TextWidth(text) > avail) {
            points -= 1;
            surface.setFontSize(points);
        }
    }
    const double textWidth = surface.TextWidth(text);
    switch (align) {
    case 0: surface.CurrentX = x + 14; break;
    case 1: surface.CurrentX = x + avail - textWidth; break;
    case 2: surface.CurrentX = x + (avail - textWidth) / 2; break;
    default: break;
    }
    surface.CurrentY = y;
    surface.Print(text);
    surface.setFontSize(size);
    return 0;
}
