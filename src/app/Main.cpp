#include "app/Main.h"

#include "app/BackupDb.h"
#include "app/Common.h"
#include "app/Globals.h"
#include "app/QtMessagePresenter.h"
#include "app/SettlementHooks.h"
#include "app/SingleInstance.h"
#include "app/StartUp.h"
#include "base/ProgressWindow.h"
#include "calendar/frmSetCal.h"
#include "checkout/frmReg.h"
#include "data/clsData.h"
#include "printing/SystemPrinters.h"
#include "settlement/SetCls.h"
#include "settlement/frmAdj.h"
#include "settings/SetMenu.h"

#include <QApplication>
#include <QFont>
#include <QScreen>
#include <algorithm>
#include <cstdlib>

namespace {

void useJapaneseFonts(QApplication &app)
{
    // The screens name the Windows Japanese fonts; here the IPAex fonts draw them.
    for (const char *name : {"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "MS PGothic", "MS Gothic"})
        QFont::insertSubstitution(QString::fromUtf8(name), QStringLiteral("IPAexGothic"));
    QFont font(QStringLiteral("IPAexGothic"), 11);
    app.setFont(font);
}

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

// The calendar at start: a new screen each time, so it opens on the date just proposed.
StartUp::CalendarExit showCalendar()
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

void showRegister()
{
    auto *window = new frmReg;
    window->setAttribute(Qt::WA_DeleteOnClose);
    fitToScreen(window);
    window->show();
    window->activateWindow(); // the keys go to it at once, with or without a window manager
}

} // namespace

int Main(QApplication &app)
{
    // One running copy: a second start ends at once and says nothing. Static, so that the lock is also
    // given back when the program ends through std::exit.
    static SingleInstance instance;
    if (!instance.acquire())
        return 0;

    static QtMessagePresenter presenter;
    MessagePresenter::install(&presenter);
    useJapaneseFonts(app);
    clsData::setProgramEnd([] {
        ReleaseObj();
        std::exit(0);
    });
    // The system's printers join the list, and a database that cannot be opened leads to the connection
    // settings.
    InstallSystemPrinters();
    InstallSettingsHooks();
    // The settlement screen reopens a closed day at start, takes over from the register, and ends the run
    // as the register does.
    SettlementHooks::cancelDailyAdj = [] { return CancelDailyAdj(); };
    SettlementHooks::showSettlement = [] { ShowSettlement(); };
    frmAdj::setRunEnd([] {
        ProgressWindow backup(kBackupCaption);
        StartUp::EndRun(backup);
    });

    InitObj();
    {
        ProgressWindow upgrade(StartUp::UpgradeCaption, 500);
        StartUp::UpgradeDatabases(upgrade);
    }
    switch (StartUp::ChooseSalesDate(showCalendar)) {
    case StartUp::Screen::End:
        ReleaseObj(); // the calendar's exit: the program ends at once, nothing saved
        return 0;
    case StartUp::Screen::Register:
        showRegister();
        break;
    case StartUp::Screen::Settlement:
        if (!SettlementHooks::showSettlement) {
            WriteLog(QStringLiteral("日次集計画面がありません。"));
            ProgressWindow backup(kBackupCaption);
            StartUp::CloseAndBackUp(backup);
            ReleaseObj();
            return 0;
        }
        SettlementHooks::showSettlement();
        break;
    }
    const int code = app.exec();
    ReleaseObj();
    return code;
}
