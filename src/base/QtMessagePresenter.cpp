#include "base/QtMessagePresenter.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString buttonText(int answer)
{
    switch (answer) {
    case Msg::OK: return QStringLiteral("OK");
    case Msg::Cancel: return QStringLiteral("キャンセル");
    case Msg::Abort: return QStringLiteral("中止");
    case Msg::Retry: return QStringLiteral("再試行");
    case Msg::Ignore: return QStringLiteral("無視");
    case Msg::Yes: return QStringLiteral("はい");
    case Msg::No: return QStringLiteral("いいえ");
    default: return QString();
    }
}

QMessageBox::ButtonRole roleOf(int answer)
{
    switch (answer) {
    case Msg::OK: case Msg::Yes: case Msg::Retry: return QMessageBox::AcceptRole;
    case Msg::No: return QMessageBox::NoRole;
    default: return QMessageBox::RejectRole;
    }
}

QMessageBox::Icon iconOf(int flags)
{
    switch (flags & 0x70) {
    case Msg::Critical: return QMessageBox::Critical;
    case Msg::Question: return QMessageBox::Question;
    case Msg::Exclamation: return QMessageBox::Warning;
    case Msg::Information: return QMessageBox::Information;
    default: return QMessageBox::NoIcon;
    }
}

} // namespace

int QtMessagePresenter::ask(const QString &prompt, int flags, const QString &title)
{
    QMessageBox box(iconOf(flags), title, prompt, QMessageBox::NoButton, QApplication::activeWindow());
    const QList<int> answers = Msg::answersOf(flags);
    QList<QPair<QAbstractButton *, int>> buttons;
    for (int answer : answers)
        buttons.append({box.addButton(buttonText(answer), roleOf(answer)), answer});
    const int defaultAnswer = Msg::defaultAnswer(flags);
    for (const auto &[button, answer] : buttons) {
        if (answer == defaultAnswer)
            box.setDefaultButton(static_cast<QPushButton *>(button));
        // Esc answers Cancel where there is one, else No, else the only button.
        if (answer == Msg::Cancel || (answer == Msg::No && !answers.contains(Msg::Cancel))
            || answers.size() == 1)
            box.setEscapeButton(button);
    }
    box.exec();
    for (const auto &[button, answer] : buttons)
        if (box.clickedButton() == button)
            return answer;
    return answers.contains(Msg::Cancel) ? int(Msg::Cancel) : defaultAnswer;
}
