#pragma once

#include "base/Progress.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QProgressBar;

// A small window over long work that runs on the window thread: its caption and a progress bar of the
// work's own steps. It appears once the work has run `showAfterMs` from its first report (0: at that
// report, which the work makes before its first step), so short work shows nothing. While it is up, every
// report lets the window thread paint and take events; being application-modal it takes the keys and
// clicks away from every other window, and it cannot be closed (its close button and Esc are ignored). It
// goes when the work reports its last step done, or when it is destroyed.
class ProgressWindow : public QDialog, public Progress
{
    Q_OBJECT

public:
    explicit ProgressWindow(const QString &caption, int showAfterMs = 0, QWidget *parent = nullptr);
    ~ProgressWindow() override;

    void report(qint64 done, qint64 total) override;

    QLabel *lblCaption = nullptr;
    QProgressBar *barProgress = nullptr;

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void appear();

    int m_showAfterMs;
    QElapsedTimer m_running;
    QElapsedTimer m_sinceEvents;
};
