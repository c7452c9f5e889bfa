#include "base/ScreenGuard.h"

#include "base/Common.h"

#include <QCursor>
#include <QGuiApplication>

void ShowFailure(const std::exception &e, int icon)
{
    MsgBoxEx(QString::fromStdString(e.what()), icon);
}

WaitCursor::WaitCursor()
{
    QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

WaitCursor::~WaitCursor()
{
    QGuiApplication::restoreOverrideCursor();
}
