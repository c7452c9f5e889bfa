#pragma once

#include "base/MessagePresenter.h"

#include <exception>

// What a screen does when one of its actions fails: the failure's description is shown through MsgBoxEx
// (so it is also logged), with the exclamation icon unless the screen says otherwise, and the rest of the
// action is abandoned. Every failure of the register carries its description as what().
void ShowFailure(const std::exception &e, int icon = Msg::Exclamation);

// Runs one action of a screen (an event handler's work); false when it failed and the failure was shown.
template <typename Work> bool guarded(Work &&work, int icon = Msg::Exclamation)
{
    try {
        work();
        return true;
    } catch (const std::exception &e) {
        ShowFailure(e, icon);
        return false;
    }
}

// The hourglass pointer while a scope runs. Left through an exception, it is gone before the failure is
// shown.
class WaitCursor
{
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;
};
