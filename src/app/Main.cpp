#include "app/Main.h"

#include "app/Clock.h"
#include "app/Common.h"
#include "app/Globals.h"
#include "app/QtMessagePresenter.h"
#include "checkout/frmReg.h"
#include "data/DateValue.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "printing/SystemPrinters.h"
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

// The oldest day that still has sales waiting to be closed, or today.
double proposedSalesDate()
{
    const Variant oldest = gDb->DMin(QStringLiteral("SALES_DATE"), QStringLiteral("D_REG"));
    return oldest.isNull() ? Clock::Today() : DateValue::dateOnly(oldest.toDate());
}

} // namespace

int Main(QApplication &app)
{
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

    InitObj();
    try {
        gSalesDate = proposedSalesDate();
    } catch (const std::exception &e) {
        MsgBoxEx(QString::fromStdString(e.what()), Msg::Exclamation);
        gSalesDate = Clock::Today();
    }

    // The register screen is the main window: laid out once at its working size, the design scaled to the
    // screen, and the keys go to it at once.
    auto *window = new frmReg;
    window->setAttribute(Qt::WA_DeleteOnClose);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QSize design = window->size();
        const QSize room = screen->availableGeometry().size() * 0.9;
        const double factor = std::max(1.0, std::min(double(room.width()) / design.width(),
                                                     double(room.height()) / design.height()));
        window->resize(qRound(design.width() * factor), qRound(design.height() * factor));
    }
    window->show();
    window->activateWindow();
    const int code = app.exec();
    ReleaseObj();
    return code;
}
