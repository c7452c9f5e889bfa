#pragma once

#include <QByteArray>
#include <QChar>
#include <QImage>

// The receipt printer's command language. The slip is printed as a raster picture, so the printer needs no
// fonts of its own; the few things it does by itself (drawer, cutter, stored logos) are single commands.
namespace EscPos {

// One dot line of the 80 mm printer: 576 dots at 8 dots to the millimetre (203.2 dots per inch).
inline constexpr int DotsPerLine = 576;
inline constexpr double DotsPerInch = 203.2;
// Rows per raster command: small enough for the input buffer of every printer of this class.
inline constexpr int BandRows = 128;

// ESC @: the printer's settings back to their defaults at the start of every job.
QByteArray initialize();
// ESC p 0 25 250: a pulse of 50 ms on drawer pin 2, then 500 ms off.
QByteArray drawerKick();
// GS V 66 3: feed to the cutter (plus 3 dots) and cut.
QByteArray feedAndCut();
// FS p n 0: the stored logo n (1..5) at normal size.
QByteArray storedLogo(int n);
// The command a character of the "control" font stands for: "A" drawer, "P" cut, "G".."K" logos 1..5;
// any other character is nothing.
QByteArray controlCommand(QChar c);

// Rows [top, bottom) of a picture as GS v 0 raster commands of at most bandRows rows each. A pixel darker than
// mid grey is a black dot. Rows are as wide as the picture, padded to whole bytes.
QByteArray raster(const QImage &image, int top, int bottom, int bandRows = BandRows);

} // namespace EscPos
