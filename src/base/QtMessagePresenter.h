#pragma once

#include "base/MessagePresenter.h"

// Asks the operator with a message box: Japanese buttons, the icon of the flags, the default button they
// choose, and the message box in front of the active window.
class QtMessagePresenter : public MessagePresenter
{
public:
    int ask(const QString &prompt, int flags, const QString &title) override;
};
