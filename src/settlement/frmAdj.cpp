#include "settlement/frmAdj.h"

#include "base/Common.h"
#include "base/FormScaler.h"
#include "base/Format.h"
#include "base/ProgressWindow.h"
#include "base/ScreenGuard.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "printing/modPrint.h"
#include "settlement/ClosePrinting.h"
#include "settlement/DailyClose.h"
#include "settlement/PayCls.h"
#include "settlement/fdlSetPayDate.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

const QColor frmAdj::CurrentCellColor(0xFF, 0xFF, 0x7F);
const QColor frmAdj::PlainCellColor(0xFF, 0xFF, 0xFF);
const QColor frmAdj::CurrentRowTextColor(0xFF, 0x00, 0x00);

namespace {

// Column left edges, cell and header sizes, rows: the design in twips.
const double kColumnLeft[] = {300, 1425, 2625, 3825, 5025, 6225};
constexpr double kCellWidth = 1005;
constexpr double kCellHeight = 360;
constexpr double kHeaderWidth = 990;
constexpr double kHeaderHeight = 315;
constexpr double kHeaderTop = 150;
constexpr double kFirstRowTop = 525;
constexpr double kRowStep = 375;
constexpr double kTotalTop = 4500;
constexpr double kCellPoints = 11;

const char *const kHeaders[] = {"金種", "初期", "現金", "既定", "おつり", "預金"};

struct ButtonDesign { int index; const char *caption; double left; double width; };
const ButtonDesign kButtons[] = {
    {2, "振込依頼\r\n(F2)", 450, 1000},
    {3, "日報\r\n(F3)", 1500, 1000},
    {8, "両替\r\n(F8)", 4725, 855},
    {0, "終　了\r\n(Esc)", 6225, 1200},
};

void setBack(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, color);
    label->setPalette(palette);
}

void setTextColor(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
}

// Multi-line captions are written with CR LF; a label shows the line break only.
QString caption(const char *text)
{
    return QString::fromUtf8(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

frmAdj::frmAdj(QWidget *parent) : QWidget(parent)
{
    setWindowTitle(QStringLiteral("日次集計"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック")));
    m_scaler = new FormScaler(this);
    buildControls();
    guarded([this] { InitFrm(); });
    SetBGcolor();
    resize(m_scaler->designSize());
}

frmAdj::~frmAdj()
{
    delete m_scaler;
}

QLabel *frmAdj::addCell(double left, double top, double width, double height, Qt::Alignment alignment, bool header)
{
    auto *label = new QLabel(this);
    label->setAlignment(alignment);
    label->setFrameShape(QFrame::Box);
    label->setAutoFillBackground(true);
    label->setIndent(4);
    setBack(label, header ? QColor(0xE0, 0xE0, 0xE0) : PlainCellColor);
    m_scaler->place(label, left, top, width, height, kCellPoints);
    return label;
}

void frmAdj::buildControls()
{
    const auto right = Qt::AlignRight | Qt::AlignVCenter;
    for (int c = 0; c < 6; ++c) {
        QLabel *header = addCell(kColumnLeft[c], kHeaderTop, kHeaderWidth, kHeaderHeight, Qt::AlignCenter, true);
        header->setText(QString::fromUtf8(kHeaders[c]));
    }
    QList<QLabel *> *columns[] = {&lblAMT, &lblPREV, &lblCASH, &lblDEF, &lblCHG, &lblPOST};
    for (int i = 0; i < AdjGrid::Rows; ++i) {
        for (int c = 0; c < 6; ++c) {
            QLabel *cell = addCell(kColumnLeft[c], kFirstRowTop + kRowStep * i, kCellWidth, kCellHeight, right, c == 0);
            columns[c]->append(cell);
        }
        lblAMT[i]->setText(AdjGrid::AmtCaption(i));
        lblCASH[i]->setCursor(Qt::PointingHandCursor);
        lblCHG[i]->setCursor(Qt::PointingHandCursor);
    }
    QLabel *total = addCell(kColumnLeft[0], kTotalTop, kCellWidth, kCellHeight, Qt::AlignCenter, true);
    total->setText(QStringLiteral("合計"));
    QLabel **sums[] = {&lblPREV_SUM, &lblCASH_SUM, &lblDEF_SUM, &lblCHG_SUM, &lblPOST_SUM};
    for (int c = 1; c < 6; ++c)
        *sums[c - 1] = addCell(kColumnLeft[c], kTotalTop, kCellWidth, kCellHeight, right, false);

    lblMSG = new QLabel(this);
    lblMSG->setAlignment(Qt::AlignCenter);
    lblMSG->setFrameShape(QFrame::Box);
    lblMSG->setLineWidth(2);
    lblMSG->setAutoFillBackground(true);
    setBack(lblMSG, QColor(0xFF, 0xFF, 0xE0));
    m_scaler->place(lblMSG, 1800, 2250, 4065, 690, 13);
    lblMSG->hide();

    Command1 = QList<QPushButton *>(9, nullptr);
    for (const ButtonDesign &b : kButtons) {
        auto *button = new QPushButton(caption(b.caption), this);
        m_scaler->place(button, b.left, 5025, b.width, 495, 9);
        button->setFocusPolicy(Qt::NoFocus);
        const int index = b.index;
        connect(button, &QPushButton::clicked, this, [this, index] { Command1Click(index); });
        Command1[index] = button;
    }

    // Key preview: every key reaches the screen before any control.
    setFocusPolicy(Qt::StrongFocus);
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void frmAdj::InitFrm()
{
    m_grid.InitFrm(*gDb, *gMst, gSalesDate);
    display();
}

void frmAdj::SetCalsSum()
{
    m_grid.SetCalsSum();
    display();
}

void frmAdj::display()
{
    for (int i = 0; i < AdjGrid::Rows; ++i) {
        lblPREV[i]->setText(m_grid.PREV[i]);
        lblCASH[i]->setText(m_grid.CASH[i]);
        lblDEF[i]->setText(m_grid.DEF[i]);
        lblCHG[i]->setText(m_grid.CHG[i]);
        lblPOST[i]->setText(m_grid.POST[i]);
    }
    lblPREV_SUM->setText(m_grid.PREV_SUM);
    lblCASH_SUM->setText(m_grid.CASH_SUM);
    lblDEF_SUM->setText(m_grid.DEF_SUM);
    lblCHG_SUM->setText(m_grid.CHG_SUM);
    lblPOST_SUM->setText(m_grid.POST_SUM);
    if (m_grid.RowIdx == AdjGrid::ConfirmRow) {
        lblMSG->setText(QStringLiteral("日次締処理を行います。\nOK:Enter ｷｬﾝｾﾙ:BS"));
        lblMSG->show();
        lblMSG->raise();
    } else {
        lblMSG->hide();
    }
}

void frmAdj::SetBGcolor()
{
    for (int i = 0; i < AdjGrid::Rows; ++i) {
        const bool current = i == m_grid.RowIdx;
        setTextColor(lblAMT[i], current ? CurrentRowTextColor : QColor(Qt::black));
        setBack(lblCASH[i], current && m_grid.ColIdx != 1 ? CurrentCellColor : PlainCellColor);
        setBack(lblCHG[i], current && m_grid.ColIdx == 1 ? CurrentCellColor : PlainCellColor);
    }
}

void frmAdj::lblCASH_Click(int row)
{
    m_grid.ClickCash(row);
    display();
    SetBGcolor();
}

void frmAdj::lblCHG_Click(int row)
{
    m_grid.ClickChange(row);
    display();
    SetBGcolor();
}

void frmAdj::Command1Click(int index)
{
    switch (index) {
    case 0:
        close();
        break;
    case 2:
        guarded([] {
            WaitCursor wait;
            if (gDb->DCount(QStringLiteral("*"), QStringLiteral("D_ADJ_DTL"),
                            Sql(R"(SALES_DATE=:day)").date("day", gSalesDate)).toLong() != 0)
                PrintBankTransferNow(gSalesDate);
        });
        break;
    case 3:
        guarded([] {
            WaitCursor wait;
            if (gDb->DCount(QStringLiteral("*"), QStringLiteral("D_ADJ"),
                            Sql(R"(SALES_DATE=:day)").date("day", gSalesDate)).toLong() != 0)
                PrintDailyReportNow(gSalesDate);
        });
        break;
    case 8:
        guarded([] { OpenDrawer(); });
        break;
    default:
        break;
    }
}

void frmAdj::runClosing()
{
    // A payment closing of many producers over long periods takes a while: past a second it shows so.
    ProgressWindow payment(kPayClsCaption, 1000, this);
    const DailyCloseResult result = RunDailyClose(m_grid, [this] {
        fdlSetPayDate dialog(this);
        dialog.exec();
    }, payment);
    switch (result) {
    case DailyCloseResult::Failed:
        m_grid.InputFlg = 0;
        break;
    case DailyCloseResult::Closed:
        m_grid.RowIdx = AdjGrid::ClosedRow;
        close();
        break;
    case DailyCloseResult::Refused:
        close();
        break;
    }
}

void frmAdj::keyDown(QKeyEvent *key)
{
    switch (m_grid.KeyDown(key->key())) {
    case AdjGrid::Action::None:
        break;
    case AdjGrid::Action::CloseScreen:
        close();
        return;
    case AdjGrid::Action::RunClosing:
        guarded([this] { runClosing(); });
        if (m_ended)
            return;
        break;
    case AdjGrid::Action::TransferRequest:
        Command1Click(2);
        break;
    case AdjGrid::Action::DailyReport:
        Command1Click(3);
        break;
    case AdjGrid::Action::OpenDrawer:
        Command1Click(8);
        break;
    }
    SetBGcolor();
    SetCalsSum();
    // The character of the key comes after its key-down, so the totals show a digit from the next key on.
    const QString text = key->text();
    if (text.size() == 1 && key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter
        && key->key() != Qt::Key_Backspace) {
        m_grid.KeyPress(text.at(0));
        display();
    }
}

bool frmAdj::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        keyDown(static_cast<QKeyEvent *>(event));
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const int cash = lblCASH.indexOf(qobject_cast<QLabel *>(watched));
        const int change = lblCHG.indexOf(qobject_cast<QLabel *>(watched));
        if (cash >= 0) {
            lblCASH_Click(cash);
            return true;
        }
        if (change >= 0) {
            lblCHG_Click(change);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmAdj::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    m_scaler->apply();
}

void frmAdj::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (m_ended)
        return;
    m_ended = true;
    emit closed();
}
