#include "base/ProgressWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// The bar counts in tenths of a percent: work of millions of steps still moves it smoothly.
constexpr int kBarSteps = 1000;
// Events are taken about thirty times a second: often enough to paint, seldom enough to cost nothing.
constexpr qint64 kEventsEveryMs = 30;

} // namespace

ProgressWindow::ProgressWindow(const QString &caption, int showAfterMs, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), m_showAfterMs(showAfterMs)
{
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    // Without a window manager there is no title bar: the caption is also the window's text.
    lblCaption = new QLabel(caption, this);
    QFont font = lblCaption->font();
    font.setPointSize(16);
    lblCaption->setFont(font);
    lblCaption->setAlignment(Qt::AlignCenter);
    barProgress = new QProgressBar(this);
    barProgress->setRange(0, kBarSteps);
    barProgress->setValue(0);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 18, 24, 18);
    layout->setSpacing(12);
    layout->addWidget(lblCaption);
    layout->addWidget(barProgress);
    setFixedSize(420, 130);
}

ProgressWindow::~ProgressWindow() = default;

void ProgressWindow::report(qint64 done, qint64 total)
{
    if (!m_running.isValid())
        m_running.start(); // the work has begun: the delay counts from here
    if (total > 0 && done >= total) {
        // Done: the window goes, and work reported afterwards counts as new work.
        m_running.invalidate();
        barProgress->setValue(kBarSteps);
        hide();
        return;
    }
    if (total > 0) {
        if (barProgress->maximum() == 0)
            barProgress->setRange(0, kBarSteps);
        barProgress->setValue(int(qMax<qint64>(0, done) * kBarSteps / total));
    } else {
        barProgress->setRange(0, 0); // the size of the work is not known: a moving bar
    }
    if (!isVisible()) {
        if (m_running.elapsed() < m_showAfterMs)
            return;
        appear();
    } else if (m_sinceEvents.isValid() && m_sinceEvents.elapsed() < kEventsEveryMs) {
        return;
    }
    QCoreApplication::processEvents();
    m_sinceEvents.start();
}

void ProgressWindow::appear()
{
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow(); // a register may run without a window manager: the window puts itself in front
}

void ProgressWindow::reject()
{
    // Esc: the work goes on, and so does the window.
}

void ProgressWindow::closeEvent(QCloseEvent *event)
{
    event->ignore();
}
