#pragma once

#include "printing/Surface.h"

#include <QList>
#include <optional>

// A surface that keeps what is drawn on it instead of drawing: every text with its position and font, every
// line and box with its width and style, grouped into the jobs that EndDoc closes. Tests draw the forms on it;
// registered as a printer (see Printers) it stands in for a real one.
class RecordingSurface : public Surface
{
public:
    struct Text { double x; double y; QString text; QString font; double size; };
    struct Stroke { double x1; double y1; double x2; double y2; int width; int style; bool box; };
    struct Job {
        QString title;
        int copies = 1;
        int paperBin = 0;
        QList<Text> texts;
        QList<Stroke> strokes;
    };

    explicit RecordingSurface(bool printer = false) : m_printer(printer) {}

    bool isPrinter() const override { return m_printer; }
    void Cls() override;
    void NewPage() override { start(); }
    void EndDoc() override;
    void KillDoc() override { Cls(); }
    int Copies() const override { return m_copies; }
    void setCopies(int copies) override { m_copies = copies; }
    void setPaperBin(int bin) override { m_paperBin = bin; }
    bool physicalOffset(double &x, double &y, double &dpiX, double &dpiY) const override;

    // A printer whose printable area starts that many device pixels in from the paper's corner.
    void setPhysicalOffset(double x, double y, double dpi) { m_offset = Offset{x, y, dpi}; }

    // The drawing not yet ended, and the jobs ended so far.
    const Job &current() const { return m_current; }
    const QList<Job> &jobs() const { return m_jobs; }
    bool pending() const { return m_started; }
    // Texts of the current drawing, in order.
    QStringList texts() const;
    void clear()
    {
        Cls();
        m_jobs.clear();
    }

protected:
    void drawText(double x, double y, const QString &text) override;
    void drawLine(double x1, double y1, double x2, double y2) override;
    void drawBox(double x1, double y1, double x2, double y2) override;

private:
    void start();

    bool m_printer;
    bool m_started = false;
    int m_copies = 1;
    int m_paperBin = 0;
    struct Offset { double x, y, dpi; };
    std::optional<Offset> m_offset;
    Job m_current;
    QList<Job> m_jobs;
};
