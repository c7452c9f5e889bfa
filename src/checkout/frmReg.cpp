#include "checkout/frmReg.h"

#include "app/AppPaths.h"
#include "app/BackupDb.h"
#include "app/Common.h"
#include "app/FormScaler.h"
#include "app/Globals.h"
#include "app/SettlementHooks.h"
#include "app/StartUp.h"
#include "app/TagProgram.h"
#include "base/ProgressWindow.h"
#include "checkout/GetBcdData.h"
#include "checkout/SaleState.h"
#include "checkout/StoreSale.h"
#include "checkout/fdlEditPrc.h"
#include "checkout/fdlEditQty.h"
#include "data/DbError.h"
#include "data/Format.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "printing/modPrint.h"
#include "settings/SetMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <cmath>

const QColor frmReg::HighlightColor(0xFF, 0xFF, 0x7F);
const QColor frmReg::FailedColor(0xFF, 0x7F, 0x7F);
const QColor frmReg::PlainColor(0xFF, 0xFF, 0xFF);

namespace {

const QString kFailedToStore = QStringLiteral("レジデータ登録に失敗しました。");

// Grid columns: header, alignment and share of the grid's width.
struct GridColumn { const char *header; Qt::Alignment alignment; double share; };
const GridColumn kColumns[] = {
    {"№", Qt::AlignRight | Qt::AlignVCenter, 0.08},
    {"品名", Qt::AlignLeft | Qt::AlignVCenter, 0.42},
    {"生産者", Qt::AlignLeft | Qt::AlignVCenter, 0.24},
    {"数", Qt::AlignRight | Qt::AlignVCenter, 0.07},
    {"金額", Qt::AlignRight | Qt::AlignVCenter, 0.19},
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
    const auto left = Qt::AlignLeft | Qt::AlignVCenter;
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    const auto centre = Qt::AlignCenter;

    // Left half: what was scanned last.
    addLabel(QStringLiteral("バーコード"), 120, 150, 1020, 420, 10, left, false);
    lblBCD = addLabel(QString(), 1200, 150, 2820, 420, 14, left, true);
    lblDATE = addLabel(QString(), 4140, 150, 1020, 420, 14, centre, false);
    addLabel(QStringLiteral("商品名"), 120, 660, 1020, 390, 10, left, false);
    lblBCD_NM = addLabel(QString(), 1200, 660, 3960, 390, 12, left, true);
    addLabel(QStringLiteral("生産者"), 120, 1110, 1020, 390, 10, left, false);
    lblFMR_NM = addLabel(QString(), 1200, 1110, 3960, 390, 12, left, true);
    addLabel(QStringLiteral("単価"), 120, 1560, 600, 390, 10, left, false);
    lblPRC = addLabel(QString(), 720, 1560, 1080, 390, 12, right, true);
    addLabel(QStringLiteral("数量"), 1920, 1560, 600, 390, 10, left, false);
    lblQTY = addLabel(QString(), 2520, 1560, 660, 390, 12, right, true);
    addLabel(QStringLiteral("金額"), 3300, 1560, 600, 390, 10, left, false);
    lblAMT = addLabel(QString(), 3900, 1560, 1260, 390, 12, right, true);
    addLabel(QStringLiteral("+ : 増加"), 1920, 1980, 1080, 240, 8, left, false);
    addLabel(QStringLiteral("- : 減少"), 3000, 1980, 1080, 240, 8, left, false);

    fgrdHIST = new QTableWidget(this);
    fgrdHIST->setColumnCount(5);
    fgrdHIST->verticalHeader()->hide();
    fgrdHIST->horizontalHeader()->setSectionsClickable(false);
    fgrdHIST->horizontalHeader()->setHighlightSections(false);
    fgrdHIST->setEditTriggers(QAbstractItemView::NoEditTriggers);
    fgrdHIST->setSelectionBehavior(QAbstractItemView::SelectRows);
    fgrdHIST->setSelectionMode(QAbstractItemView::SingleSelection);
    fgrdHIST->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    fgrdHIST->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    fgrdHIST->setWordWrap(false);
    // The chosen line is framed, so that a return line keeps its light red when it is chosen.
    fgrdHIST->setStyleSheet(QStringLiteral("QTableWidget { selection-background-color: transparent; selection-color: black; }"
                                           "QTableWidget::item:selected { border-top: 2px solid #2060c0;"
                                           " border-bottom: 2px solid #2060c0; }"));
    m_scaler->place(fgrdHIST, 120, 2280, 5040, 2220, 10);

    // Right half: the money.
    imgLOGO = addLabel(QString(), 5280, 150, 2250, 780, 0, centre, false);
    const QString logo = AppPaths::inProgramFolder(QStringLiteral("logo.png"));
    if (QFile::exists(logo)) {
        imgLOGO->setPixmap(QPixmap(logo));
        imgLOGO->setScaledContents(true);
    } else {
        imgLOGO->setText(kProductTitle);
        QFont font = imgLOGO->font();
        font.setItalic(true);
        font.setBold(true);
        font.setPointSize(18);
        imgLOGO->setFont(font);
        imgLOGO->setStyleSheet(QStringLiteral("color: #2e6b2e"));
    }
    addLabel(QStringLiteral("合計"), 5280, 1020, 2250, 300, 10, left, false);
    lblSUM = addLabel(QString(), 5280, 1320, 2250, 660, 22, right, true);
    addLabel(QStringLiteral("お預かり"), 5280, 2040, 2250, 300, 10, left, false);
    lblRCV = addLabel(QString(), 5280, 2340, 2250, 540, 18, right, true);
    lblRCV->setCursor(Qt::PointingHandCursor);
    addLabel(QStringLiteral("おつり"), 5280, 2940, 2250, 300, 10, left, false);
    lblCHG = addLabel(QString(), 5280, 3240, 2250, 540, 18, right, true);
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
    fgrdHIST->setRowCount(0);
    fgrdHIST->setColumnCount(5);
    for (int c = 0; c < 5; ++c) {
        auto *header = new QTableWidgetItem(QString::fromUtf8(kColumns[c].header));
        header->setTextAlignment(kColumns[c].alignment);
        fgrdHIST->setHorizontalHeaderItem(c, header);
    }
    fgrdHIST->setCurrentCell(-1, -1);
}

void frmReg::SetSize()
{
    m_scaler->apply();
    fgrdHIST->horizontalHeader()->setStyleSheet(
        QStringLiteral("QHeaderView { font-size: %1pt; }").arg(std::max(1.0, fgrdHIST->font().pointSizeF() * 0.8)));
    // The shares are of the space the rows use, so the five columns fill it without a scroll bar.
    const int width = fgrdHIST->width() - 2 * fgrdHIST->frameWidth() - fgrdHIST->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < 5; ++c)
        fgrdHIST->setColumnWidth(c, int(std::lround(width * kColumns[c].share)));
    const int rowHeight = qMax(fgrdHIST->fontMetrics().height() + 8, int(std::lround(22 * m_scaler->verticalFactor())));
    fgrdHIST->verticalHeader()->setDefaultSectionSize(rowHeight);
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
    fgrdHIST->clearContents();
    InitGrid();
    fgrdHIST->setRowCount(m_sale.lineCount());
    int last = -1;
    for (int i = 0; i < m_sale.lineCount(); ++i) {
        const DtlRec &d = m_sale.line(i);
        if (d.DTL_NO == 0)
            continue;
        const QString texts[] = {QString::number(d.DTL_NO), d.BCD_NM, d.FMR_NM, d.QTY.toPlainText(),
                                 d.AMT.toPlainText()};
        const QColor back = d.AMT < Currency() ? FailedColor : PlainColor;
        for (int c = 0; c < 5; ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            item->setTextAlignment(kColumns[c].alignment);
            item->setBackground(back);
            fgrdHIST->setItem(i, c, item);
        }
        last = i;
    }
    if (last >= 0) {
        fgrdHIST->setCurrentCell(last, 0);
        fgrdHIST->scrollToItem(fgrdHIST->item(last, 0));
    }
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

template <typename Work> void frmReg::guarded(Work &&work)
{
    try {
        work();
    } catch (const DbError &e) {
        MsgBoxEx(e.description(), Msg::Exclamation);
    } catch (const std::exception &e) {
        MsgBoxEx(QString::fromStdString(e.what()), Msg::Exclamation);
    }
}

bool frmReg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        return handleKey(static_cast<QKeyEvent *>(event));
    if (watched == lblRCV && event->type() == QEvent::MouseButtonRelease) {
        guarded([this] { SumDtl(); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

bool frmReg::handleKey(QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        guarded([this] { keyEnter(); });
        return true;
    case Qt::Key_Backspace:
        guarded([this] { keyBackspace(); });
        return true;
    case Qt::Key_Escape:
        Command1Click(0);
        return true;
    case Qt::Key_F1: case Qt::Key_F2: case Qt::Key_F3: case Qt::Key_F4:
    case Qt::Key_F5: case Qt::Key_F6: case Qt::Key_F7: case Qt::Key_F8:
        Command1Click(key->key() - Qt::Key_F1 + 1);
        return true;
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_Tab: case Qt::Key_Backtab:
        return false; // choosing a line in the grid
    default:
        break;
    }
    // Every character is the screen's: digits, "+" and "-" act, anything else a scanner or keyboard sends
    // (letters, signs, control characters) is dropped before it reaches a field.
    if (!key->text().isEmpty())
        guarded([this, key] { keyCharacter(key->text()); });
    return true;
}

void frmReg::keyCharacter(const QString &text)
{
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            if (m_sale.mode() == ScanMode) {
                lblBCD->setText(lblBCD->text() + c);
            } else if (m_sale.mode() == TenderMode) {
                m_sale.typeTender(c);
                lblRCV->setText(m_sale.tendered());
            }
        } else if (c == u'+' || c == u'-') {
            if (c == u'+')
                m_sale.increase();
            else
                m_sale.decrease();
            lblQTY->setText(m_sale.multiplier().toPlainText());
            QApplication::beep();
        } else {
            continue;
        }
        Text1->setFocus();
    }
}

void frmReg::keyEnter()
{
    switch (m_sale.mode()) {
    case ScanMode:
        if (!lblBCD->text().isEmpty()) {
            scanBarcode();
            break;
        }
        if (m_sale.total() != Currency())
            SumDtl();
        m_sale.resetMultiplier();
        showPayment();
        break;
    case TenderMode:
        // At most 99999 is tendered; Backspace clears a longer entry.
        if (m_sale.confirmTender() == SaleState::Tender::TooLong)
            QApplication::beep();
        showPayment();
        break;
    case ChangeMode:
        if (ChkData())
            VantleData();
        break;
    }
}

void frmReg::scanBarcode()
{
    DtlRec &slot = m_sale.blankSlot();
    slot.BCD = PaddedBarcode(lblBCD->text());
    lblBCD->setText(QString());
    if (GetBcdData(slot) < 0) {
        QApplication::beep();
        setBack(lblBCD, FailedColor);
        return;
    }
    const SaleState::Edit added = m_sale.addLine();
    if (added == SaleState::Edit::Done)
        DispData(qint16(m_sale.lineCount() - 1));
    showLines(added);
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

void frmReg::keyBackspace()
{
    switch (m_sale.mode()) {
    case ScanMode:
        if (!lblBCD->text().isEmpty())
            lblBCD->setText(QString());
        else
            m_sale.resetMultiplier();
        break;
    case TenderMode:
        if (!m_sale.tendered().isEmpty())
            m_sale.clearTender();
        else
            m_sale.setMode(ScanMode);
        break;
    case ChangeMode:
        m_sale.setMode(TenderMode);
        break;
    }
    showPayment();
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
    // The end of the run: a sale that is not stored is lost. With daily closing in use and sales not closed
    // yet the settlement screen takes over; otherwise the database is closed, backed up, and the run ends.
    event->accept();
    bool settlement = false;
    guarded([&settlement] { settlement = StartUp::SettlementTakesOver(); });
    if (settlement && SettlementHooks::showSettlement) {
        SettlementHooks::showSettlement();
        return;
    }
    ProgressWindow backup(kBackupCaption);
    StartUp::EndRun(backup);
}
