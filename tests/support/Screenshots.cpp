// Writes a picture of every screen and dialog of the program into the folder given as argument, for a person to
// look at (scripts/screenshots.sh). Runs on a temporary program folder with the demo shop's masters: a sale is
// rung up on the register, stored, and the day is shown on the settlement screen.
#include "base/DateValue.h"
#include "base/ProgressWindow.h"
#include "calendar/frmSetCal.h"
#include "checkout/frmReg.h"
#include "data/DemoMasters.h"
#include "data/Globals.h"
#include "payment/fdlPayStatement.h"
#include "payment/fdlZengin.h"
#include "printing/fdlPreview.h"
#include "printing/fdlSetMgn.h"
#include "printing/fdlSetPrintCopy.h"
#include "printing/modReport.h"
#include "settings/fdlSetMenu.h"
#include "settlement/PayCls.h"
#include "settlement/fdlSetPayDate.h"
#include "settlement/frmAdj.h"
#include "support/ModalWatch.h"
#include "support/TestProgram.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <cstdio>

namespace {

QDir gFolder;
int gFailures = 0;

void save(QWidget *w, const QString &name)
{
    if (!w->isVisible())
        w->show();
    if (!QTest::qWaitForWindowExposed(w))
        std::fprintf(stderr, "%s was not shown\n", qPrintable(name));
    QTest::qWait(50);
    const QString file = gFolder.filePath(name + QStringLiteral(".png"));
    if (!w->grab().save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        ++gFailures;
        return;
    }
    std::printf("%s\n", qPrintable(file));
}

// Keys go where the focus is; the register sees them first wherever that is.
void keys(QWidget *screen, const QString &text, Qt::Key then = Qt::Key_unknown)
{
    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : screen;
    QTest::keyClicks(target, text);
    if (then != Qt::Key_unknown)
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : screen, then);
}

// Saves the dialog that `open` brings up modally.
template <typename T> void saveModal(const QString &name, const std::function<void()> &open)
{
    auto watch = ModalWatch::on<T>([name](T *dialog) { save(dialog, name); });
    open();
    if (!watch.seen()) {
        std::fprintf(stderr, "%s did not open\n", qPrintable(name));
        ++gFailures;
    }
}

void registerAndItsDialogs()
{
    frmReg form;
    form.resize(1020, 752);
    form.show();
    form.activateWindow();
    (void)QTest::qWaitForWindowExposed(&form);
    for (const QString &code : DemoMasters::inStoreSampleCodes().mid(0, 4))
        keys(&form, code, Qt::Key_Return);
    save(&form, QStringLiteral("register-sale"));
    saveModal<QDialog>(QStringLiteral("register-edit-price"), [&] { QTest::keyClick(&form, Qt::Key_F1); });
    saveModal<QDialog>(QStringLiteral("register-edit-quantity"), [&] { QTest::keyClick(&form, Qt::Key_F2); });
    keys(&form, QString(), Qt::Key_Return); // to the payment
    keys(&form, QStringLiteral("10000"), Qt::Key_Return);
    save(&form, QStringLiteral("register-change"));
    keys(&form, QString(), Qt::Key_Return); // stored
}

void settlementAndItsDialogs()
{
    frmAdj form;
    form.resize(1020, 752);
    save(&form, QStringLiteral("settlement"));
    gPayDate = gSalesDate + 1;
    fdlSetPayDate payDate;
    save(&payDate, QStringLiteral("settlement-pay-date"));
    fdlPayStatement statement(nullptr, gSalesDate);
    save(&statement, QStringLiteral("payment-statement"));
    fdlZengin transfer(nullptr, gSalesDate);
    save(&transfer, QStringLiteral("payment-transfer-file"));
}

void settingsDialogs()
{
    fdlSetMenu menu;
    save(&menu, QStringLiteral("settings-menu"));
    for (int i = 1; menu.button(i); ++i) {
        if (menu.button(i)->isEnabled())
            saveModal<QDialog>(QStringLiteral("settings-%1").arg(i, 2, 10, QLatin1Char('0')),
                               [&] { menu.button(i)->click(); });
    }
}

void otherWindows()
{
    frmSetCal calendar;
    save(&calendar, QStringLiteral("calendar"));
    gRptKind = 2;
    fdlPreview preview;
    preview.resize(1020, 752);
    save(&preview, QStringLiteral("report-preview"));
    fdlSetMgn margins;
    save(&margins, QStringLiteral("report-margins"));
    fdlSetPrintCopy copies;
    save(&copies, QStringLiteral("report-copies"));
    ProgressWindow progress(QStringLiteral("支払締処理中"));
    progress.report(1, 3);
    save(&progress, QStringLiteral("progress"));
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    app.setFont(QFont(QStringLiteral("IPAexGothic"), 11));
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder for the pictures>\n", argv[0]);
        return 2;
    }
    gFolder = QDir(QString::fromLocal8Bit(argv[1]));
    if (!gFolder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 2;
    }
    TestProgram program;
    program.createDatabases(true);
    program.openAll();
    gSalesDate = DateValue::fromParts(2024, 4, 1);
    registerAndItsDialogs();
    settlementAndItsDialogs();
    settingsDialogs();
    otherWindows();
    for (const auto &m : program.messages().shown())
        std::fprintf(stderr, "message: %s\n", qPrintable(m.prompt));
    return gFailures == 0 ? 0 : 1;
}
