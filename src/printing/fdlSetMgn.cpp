#include "printing/fdlSetMgn.h"

#include "base/Common.h"
#include "base/FormScaler.h"
#include "base/Format.h"
#include "base/ScreenGuard.h"
#include "data/Globals.h"
#include "data/Transaction.h"
#include "data/clsINI.h"
#include "printing/PrintCtrl.h"
#include "printing/modReport.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

fdlSetMgn::fdlSetMgn(QWidget *parent) : QDialog(parent), m_scaler(new FormScaler(this, 4200, 2250))
{
    setWindowTitle(QStringLiteral("余白設定"));
    const char *labels[2] = {"上余白", "左余白"};
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(QString::fromUtf8(labels[i]), this);
        Text1[i] = new QLineEdit(this);
        Text1[i]->setAlignment(Qt::AlignRight);
        Text1[i]->installEventFilter(this);
        auto *cm = new QLabel(QStringLiteral("cm"), this);
        m_scaler->place(Label1[i], 1900, 300 + 500.0 * i, 800, 330, 9);
        m_scaler->place(Text1[i], 2700, 270 + 500.0 * i, 800, 360, 9);
        m_scaler->place(cm, 3550, 300 + 500.0 * i, 400, 330, 9);
    }
    // A sketch of the page with its printed area.
    auto *page = new QFrame(this);
    page->setFrameShape(QFrame::Box);
    auto *area = new QFrame(this);
    area->setFrameShape(QFrame::Box);
    area->setFrameShadow(QFrame::Sunken);
    m_scaler->place(page, 240, 200, 1300, 1800);
    m_scaler->place(area, 480, 460, 900, 1400);
    const char *buttons[2] = {"ｷｬﾝｾﾙ", "設定"};
    for (int i = 0; i < 2; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(buttons[i]), this);
        Command1[i]->setAutoDefault(false);
    }
    m_scaler->place(Command1[1], 1900, 1550, 1000, 400, 9);
    m_scaler->place(Command1[0], 3000, 1550, 1000, 400, 9);
    resize(m_scaler->designSize());

    double left = 0, top = 0;
    ReadMargins(gRptKind, left, top);
    Text1[0]->setText(ToCentimetres(top));
    Text1[1]->setText(ToCentimetres(left));

    connect(Command1[0], &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1[1], &QPushButton::clicked, this, [this] {
        guarded([this] {
            if (!ChkData())
                return;
            if (SaveData())
                accept();
            else
                MsgBoxEx(QStringLiteral("データの登録に失敗しました。"), Msg::Exclamation);
        });
    });
}

QString fdlSetMgn::ToCentimetres(double twips)
{
    const Currency cm = RoundOff(Variant(Currency::fromDouble(twips / 567.0)), 0, 2);
    return Format::number(cm, QStringLiteral("0.00"));
}

double fdlSetMgn::ToTwips(const QString &entry)
{
    return Val(entry) * 567;
}

bool fdlSetMgn::SaveData()
{
    try {
        Transaction transaction(*gIni);
        if (!gIni->SaveCtrl(TopMarginKey(gRptKind), Variant(ToTwips(Text1[0]->text())))
            || !gIni->SaveCtrl(LeftMarginKey(gRptKind), Variant(ToTwips(Text1[1]->text()))))
            return false; // rolled back
        transaction.commit();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}

void fdlSetMgn::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_scaler->apply();
}

void fdlSetMgn::keyPressEvent(QKeyEvent *event)
{
    // Enter moves on as Tab does.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool fdlSetMgn::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusIn)
        if (auto *box = qobject_cast<QLineEdit *>(watched))
            QTimer::singleShot(0, box, &QLineEdit::selectAll);
    return QDialog::eventFilter(watched, event);
}
