#pragma once

#include <QApplication>
#include <QDialog>
#include <QStringList>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

// Watches for the next modal dialog of class T and runs `act` on it as soon as it is up; a dialog still open
// afterwards is rejected so that a failing check never leaves the test waiting. The watch ends with its guard.
class ModalWatch
{
public:
    template <typename T> static ModalWatch on(std::function<void(T *)> act)
    {
        ModalWatch watch;
        auto seen = watch.m_seen;
        auto *timer = new QTimer(qApp);
        watch.m_timer = timer;
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, qApp, [timer, seen, act] {
            auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            timer->stop();
            *seen = true;
            dialog->activateWindow();
            if (!QTest::qWaitForWindowActive(dialog))
                qWarning("dialog %s did not become active", T::staticMetaObject.className());
            act(dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        timer->start();
        return watch;
    }
    // Rejects the next modal dialog of any kind, appending its caption to `captions` (which must outlive the guard).
    static ModalWatch closeNext(QStringList &captions)
    {
        return on<QDialog>([&captions](QDialog *dialog) { captions << dialog->windowTitle(); });
    }
    ModalWatch(ModalWatch &&other) noexcept : m_seen(other.m_seen), m_timer(other.m_timer) { other.m_timer = nullptr; }
    ~ModalWatch()
    {
        if (m_timer)
            m_timer->deleteLater();
    }
    bool seen() const { return *m_seen; }

private:
    ModalWatch() = default;
    std::shared_ptr<bool> m_seen = std::make_shared<bool>(false);
    QPointer<QTimer> m_timer;
};
