#include "checkout/frmReg.h"

#include "base/AppPaths.h"
#include "base/Common.h"
#include "base/FormScaler.h"
#include "base/Format.h"
#include "base/ScreenGuard.h"
#include "base/TagProgram.h"
#include "checkout/GetBcdData.h"
#include "checkout/SaleState.h"
#include "checkout/StoreSale.h"
#include "checkout/fdlEditPrc.h"
#include "checkout/fdlEditQty.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "printing/modPrint.h"
#include "settings/SetMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

const QColor frmReg::HighlightColor(0xFF, 0xFF, 0x7F);
const QColor frmReg::FailedColor(0xFF, 0x7F, 0x7F);
const QColor frmReg::PlainColor(0xFF, 0xFF, 0xFF);

namespace {

const QString kFailedToStore = QStringLiteral("レジデータ登録に失敗しました。");

const Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
const Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;

// The labels of the design: the screen's label it becomes (none for a caption), its text, rectangle in twips,
// font size and alignment, and whether it is a boxed value.
struct LabelDesign
{
    QLabel *frmReg::*member;
    const char *text;
    double left, top, width, height, points;
    Qt::Alignment alignment;
    bool boxed;
};
const LabelDesign kLabels[] = {
    // Left half: what was scanned last.
    {nullptr, "バーコード", 120, 150, 1020, 420, 10, kLeft, false},
    {&frmReg::lblBCD, "", 1200, 150, 2820, 420, 14, kLeft, true},
    {&frmReg::lblDATE, "", 4140, 150, 1020, 420, 14, Qt::AlignCenter, false},
    {nullptr, "商品名", 120, 660, 1020, 390, 10, kLeft, false},
    {&frmReg::lblBCD_NM, "", 1200, 660, 3960, 390, 12, kLeft, true},
    {nullptr, "生産者", 120, 1110, 1020, 390, 10, kLeft, false},
    {&frmReg::lblFMR_NM, "", 1200, 1110, 3960, 390, 12, kLeft, true},
    {nullptr, "単価", 120, 1560, 600, 390, 10, kLeft, false},
    {&frmReg::lblPRC, "", 720, 1560, 1080, 390, 12, kRight, true},
    {nullptr, "数量", 1920, 1560, 600, 390, 10, kLeft, false},
    {&frmReg::lblQTY, "", 2520, 1560, 660, 390, 12, kRight, true},
    {nullptr, "金額", 3300, 1560, 600, 390, 10, kLeft, false},
    {&frmReg::lblAMT, "", 3900, 1560, 1260, 390, 12, kRight, true},
    {nullptr, "+ : 増加", 1920, 1980, 1080, 240, 8, kLeft, false},
    {nullptr, "- : 減少", 3000, 1980, 1080, 240, 8, kLeft, false},
    // Right half: the money.
    {&frmReg::imgLOGO, "", 5280, 150, 2250, 780, 0, Qt::AlignCenter, false},
    {nullptr, "合計", 5280, 1020, 2250, 300, 10, kLeft, false},
    {&frmReg::lblSUM, "", 5280, 1320, 2250, 660, 22, kRight, true},
    {nullptr, "お預かり", 5280, 2040, 2250, 300, 10, kLeft, false},
    {&frmReg::lblRCV, "", 5280, 2340, 2250, 540, 18, kRight, true},
    {nullptr, "おつり", 5280, 2940, 2250, 300, 10, kLeft, false},
    {&frmReg::lblCHG, "", 5280, 3240, 2250, 540, 18, kRight, true},
};

const char *const kButtonCaptions[] = {
    "終了\n(Esc)", "単価変\n(F1)", "数量変\n(F2)", "行削除\n(F3)", "取消\n(F4)",
    "値札\n(F5)", "再印刷\n(F6)", "設定\n(F7)", "両替\n(F8)",
};

} // namespace

frmReg::frmReg(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("レジ会計"));
    m_scaler = new FormScaler(this);
    buildControls();

    Command1[5]->setVisible(!GetTagPath().isEmpty());
    InitFrm1();
    InitFrm2();
    resize(m_scaler->designSize());
}

frmReg::~frmReg()
{
    delete m_scaler;
}

QLabel *frmReg::addLabel(const QString &text, double left, double top, double width, double height, double points,
                         Qt::Alignment alignment, bool boxed)
{
    auto *label = new QLabel(text, this);
    label->setAlignment(alignment);
    if (boxed) {
        label->setFrameShape(QFrame::Box);
        label->setAutoFillBackground(true);
        setBack(label, PlainColor);
        label->setIndent(4);
    }
    m_scaler->place(label, left, top, width, height, points);
    return label;
}

void frmReg::buildControls()
{
    for (const LabelDesign &d : kLabels) {
        QLabel *label = addLabel(QString::fromUtf8(d.text), d.left, d.top, d.width, d.height, d.points, d.alignment,
                                 d.boxed);
        if (d.member)
            this->*d.member = label;
    }
    lblRCV->setCursor(Qt::PointingHandCursor);
    showLogo();
    fgrdHIST = new SaleGrid(this);
    m_scaler->place(fgrdHIST, 120, 2280, 5040, 2220, 10);
    cmdREG = new QPushButton(QStringLiteral("会計"), this);
    m_scaler->place(cmdREG, 5280, 3900, 2250, 600, 16);

    // Bottom row: the function-key buttons.
    for (int i = 0; i < 9; ++i) {
        auto *button = new QPushButton(QString::fromUtf8(kButtonCaptions[i]), this);
        m_scaler->place(button, 120 + i * 828, 4650, 780, 840, 9);
        Command1.append(button);
        connect(button, &QPushButton::clicked, this, [this, i] { Command1Click(i); });
    }
    connect(cmdREG, &QPushButton::clicked, this, [this] { cmdREGClick(); });

    // The box that takes the focus after each key so that the keys keep reaching this screen.
    Text1 = new QLineEdit(this);
    Text1->setGeometry(0, 0, 1, 1);
    Text1->setReadOnly(true);
    Text1->setFrame(false);

    // Buttons act on touch and click only: the keys belong to the screen.
    for (QPushButton *button : findChildren<QPushButton *>())
        button->setFocusPolicy(Qt::NoFocus);
    // Key preview: every control hands its keys to the screen first.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
    setFocusProxy(Text1);
}

void frmReg::showLogo()
{
    const QString logo = AppPaths::inProgramFolder(QStringLiteral("logo.png"));
    if (QFile::exists(logo)) {
        imgLOGO->setPixmap(QPixmap(logo));
        imgLOGO->setScaledContents(true);
        return;
    }
    imgLOGO->setText(kProductTitle);
    QFont font = imgLOGO->font();
    font.setItalic(true);
    font.setBold(true);
    font.setPointSize(18);
    imgLOGO->setFont(font);
    imgLOGO->setStyleSheet(QStringLiteral("color: #2e6b2e"));
}

void frmReg::setBack(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, color);
    label->setPalette(palette);
}

void frmReg::setRegMode(int mode)
{
    m_sale.setMode(Mode(mode));
    showPayment();
}

void frmReg::showPayment()
{
    for (QLabel *label : {lblBCD, lblPRC, lblQTY, lblRCV, lblCHG})
        setBack(label, PlainColor);
    const Mode mode = m_sale.mode();
    setBack(mode == ScanMode ? lblBCD : mode == TenderMode ? lblRCV : lblCHG, HighlightColor);
    lblQTY->setText(m_sale.multiplier().toPlainText());
    lblRCV->setText(m_sale.tendered());
    const std::optional<Currency> change = m_sale.change();
    lblCHG->setText(change ? Format::number(*change, QStringLiteral("#,##0")) : QString());
}

void frmReg::InitFrm1()
{
    for (QLabel *label : {lblBCD, lblBCD_NM, lblFMR_NM, lblPRC})
        label->setText(QString());
    lblAMT->setText(QStringLiteral("0"));
    DispSum();
    showPayment();
}

void frmReg::InitFrm2()
{
    lblDATE->setText(Format::date(gSalesDate, QStringLiteral("m/d")));
    InitGrid();
}

void frmReg::InitGrid()
{
    fgrdHIST->InitGrid();
}

void frmReg::SetSize()
{
    m_scaler->apply();
    fgrdHIST->fit(m_scaler->verticalFactor());
}

void frmReg::DispData(qint16 slot)
{
    const DtlRec &d = m_sale.line(slot);
    lblAMT->setText(Format::number(d.AMT, QStringLiteral("#,##0")));
    lblBCD_NM->setText(d.BCD_NM);
    lblFMR_NM->setText(d.FMR_NM);
    lblPRC->setText(d.PRC.toPlainText());
    DispSum();
}

void frmReg::DispSum()
{
    lblSUM->setText(Format::number(m_sale.total(), QStringLiteral("#,##0")));
}

void frmReg::DispGrid()
{
    fgrdHIST->showLines(m_sale, PlainColor, FailedColor);
}

void frmReg::SumDtl()
{
    setRegMode(TenderMode);
}

void frmReg::VantleData()
{
    qint32 regId = 0;
    try {
        regId = StoreSale(m_sale.header(), m_sale.dtl(), gSalesDate, *gDb, *gIni, gMst.get());
    } catch (const std::exception &e) {
        // The sale stays on the screen in its mode; Enter tries again.
        const DbError *db = dynamic_cast<const DbError *>(&e);
        WriteLog(db ? db->description() : QString::fromStdString(e.what()));
        MsgBoxEx(kFailedToStore, Msg::Exclamation);
        return;
    }
    // The sale is stored; a printer that fails only costs the slip, which F6 prints again.
    try {
        SetRcptPrinter();
        PrintRcpt(regId);
        SetDefPrinter();
    } catch (...) {
    }
    m_sale.next();
    InitFrm1();
    InitFrm2();
    m_lastRegId = regId;
}

bool frmReg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        return m_keys.handle(static_cast<QKeyEvent *>(event));
    if (watched == lblRCV && event->type() == QEvent::MouseButtonRelease) {
        guarded([this] { SumDtl(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void frmReg::showLines(SaleState::Edit result)
{
    DispGrid();
    DispSum();
    showPayment();
    if (result == SaleState::Edit::TooLarge) {
        QApplication::beep();
        MsgBoxEx(SaleState::TooLargeMessage, Msg::Exclamation);
    }
}

void frmReg::Command1Click(int index)
{
    guarded([this, index] {
        switch (index) {
        case 0:
            close();
            break;
        case 1:
        case 2:
            editLine(index);
            break;
        case 3:
            deleteLine();
            break;
        case 4:
            m_sale.clear();
            InitFrm1();
            InitFrm2();
            break;
        case 5:
            RunTagProgram();
            break;
        case 6:
            if (m_lastRegId > 0)
                PrintRcpt(m_lastRegId);
            break;
        case 7:
            OpenSetMenu(this);
            break;
        case 8:
            OpenDrawer();
            break;
        default:
            break;
        }
    });
}

void frmReg::editLine(int which)
{
    const int row = fgrdHIST->currentRow();
    if (row < 0 || row >= m_sale.lineCount())
        return; // the header row: no line to change
    gDtlIdx = qint16(row);
    if (which == 1) {
        fdlEditPrc dialog(m_sale, this);
        dialog.exec();
    } else {
        fdlEditQty dialog(m_sale, this);
        dialog.exec();
    }
    showLines(SaleState::Edit::Done); // a refused value was told in the dialog
    Text1->setFocus();
}

void frmReg::deleteLine()
{
    showLines(m_sale.deleteLine(fgrdHIST->currentRow()));
}

void frmReg::cmdREGClick()
{
    guarded([this] {
        if (ChkData())
            VantleData();
    });
}

void frmReg::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    SetSize();
}

void frmReg::closeEvent(QCloseEvent *event)
{
    event->accept();
    emit closed();
}
