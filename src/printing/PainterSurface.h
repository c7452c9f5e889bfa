#pragma once

#include "printing/Surface.h"

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

// A page printer that writes PDF files. With a file chooser it is a printer: every job (EndDoc) is a file of
// its own, named when the job begins. With a fixed path it collects every job as pages of that one file, which
// Close writes (the preview's "save as PDF").
class PdfSurface : public PainterSurface
{
public:
    static constexpr int Dpi = 600;
    // Called when a job begins; returns the file to write it to.
    using FileChooser = std::function<QString()>;
    explicit PdfSurface(FileChooser chooser);
    // One document at path; the surface acts as a printer (forms draw as on paper).
    explicit PdfSurface(const QString &path);
    ~PdfSurface() override;

    bool isPrinter() const override { return true; }
    void NewPage() override;
    void EndDoc() override;
    void KillDoc() override;
    int Copies() const override { return m_copies; }
    void setCopies(int copies) override { m_copies = copies; }
    bool physicalOffset(double &x, double &y, double &dpiX, double &dpiY) const override;
    // Writes the single document (fixed path only); false when nothing was drawn.
    bool Close();
    // Files written so far.
    const QStringList &files() const { return m_files; }

protected:
    QPainter &painter() override;
    double dotsPerInch() const override { return Dpi; }
    void drawText(double x, double y, const QString &text) override;

private:
    void finish();

    FileChooser m_chooser;
    bool m_single = false;
    bool m_pageBreakPending = false;
    int m_copies = 1;
    QString m_path;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    QStringList m_files;
};
