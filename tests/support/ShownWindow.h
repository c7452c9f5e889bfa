#pragma once

#include <QApplication>
#include <QWidget>

// The visible top-level window of that class (the settlement screen the program opened when the register
// closed), or nullptr.
template <typename T> T *shownWindow()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (auto *window = qobject_cast<T *>(w); window && window->isVisible())
            return window;
    }
    return nullptr;
}
