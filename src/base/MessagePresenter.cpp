#include "base/MessagePresenter.h"

namespace {

MessagePresenter *g_presenter = nullptr;

} // namespace

namespace Msg {

QList<int> answersOf(int flags)
{
    switch (flags & 7) {
    case OKCancel: return {OK, Cancel};
    case AbortRetryIgnore: return {Abort, Retry, Ignore};
    case YesNoCancel: return {Yes, No, Cancel};
    case YesNo: return {Yes, No};
    case RetryCancel: return {Retry, Cancel};
    default: return {OK};
    }
}

int defaultAnswer(int flags)
{
    const QList<int> answers = answersOf(flags);
    const int index = (flags & DefaultButton3) ? 2 : (flags & DefaultButton2) ? 1 : 0;
    return answers.value(index, answers.first());
}

} // namespace Msg

MessagePresenter *MessagePresenter::instance()
{
    return g_presenter;
}

void MessagePresenter::install(MessagePresenter *presenter)
{
    g_presenter = presenter;
}

int RecordingPresenter::ask(const QString &prompt, int flags, const QString &title)
{
    const int answer = m_answers.isEmpty() ? Msg::defaultAnswer(flags) : m_answers.takeFirst();
    m_shown.append({prompt, flags, title, answer});
    return answer;
}

QStringList RecordingPresenter::prompts() const
{
    QStringList list;
    for (const Shown &s : m_shown)
        list << s.prompt;
    return list;
}
