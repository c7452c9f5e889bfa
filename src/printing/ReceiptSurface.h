#pragma once

#include "printing/PainterSurface.h"

#include <QList>
#include <functional>

// The receipt printer: the slip is drawn into a 1-bit picture one dot line (576 dots) wide and goes to the
// printer as raster bands; text in the "control" font becomes the printer's own commands (drawer, cutter,
// stored logos) at that point of the slip. EndDoc hands the job's bytes, and a picture of the slip with the
// commands marked on it, to the sink.
class ReceiptSurface : public PainterSurface
{
public:
    // The slip is 4025.7 twips (71 mm) wide; it sits in the middle of the dot line.
    static constexpr double SlipWidthTwips = 4025.7;

    struct Job {
        QString title;
        QByteArray bytes;
        QImage slip;       // null when the job printed nothing but commands
    };
    using Sink = std::function<void(const Job &)>;

    explicit ReceiptSurface(Sink sink);
    ~ReceiptSurface() override;

    bool isPrinter() const override { return true; }
    void EndDoc() override;
    void KillDoc() override;

    // The bytes and picture of the job drawn so far (what EndDoc would send).
    Job compose() const;

protected:
    QPainter &painter() override;
    double dotsPerInch() const override;
    void drawText(double x, double y, const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawBox(double x1, double y1, double x2, double y2) override;

private:
    struct Command { int row; QByteArray bytes; QChar key; };
    int rowOf(double twips) const;
    void reach(int row);
    void reset();

    Sink m_sink;
    QImage m_canvas;
    std::unique_ptr<QPainter> m_painter;
    QList<Command> m_commands;
    int m_bottom = 0; // first row below everything drawn
    QString m_title;
};
