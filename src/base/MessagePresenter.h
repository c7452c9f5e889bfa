#pragma once

#include <QList>
#include <QString>

// Message-box flags and answers, numbered as the register's message boxes always were.
namespace Msg {
enum Flags : int {
    OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5,
    Critical = 16, Question = 32, Exclamation = 48, Information = 64,
    DefaultButton2 = 256, DefaultButton3 = 512,
};
enum Answer : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };

// The answers a button set offers, in the order of its buttons.
QList<int> answersOf(int flags);
// The answer of the default button (first, second or third button by the default-button bits).
int defaultAnswer(int flags);
} // namespace Msg

// Shows a message and returns the operator's answer. The program asks through a message box; tests
// answer from a queue.
class MessagePresenter
{
public:
    virtual ~MessagePresenter() = default;
    virtual int ask(const QString &prompt, int flags, const QString &title) = 0;

    // The presenter in use; nullptr until the program or a test installs one (MsgBoxEx then answers with the
    // default button, so a tool without a screen never blocks).
    static MessagePresenter *instance();
    static void install(MessagePresenter *presenter);
};

// Keeps every message it is shown and answers with queued answers, then with the default button.
class RecordingPresenter : public MessagePresenter
{
public:
    struct Shown { QString prompt; int flags; QString title; int answer; };

    int ask(const QString &prompt, int flags, const QString &title) override;
    void queueAnswer(int answer) { m_answers.append(answer); }
    const QList<Shown> &shown() const { return m_shown; }
    QStringList prompts() const;
    void clear() { m_shown.clear(); m_answers.clear(); }

private:
    QList<int> m_answers;
    QList<Shown> m_shown;
};
