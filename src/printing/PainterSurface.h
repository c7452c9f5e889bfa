#pragma once

#include "printing/Surface.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <functional>
#include <memory>

class QPdfWriter;

// Draws with QPainter on a paint device whose resolution is known: the painter is scaled so that one unit is
// one twip, fonts are sized in twips and the line width counts device dots.
class PainterSurface : public Surface
{
public:
    ~PainterSurface() override;

protected:
    // The painter of the page being drawn; a printer starts its job here.
    virtual QPainter &painter() = 0;
    // Dots per inch of the device the painter draws on.
    virtual double dotsPerInch() const = 0;
    // Sets up a painter that has just begun on its device: twips transform, antialiasing.
    void preparePainter(QPainter &p) const;

    void drawText(double x, double y, const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawBox(double x1, double y1, double x2, double y2) override;

private:
    QPen pen() const;
};

// The preview's picture: an image at screen resolution (15 twips to the pixel).
class PictureSurface : public PainterSurface
{
public:
    static constexpr double TwipsPerPixel = 15.0;
    explicit PictureSurface(const QSize &pixels);
    ~PictureSurface() override;

    bool isPrinter() const override { return false; }
    void Cls() override;
    const QImage &image();

protected:
    QPainter &painter() override;
    double dotsPerInch() const override { return 1440.0 / TwipsPerPixel; }

private:
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
};

// A4 portrait in twips: the page of both report forms.
inline constexpr double kPageWidthTwips = 11907;
inline constexpr double kPageHeightTwips = 16839.9;

// A page printer that makes PDF. With a sink it is a printer: every job (EndDoc) is a PDF document of its own,
// handed to the sink with the job's title and the printer properties it was printed with. With a path it
// collects every job as pages of that one file, which Close writes (the preview's "save as PDF").
class PdfSurface : public PainterSurface
{
public:
    static constexpr int Dpi = 600;
    struct Job {
        QString title;      // the application title when the job began
        QByteArray pdf;
        int copies = 1;
        int paperBin = 0;   // 0 when no bin was chosen
    };
    using Sink = std::function<void(const Job &)>;
    explicit PdfSurface(Sink sink);
    // One document at path; the surface acts as a printer (forms draw as on paper).
    explicit PdfSurface(const QString &path);
    ~PdfSurface() override;

    bool isPrinter() const override { return true; }
    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;
    int Copies() const override { return m_copies; }
    void setCopies(int copies) override { m_copies = qMax(1, copies); }
    void setPaperBin(int bin) override { m_paperBin = bin; }
    bool physicalOffset(double &x, double &y, double &dpiX, double &dpiY) const override;
    // Writes the single document (fixed path only); false when nothing was drawn.
    bool Close();

protected:
    QPainter &painter() override;
    double dotsPerInch() const override { return Dpi; }
    void drawText(double x, double y, const QString &text) override;
    // Where drawing starts, in points from the paper's corner: the corner of a printer's printable area, so that
    // a form lands on the PDF page where the printer would put it. A PDF file has no border.
    virtual QPointF printableCorner() const { return {}; }

private:
    void finish();
    void reset();

    Sink m_sink;
    bool m_single = false;
    bool m_pageBreakPending = false;
    int m_copies = 1;
    int m_paperBin = 0;
    QString m_path;
    QString m_title;
    std::unique_ptr<QBuffer> m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
};
