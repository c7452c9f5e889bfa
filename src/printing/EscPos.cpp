#include "printing/EscPos.h"

namespace EscPos {

QByteArray initialize()
{
    return QByteArray("\x1b\x40", 2);
}

QByteArray drawerKick()
{
    return QByteArray("\x1b\x70\x00\x19\xfa", 5);
}

QByteArray feedAndCut()
{
    return QByteArray("\x1d\x56\x42\x03", 4);
}

QByteArray storedLogo(int n)
{
    QByteArray out("\x1c\x70", 2);
    out.append(char(n));
    out.append('\0');
    return out;
}

QByteArray controlCommand(QChar c)
{
    const char16_t u = c.unicode();
    if (u == u'A')
        return drawerKick();
    if (u == u'P')
        return feedAndCut();
    if (u >= u'G' && u <= u'K')
        return storedLogo(u - u'G' + 1);
    return {};
}

QByteArray raster(const QImage &image, int top, int bottom, int bandRows)
{
    QByteArray out;
    if (image.isNull())
        return out;
    const QImage gray = image.format() == QImage::Format_Grayscale8 ? image
                                                                     : image.convertToFormat(QImage::Format_Grayscale8);
    top = qMax(0, top);
    bottom = qMin(bottom, gray.height());
    const int width = gray.width();
    const int bytesPerRow = (width + 7) / 8;
    for (int bandTop = top; bandTop < bottom; bandTop += bandRows) {
        const int rows = qMin(bandRows, bottom - bandTop);
        const char header[] = {'\x1d', 'v', '0', '\0', char(bytesPerRow & 0xff), char(bytesPerRow >> 8),
                               char(rows & 0xff), char(rows >> 8)};
        out.append(header, sizeof header);
        const qsizetype start = out.size();
        out.resize(start + qsizetype(bytesPerRow) * rows, '\0');
        char *dst = out.data() + start;
        for (int r = 0; r < rows; ++r) {
            const uchar *src = gray.constScanLine(bandTop + r);
            char *row = dst + qsizetype(r) * bytesPerRow;
            for (int x = 0; x < width; ++x)
                if (src[x] < 128)
                    row[x >> 3] = char(uchar(row[x >> 3]) | (0x80 >> (x & 7)));
        }
    }
    return out;
}

} // namespace EscPos
