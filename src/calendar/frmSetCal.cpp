#include "calendar/frmSetCal.h"

#include "base/Common.h"
#include "base/DateValue.h"
#include "base/FormScaler.h"
#include "base/Format.h"
#include "base/ScreenGuard.h"
#include "base/TagProgram.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/Sql.h"
#include "data/clsDb.h"
#include "payment/fdlPayStatement.h"
#include "payment/fdlZengin.h"
#include "printing/BankTransfer.h"
#include "printing/fdlPreview.h"
#include "printing/modReport.h"
#include "settings/SetMenu.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

const QColor frmSetCal::SundayColor(0xFF, 0x00, 0x00);
const QColor frmSetCal::SaturdayColor(0x00, 0x00, 0xC0);
const QColor frmSetCal::ChosenColor(0xFF, 0xFF, 0x7F);
const QColor frmSetCal::PlainColor(0xFF, 0xFF, 0xFF);

namespace {

// Design layout in twips: the grid on the left, the launcher buttons in a column on the right.
constexpr double kGridLeft = 300;
constexpr double kCellWidth = 720;
constexpr double kCellHeight = 620;
constexpr double kHeadingTop = 750;
constexpr double kCellTop = 1110;

// The buttons from top to bottom, by their index.
struct Button { int index; const char *caption; };
const Button kButtons[] = {
    {1, "決定\n(Enter)"}, {2, "振込\n(F2)"}, {3, "日報\n(F3)"}, {5, "値札\n(F5)"}, {7, "設定\n(F7)"},
    {0, "終　了\n(Esc)"},
};

QString dayCriteria(double day)
{
    return Sql(R"(SALES_DATE=:day)").date("day", day);
}

long countOf(const QString &domain, const QString &criteria)
{
    return Nz(gDb->DCount(QStringLiteral("*"), domain, criteria), Variant(0)).toLong();
}

void setColors(QLabel *label, const QColor &text, const QColor *back)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    if (back)
        palette.setColor(QPalette::Window, *back);
    label->setPalette(palette);
}

} // namespace

frmSetCal::frmSetCal(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("日付設定"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック")));
    m_scaler = new FormScaler(this);
    buildControls();
    // Load: the date to start from, and the price-tag button only where the program is installed.
    m_sysDate = DateValue::dateOnly(gSalesDate);
    Command1[5]->setVisible(!GetTagPath().isEmpty());
    resize(m_scaler->designSize());
    guarded([this] { DispData(); }, Msg::Critical);
}

frmSetCal::~frmSetCal()
{
    delete m_scaler;
}

void frmSetCal::buildControls()
{
    const QColor text = palette().color(QPalette::WindowText);

    cmdPREV = new QPushButton(QStringLiteral("＜＜＜"), this);
    m_scaler->place(cmdPREV, kGridLeft, 150, 1000, 500, 11);
    lblYM = new QLabel(this);
    lblYM->setAlignment(Qt::AlignCenter);
    m_scaler->place(lblYM, kGridLeft + 1100, 150, 2840, 500, 16);
    cmdPOST = new QPushButton(QStringLiteral("＞＞＞"), this);
    m_scaler->place(cmdPOST, kGridLeft + 7 * kCellWidth - 1000, 150, 1000, 500, 11);
    connect(cmdPREV, &QPushButton::clicked, this, &frmSetCal::cmdPREVClick);
    connect(cmdPOST, &QPushButton::clicked, this, &frmSetCal::cmdPOSTClick);

    const char *headings[7] = {"日", "月", "火", "水", "木", "金", "土"};
    for (int c = 0; c < 7; ++c) {
        auto *label = new QLabel(QString::fromUtf8(headings[c]), this);
        label->setAlignment(Qt::AlignCenter);
        setColors(label, c == 0 ? SundayColor : c == 6 ? SaturdayColor : text, nullptr);
        m_scaler->place(label, kGridLeft + c * kCellWidth, kHeadingTop, kCellWidth, 360, 11);
        Label1.append(label);
    }
    for (int i = 0; i < CellCount; ++i) {
        const int c = i % 7;
        auto *cell = new QLabel(this);
        cell->setAlignment(Qt::AlignCenter);
        cell->setFrameShape(QFrame::Box);
        cell->setAutoFillBackground(true);
        setColors(cell, c == 0 ? SundayColor : c == 6 ? SaturdayColor : text, &PlainColor);
        cell->setCursor(Qt::PointingHandCursor);
        m_scaler->place(cell, kGridLeft + c * kCellWidth, kCellTop + (i / 7) * kCellHeight, kCellWidth,
                        kCellHeight, 14);
        lblDAY.append(cell);
    }
    auto *hint = new QLabel(QStringLiteral("- : 前日　　　+ : 翌日"), this);
    m_scaler->place(hint, kGridLeft, kCellTop + 6 * kCellHeight + 120, 7 * kCellWidth, 400, 10);
    Label1.append(hint);

    Command1 = QList<QPushButton *>(8, nullptr);
    int row = 0;
    for (const Button &b : kButtons) {
        auto *button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setAutoDefault(false);
        m_scaler->place(button, 5640, 150 + row * 890, 1710, 800, 11);
        const int index = b.index;
        connect(button, &QPushButton::clicked, this, [this, index] { Command1Click(index); });
        Command1[index] = button;
        ++row;
    }
    Command1[1]->setDefault(true);

    // Key preview: every control hands its keys to the screen first.
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void frmSetCal::setSysDate(double date)
{
    m_sysDate = DateValue::dateOnly(date);
}

void frmSetCal::SetSize()
{
    m_scaler->apply();
}

frmSetCal::DayMarks frmSetCal::MarksOf(double day)
{
    // Whether such rows exist, not how many: each mark is one look into an index, however many years of
    // sales the tables hold. One statement, and one line in the log, per day.
    Recordset rs = gDb->GetFwdOnlyRst(
        Sql(R"(SELECT EXISTS (SELECT * FROM D_ADJ_DTL WHERE SALES_DATE=:day AND CLS_DATE IS NOT NULL) AS PAID, )"
            R"(EXISTS (SELECT * FROM B_REG WHERE SALES_DATE=:day) AS ARCHIVED, )"
            R"(EXISTS (SELECT * FROM D_REG WHERE SALES_DATE=:day) AS OPEN_SALES)")
            .date(QStringLiteral("day"), day));
    DayMarks marks;
    if (!rs.EOF_()) {
        marks.paid = rs.Fields(0).toLong() != 0;
        marks.archivedOnly = rs.Fields(1).toLong() != 0 && rs.Fields(2).toLong() == 0;
    }
    return marks;
}

void frmSetCal::DispData()
{
    lblYM->setText(Format::date(m_sysDate, QStringLiteral("yyyy年m月")));
    const QDate chosen = DateValue::toQDate(m_sysDate);
    const QDate first(chosen.year(), chosen.month(), 1);
    const int w = DateValue::weekday(DateValue::fromQDate(first));
    const int last = chosen.daysInMonth();
    for (int i = 0; i < CellCount; ++i) {
        QLabel *cell = lblDAY[i];
        const int n = i - w + 2;
        if (n < 1 || n > last) {
            cell->setVisible(false);
            continue;
        }
        const DayMarks marks = MarksOf(DateValue::fromQDate(first.addDays(n - 1)));
        QFont font = cell->font();
        font.setUnderline(marks.paid);
        font.setItalic(marks.archivedOnly);
        cell->setFont(font);
        cell->setText(QString::number(n));
        QPalette palette = cell->palette();
        palette.setColor(QPalette::Window, n == chosen.day() ? ChosenColor : PlainColor);
        cell->setPalette(palette);
        cell->setVisible(true);
    }
}

void frmSetCal::Command1Click(int index)
{
    guarded([this, index] {
        switch (index) {
        case 0:
            done(EndProgram);
            break;
        case 1:
            gSalesDate = m_sysDate;
            accept();
            break;
        case 2:
            gRptKind = RptKind::BankTrn;
            if (LoadTrnData(m_sysDate) > 0) {
                fdlPreview preview(this);
                connect(&preview, &fdlPreview::transferDataRequested, &preview, [&preview](double closing) {
                    fdlZengin(&preview, closing).exec();
                });
                connect(&preview, &fdlPreview::statementsRequested, &preview, [&preview](double closing) {
                    fdlPayStatement(&preview, closing).exec();
                });
                preview.exec();
            }
            break;
        case 3:
            gRptKind = RptKind::DailyRpt;
            gRptDate = m_sysDate;
            if (countOf(QStringLiteral("D_ADJ"), dayCriteria(m_sysDate)) != 0) {
                fdlPreview preview(this);
                preview.exec();
            }
            break;
        case 5:
            RunTagProgram();
            break;
        case 7:
            OpenSetMenu(this);
            break;
        default:
            break;
        }
    }, Msg::Critical);
}

void frmSetCal::moveMonths(int months)
{
    // QDate keeps the day of the month, or the last day of a shorter month.
    m_sysDate = DateValue::fromQDate(DateValue::toQDate(m_sysDate).addMonths(months));
    DispData();
    Command1[1]->setFocus();
}

void frmSetCal::cmdPREVClick()
{
    guarded([this] { moveMonths(-1); }, Msg::Critical);
}

void frmSetCal::cmdPOSTClick()
{
    guarded([this] { moveMonths(1); }, Msg::Critical);
}

void frmSetCal::lblDAYClick(int index)
{
    guarded([this, index] {
        const QLabel *cell = lblDAY.value(index);
        if (!cell || !cell->isVisible())
            return;
        const QDate chosen = DateValue::toQDate(m_sysDate);
        m_sysDate = DateValue::fromParts(chosen.year(), chosen.month(), cell->text().toInt());
        DispData();
    }, Msg::Critical);
}

bool frmSetCal::handleKey(int key, Qt::KeyboardModifiers modifiers)
{
    const bool keypad = modifiers & Qt::KeypadModifier;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Command1Click(1);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Minus:
        if (!keypad)
            return false;
        guarded([this, key] {
            m_sysDate += key == Qt::Key_Plus ? 1 : -1;
            DispData();
        }, Msg::Critical);
        return true;
    case Qt::Key_F2:
        Command1Click(2);
        return true;
    case Qt::Key_F3:
        Command1Click(3);
        return true;
    case Qt::Key_F5:
        Command1Click(5); // also while its button is hidden: without the program nothing happens
        return true;
    case Qt::Key_F7:
        Command1Click(7);
        return true;
    case Qt::Key_Escape:
        Command1Click(0);
        return true;
    default:
        return false;
    }
}

bool frmSetCal::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        return handleKey(key->key(), key->modifiers());
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        const int index = lblDAY.indexOf(qobject_cast<QLabel *>(watched));
        if (index >= 0) {
            lblDAYClick(index);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSetCal::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    SetSize();
}

void frmSetCal::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A register may run without a window manager: the calendar takes the keyboard itself.
    raise();
    activateWindow();
}
