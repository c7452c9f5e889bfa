#include "app/Main.h"

#include "app/InitObj.h"
#include "app/Screens.h"
#include "app/SingleInstance.h"
#include "app/StartUp.h"
#include "base/ProgressWindow.h"
#include "base/QtMessagePresenter.h"
#include "printing/SystemPrinters.h"

#include <QApplication>
#include <QFont>

namespace {

void useJapaneseFonts(QApplication &app)
{
    // The screens name the Windows Japanese fonts; here the IPAex fonts draw them.
    for (const char *name : {"ＭＳ Ｐゴシック", "ＭＳ ゴシック", "MS PGothic", "MS Gothic"})
        QFont::insertSubstitution(QString::fromUtf8(name), QStringLiteral("IPAexGothic"));
    QFont font(QStringLiteral("IPAexGothic"), 11);
    app.setFont(font);
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
    // The system's printers join the list.
    InstallSystemPrinters();
    ConnectDataEvents(&app);

    InitObj();
    {
        ProgressWindow upgrade(StartUp::UpgradeCaption, 500);
        StartUp::UpgradeDatabases(upgrade);
    }
    switch (StartUp::ChooseSalesDate(ShowCalendar)) {
    case StartUp::Screen::End:
        ReleaseObj(); // the calendar's exit: the program ends at once, nothing saved
        return 0;
    case StartUp::Screen::Register:
        OpenRegister();
        break;
    case StartUp::Screen::Settlement:
        OpenSettlement();
        break;
    }
    const int code = app.exec();
    ReleaseObj();
    return code;
}
