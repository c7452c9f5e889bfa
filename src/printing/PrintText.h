#pragma once

#include <QString>

class Surface;

// Places one line of text into a field of a form: align 0 left, 1 right, 2 centre; size in points; width of the
// field in twips. The text keeps 14 twips from the field's left end and 28 from its right end, and a text too
// wide for the field is printed in smaller sizes until it fits, never cut off. Any other align leaves the
// horizontal position where it was. The font size is set back to size afterwards. Result 0.
int PrintText(Surface &surface, float x, float y, const QString &text, qint32 align, qint32 size, float width);
