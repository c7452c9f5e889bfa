#include "app/Main.h"

#include "app/Clock.h"
#include "app/Common.h"
#include "app/Globals.h"
#include "app/QtMessagePresenter.h"
#include "data/DateValue.h"
#include "data/Format.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"

#include <QApplication>
#include <QFont>
#include <QLabel>
#include <QVBoxLayout>
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

    InitObj();
    try {
        gSalesDate = proposedSalesDate();
    } catch (const std::exception &e) {
        MsgBoxEx(QString::fromStdString(e.what()), Msg::Exclamation);
        gSalesDate = Clock::Today();
    }

    // The register screen comes next; until it is there the program shows what it opened.
    auto *window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(kProductTitle);
    auto *layout = new QVBoxLayout(window);
    layout->addWidget(new QLabel(QStringLiteral("売上日: ") + Format::date(gSalesDate, QStringLiteral("yyyy年m月d日(aaa)"))));
    layout->addWidget(new QLabel(QStringLiteral("トランザクションDB: ") + gDb->DBTYPE()
                                 + (gDb->isOpen() ? QStringLiteral(" 接続済") : QStringLiteral(" 未接続"))));
    layout->addWidget(new QLabel(QStringLiteral("マスタDB: ") + gMst->DBTYPE()
                                 + (gMst->isOpen() ? QStringLiteral(" 接続済") : QStringLiteral(" 未接続"))));
    window->resize(480, 160);
    window->show();
    window->activateWindow();
    const int code = app.exec();
    ReleaseObj();
    return code;
}
