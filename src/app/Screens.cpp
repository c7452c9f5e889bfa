#include "app/Screens.h"

#include "app/BackupDb.h"
#include "app/InitObj.h"
#include "app/StartUp.h"
#include "base/ProgressWindow.h"
#include "base/ScreenGuard.h"
#include "calendar/frmSetCal.h"
#include "checkout/frmReg.h"
#include "data/DataEvents.h"
#include "settings/SetMenu.h"
#include "settlement/frmAdj.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

namespace {

// A top-level screen is laid out once at its working size: its design scaled to the screen.
void fitToScreen(QWidget *window)
{
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize design = window->size();
        const QSize room = screen->availableGeometry().size() * 0.9;
        const double factor = std::max(1.0, std::min(double(room.width()) / design.width(),
                                                     double(room.height()) / design.height()));
        window->resize(qRound(design.width() * factor), qRound(design.height() * factor));
    }
}

// Shows a screen as the run's window; the keys go to it at once, with or without a window manager.
void showAsRunWindow(QWidget *window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    fitToScreen(window);
    window->show();
    window->activateWindow();
}

// The end of the run: the database is closed and backed up, a window showing how far the copy has come.
void endRun()
{
    ProgressWindow backup(kBackupCaption);
    StartUp::EndRun(backup);
}

// The register was closed: a sale that was not stored is lost. With daily closing in use and sales not
// closed yet the settlement screen takes over; otherwise the database is closed, backed up, and the run ends.
void registerClosed()
{
    bool settlement = false;
    guarded([&settlement] { settlement = StartUp::SettlementTakesOver(); });
    if (settlement)
        OpenSettlement();
    else
        endRun();
}

} // namespace

StartUp::CalendarExit ShowCalendar()
{
    frmSetCal calendar;
    fitToScreen(&calendar);
    switch (calendar.exec()) {
    case QDialog::Accepted:
        return StartUp::CalendarExit::Confirmed;
    case frmSetCal::EndProgram:
        return StartUp::CalendarExit::EndProgram;
    default:
        return StartUp::CalendarExit::Closed;
    }
}

frmReg *OpenRegister()
{
    auto *window = new frmReg;
    QObject::connect(window, &frmReg::closed, window, registerClosed);
    showAsRunWindow(window);
    return window;
}

frmAdj *OpenSettlement()
{
    auto *window = new frmAdj;
    QObject::connect(window, &frmAdj::closed, window, endRun);
    showAsRunWindow(window);
    window->setFocus();
    return window;
}

void ConnectDataEvents(QObject *context)
{
    QObject::connect(&DataEvents::instance(), &DataEvents::connectionSettingsWanted, context,
                     [] { OpenConnectionSettings(nullptr); });
    QObject::connect(&DataEvents::instance(), &DataEvents::programEndWanted, context, [] {
        ReleaseObj();
        std::exit(0);
    });
}
