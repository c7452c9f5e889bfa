#include "settlement/fdlSetPayDate.h"

#include "base/DateValue.h"
#include "base/FormScaler.h"
#include "base/Format.h"
#include "settlement/PayCls.h"

#include <QKeyEvent>
#include <algorithm>
#include <QLabel>
#include <QPushButton>

const QColor fdlSetPayDate::ChosenColor(0xFF, 0xFF, 0x00);
const QColor fdlSetPayDate::SundayColor(0xFF, 0xC0, 0xC0);
const QColor fdlSetPayDate::SaturdayColor(0xC0, 0xFF, 0xFF);
const QColor fdlSetPayDate::PlainColor(0xFF, 0xFF, 0xFF);

namespace {

// Design size in twips.
constexpr double kWidth = 4200;
constexpr double kHeight = 4740;
constexpr double kCellLeft = 315;
constexpr double kCellWidth = 510;
constexpr double kCellHeight = 390;
constexpr double kDaysTop = 1530;

const char *const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};

void setBack(QLabel *label, const QColor &color)
{
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, color);
    label->setPalette(palette);
}

} // namespace

fdlSetPayDate::fdlSetPayDate(QWidget *parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("支払日指定"));
    setFont(QFont(QStringLiteral("ＭＳ Ｐゴシック")));
    m_scaler = new FormScaler(this, kWidth, kHeight);

    addLabel(QStringLiteral("支払日付を設定して下さい。"), 240, 120, 3720, 300, 10);
    addLabel(QStringLiteral("- : 前日　　　+ : 翌日"), 240, 450, 3720, 270, 9);
    lblYM = addLabel(QString(), 240, 780, 3720, 360, 14);
    for (int c = 0; c < 7; ++c) {
        QLabel *heading = addLabel(QString::fromUtf8(kWeekdays[c]), kCellLeft + c * kCellWidth, 1200, kCellWidth, 300, 9);
        if (c == 0)
            heading->setStyleSheet(QStringLiteral("color: #c00000"));
        else if (c == 6)
            heading->setStyleSheet(QStringLiteral("color: #0000c0"));
    }
    for (int i = 0; i < DayCells; ++i) {
        QLabel *cell = addLabel(QString(), kCellLeft + (i % 7) * kCellWidth, kDaysTop + (i / 7) * kCellHeight,
                                kCellWidth - 30, kCellHeight - 30, 11);
        cell->setFrameShape(QFrame::Box);
        cell->setAutoFillBackground(true);
        lblDAY.append(cell);
    }
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    m_scaler->place(OKButton, 1020, 4080, 1200, 450, 10);
    CancelButton = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    m_scaler->place(CancelButton, 2400, 4080, 1200, 450, 10);
    connect(OKButton, &QPushButton::clicked, this, &fdlSetPayDate::OKButtonClick);
    connect(CancelButton, &QPushButton::clicked, this, &fdlSetPayDate::CancelButtonClick);

    // The keys belong to the dialog: the buttons act on click and touch only.
    for (QPushButton *button : {OKButton, CancelButton}) {
        button->setFocusPolicy(Qt::NoFocus);
        button->setAutoDefault(false);
    }
    setFocusPolicy(Qt::StrongFocus);
    installEventFilter(this);
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);

    m_date = DateValue::dateOnly(gPayDate);
    DispData();
    resize(m_scaler->designSize() * 1.5);
}

fdlSetPayDate::~fdlSetPayDate()
{
    delete m_scaler;
}

QLabel *fdlSetPayDate::addLabel(const QString &text, double left, double top, double width, double height, double points)
{
    auto *label = new QLabel(text, this);
    label->setAlignment(Qt::AlignCenter);
    m_scaler->place(label, left, top, width, height, points);
    return label;
}

void fdlSetPayDate::DispData()
{
    lblYM->setText(Format::date(m_date, QStringLiteral("yyyy年m月")));
    const QDate date = DateValue::toQDate(m_date);
    const QDate first(date.year(), date.month(), 1);
    const int w = DateValue::weekday(DateValue::fromQDate(first));
    const int n = first.daysInMonth();
    const int d = std::min(date.day(), n);
    for (int i = 0; i < DayCells; ++i) {
        QLabel *cell = lblDAY[i];
        const int day = i - w + 2;
        if (day < 1 || day > n) {
            cell->hide();
            continue;
        }
        cell->setText(QString::number(day));
        if (day == d)
            setBack(cell, ChosenColor);
        else if (i % 7 == 0)
            setBack(cell, SundayColor);
        else if (i % 7 == 6)
            setBack(cell, SaturdayColor);
        else
            setBack(cell, PlainColor);
        cell->show();
    }
}

void fdlSetPayDate::OKButtonClick()
{
    gPayDate = m_date;
    accept();
}

void fdlSetPayDate::CancelButtonClick()
{
    reject();
}

bool fdlSetPayDate::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    switch (key->key()) {
    case Qt::Key_Plus:
        if (keypad) {
            m_date += 1;
            DispData();
        }
        return true;
    case Qt::Key_Minus:
        if (keypad) {
            m_date -= 1;
            DispData();
        }
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OKButtonClick();
        return true;
    case Qt::Key_Escape:
        // The window's own way out, as its close box: nothing is stored.
        CancelButtonClick();
        return true;
    default:
        return true;
    }
}

void fdlSetPayDate::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_scaler->apply();
}
