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
    w->show();
    if (!QTest::qWaitForWindowExposed(w))
        std::fprintf(stderr, "%s was not shown\n", qPrintable(name));
    QTest::qWait(50);
    const QString file = gFolder.filePath(name + QStringLiteral(".png"));
    const bool saved = w->grab().save(file);
    std::fprintf(saved ? stdout : stderr, saved ? "%s\n" : "cannot write %s\n", qPrintable(file));
    gFailures += saved ? 0 : 1;
}

// A window made for its picture; the large ones at the size of the register's screen.
template <typename T, typename... Args> void saveNew(const char *name, bool large, Args... args)
{
    T window(args...);
    if (large)
        window.resize(1020, 752);
    save(&window, QString::fromLatin1(name));
}

// Saves the dialog that `open` brings up modally.
void saveModal(const QString &name, const std::function<void()> &open)
{
    auto watch = ModalWatch::on<QDialog>([name](QDialog *dialog) { save(dialog, name); });
    open();
    if (!watch.seen()) {
        std::fprintf(stderr, "%s did not open\n", qPrintable(name));
        ++gFailures;
    }
}

// Keys go where the focus is; the register sees them first wherever that is.
void keys(QWidget *screen, const QString &text, Qt::Key then)
{
    QTest::keyClicks(QApplication::focusWidget() ? QApplication::focusWidget() : screen, text);
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : screen, then);
}

void registerAndItsDialogs()
{
    frmReg form;
    form.resize(1020, 752);
    form.show();
    form.activateWindow();
    (void)QTest::qWaitForWindowActive(&form);
    for (const QString &code : DemoMasters::inStoreSampleCodes().mid(0, 4))
        keys(&form, code, Qt::Key_Return);
    save(&form, QStringLiteral("register-sale"));
    saveModal(QStringLiteral("register-edit-price"), [&] { QTest::keyClick(&form, Qt::Key_F1); });
    saveModal(QStringLiteral("register-edit-quantity"), [&] { QTest::keyClick(&form, Qt::Key_F2); });
    keys(&form, QString(), Qt::Key_Return); // to the payment
    keys(&form, QStringLiteral("10000"), Qt::Key_Return);
    save(&form, QStringLiteral("register-change"));
    keys(&form, QString(), Qt::Key_Return); // stored
}

void otherWindows()
{
    saveNew<frmAdj>("settlement", true);
    gPayDate = gSalesDate + 1;
    saveNew<fdlSetPayDate>("settlement-pay-date", false);
    saveNew<fdlPayStatement>("payment-statement", false, nullptr, gSalesDate);
    saveNew<fdlZengin>("payment-transfer-file", false, nullptr, gSalesDate);
    saveNew<frmSetCal>("calendar", false);
    gRptKind = 2;
    saveNew<fdlPreview>("report-preview", true);
    saveNew<fdlSetMgn>("report-margins", false);
    saveNew<fdlSetPrintCopy>("report-copies", false);
    ProgressWindow progress(QStringLiteral("支払締処理中"));
    progress.report(1, 3);
    save(&progress, QStringLiteral("progress"));
    fdlSetMenu menu;
    save(&menu, QStringLiteral("settings-menu"));
    for (int i = 1; menu.button(i); ++i) {
        if (menu.button(i)->isEnabled())
            saveModal(QStringLiteral("settings-%1").arg(i, 2, 10, QLatin1Char('0')), [&] { menu.button(i)->click(); });
    }
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
    gFolder.mkpath(QStringLiteral("."));
    TestProgram program;
    program.createDatabases(true);
    program.openAll();
    gSalesDate = DateValue::fromParts(2024, 4, 1);
    registerAndItsDialogs();
    otherWindows();
    for (const auto &m : program.messages().shown())
        std::fprintf(stderr, "message: %s\n", qPrintable(m.prompt));
    return gFailures == 0 ? 0 : 1;
}
