#pragma once

#include <QFont>
#include <QString>
#include <stdexcept>

// The application's title: the name the print spooler shows for a job. Forms set it while they print and set it
// back to the product title afterwards; every surface names its job by it.
QString AppTitle();
void SetAppTitle(const QString &title);

// A failure of a printer or of the way to it, numbered like the printer error of old (482) so that the
// receipt can offer to go on without printing.
class PrinterError : public std::runtime_error
{
public:
    explicit PrinterError(const QString &description, int number = 482)
        : std::runtime_error(description.toStdString()), m_description(description), m_number(number)
    {
    }
    const QString &description() const { return m_description; }
    int number() const { return m_number; }

private:
    QString m_description;
    int m_number;
};

// What every printed form draws on: the printer or a picture of the preview. Coordinates are twips
// (1440 to the inch, 567 to the centimetre) from the surface's top left. Like the printer object of old it
// keeps a current position: Print places text there and moves it; Line and Box leave it at their end point.
//
// Fonts are looked up by name: the receipt printer's device fonts "Japanese22"/"Japanese11" take their size
// from the name and map to a fixed-pitch Japanese gothic (IPAGothic), "control" is the receipt printer's
// command font (its characters are commands, not glyphs), every other name maps to the proportional Japanese
// gothic (IPAexGothic). Text widths are measured from the real font, so a
// recording surface in a test places text exactly as the printer does.
class Surface
{
public:
    enum DrawStyleKind { Solid = 0, Dash = 1, Dot = 2 };

    Surface();
    virtual ~Surface();
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;

    // True for a printer (forms then use the printer offsets, paper bins and thick lines and end the job),
    // false for a picture of the preview.
    virtual bool isPrinter() const = 0;

    double CurrentX = 0;
    double CurrentY = 0;

    QString FontName() const { return m_fontName; }
    void setFontName(const QString &name);
    double FontSize() const { return m_fontSize; }
    // A size of 0 or below is refused with an error, as the printer always did.
    void setFontSize(double points);
    int FontCharset() const { return m_charset; }
    void setFontCharset(int charset) { m_charset = charset; }
    // Line width in device dots (pixels of the printer or of the picture).
    int DrawWidth() const { return m_drawWidth; }
    void setDrawWidth(int width) { m_drawWidth = width < 1 ? 1 : width; }
    int DrawStyle() const { return m_drawStyle; }
    void setDrawStyle(int style) { m_drawStyle = style; }

    // Width and height of a text in the current font, in whole twips.
    double TextWidth(const QString &text) const;
    double TextHeight(const QString &text = QStringLiteral("Ag")) const;

    // Prints at the current position (an empty text only moves it). With a line end the position goes to the start of the next line,
    // without it the position stays on the line just after the text.
    void Print(const QString &text, bool lineEnd = true);
    // A line from (x1, y1) to (x2, y2); the current position becomes (x2, y2).
    void Line(double x1, double y1, double x2, double y2);
    // The rectangle between two corners; the current position becomes (x2, y2).
    void Box(double x1, double y1, double x2, double y2);

    // Clears a picture; does nothing on a printer.
    virtual void Cls() {}
    virtual void NewPage() {}
    // Ends the print job: what was drawn goes to the printer. Nothing drawn, nothing sent.
    virtual void EndDoc() {}
    // Throws away what was drawn since the job began.
    virtual void KillDoc() {}

    // Printer properties (ignored on a picture). Copies and the paper bin apply to the next job.
    virtual int Copies() const { return 1; }
    virtual void setCopies(int) {}
    // Bin codes of old: 1 upper tray, 4 manual feed.
    virtual void setPaperBin(int) {}
    // The printable area's offset from the paper's corner in device pixels and the device's pixels per
    // inch; false when there is no device to ask.
    virtual bool physicalOffset(double &, double &, double &, double &) const { return false; }

    // The face a font name maps to, and the font used for drawing and measuring: its
    // pixel size is the point size in twips (20 twips to the point).
    static QString faceOf(const QString &fontName);
    QFont font() const;
    bool isControlFont() const { return m_fontName.compare(QLatin1String("control"), Qt::CaseInsensitive) == 0; }

protected:
    virtual void drawText(double x, double y, const QString &text) = 0;
    virtual void drawLine(double x1, double y1, double x2, double y2) = 0;
    virtual void drawBox(double x1, double y1, double x2, double y2) = 0;

private:
    QString m_fontName;
    double m_fontSize = 10;
    int m_charset = 128;
    int m_drawWidth = 1;
    int m_drawStyle = Solid;
};
