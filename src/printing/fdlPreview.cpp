#include "printing/fdlPreview.h"

#include "base/Common.h"
#include "base/ScreenGuard.h"
#include "base/Variant.h"
#include "printing/BankTransfer.h"
#include "printing/DailyReport.h"
#include "printing/PainterSurface.h"
#include "printing/Printers.h"
#include "printing/fdlSetMgn.h"
#include "printing/fdlSetPrintCopy.h"
#include "printing/modPrint.h"
#include "printing/modReport.h"

#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr double kTwipsPerPixel = PictureSurface::TwipsPerPixel;

int px(double twips)
{
    return int(std::lround(twips / kTwipsPerPixel));
}

// The page box shows whether it can be typed in: button face when it cannot.
void setBoxReadOnly(QLineEdit *box, bool readOnly)
{
    box->setReadOnly(readOnly);
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, readOnly ? box->palette().color(QPalette::Button) : QColor(Qt::white));
    box->setPalette(pal);
}

} // namespace

void PreviewBox::setImage(const QImage &image)
{
    m_image = image;
    update();
}

void PreviewBox::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (!m_image.isNull())
        p.drawImage(0, 0, m_image);
}

fdlPreview::fdlPreview(QWidget *parent) : QDialog(parent)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    menuBar = new QMenuBar(this);
    layout->setMenuBar(menuBar);
    m_client = new QWidget(this);
    layout->addWidget(m_client);
    m_client->installEventFilter(this);

    QMenu *file = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuSET_MGN = file->addAction(QStringLiteral("余白設定...(&M)"));
    mnuPRINT = file->addAction(QStringLiteral("印刷...(&P)"));
    mnuSAVE_PDF = file->addAction(QStringLiteral("PDFに保存...(&S)"));
    mnuZENGIN = file->addAction(QStringLiteral("振込データ作成"));
    mnuSTATEMENT = file->addAction(QStringLiteral("支払明細書"));
    file->addSeparator();
    mnuCLOSE = file->addAction(QStringLiteral("閉じる(&X)"));
    QMenu *move = menuBar->addMenu(QStringLiteral("移動(&M)"));
    const char *moves[4] = {"最初", "前", "次", "最後"};
    for (int i = 0; i < 4; ++i) {
        mnuMOVE[i] = move->addAction(QString::fromUtf8(moves[i]));
        connect(mnuMOVE[i], &QAction::triggered, this, [this, i] { guarded([this, i] { Move(i); }); });
    }

    const char *captions[7] = {"閉じる", "ﾍﾟｰｼﾞ印刷", "余白設定", "|< 最初", "< 前", "次 >", "最後 >|"};
    const int lefts[7] = {113, 1250, 2390, 3800, 4940, 6080, 7220};
    for (int i = 0; i < 7; ++i) {
        Command1[i] = new QPushButton(QString::fromUtf8(captions[i]), m_client);
        Command1[i]->setAutoDefault(false);
        Command1[i]->setGeometry(px(lefts[i]), px(60), px(1100), px(340));
    }
    txtPAGE = new QLineEdit(QStringLiteral("1"), m_client);
    txtPAGE->setAlignment(Qt::AlignRight);
    txtPAGE->setGeometry(px(8500), px(60), px(600), px(340));
    Label1 = new QLabel(QStringLiteral("/"), m_client);
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(px(9100), px(60), px(240), px(340));
    txtPAGES = new QLineEdit(QStringLiteral("1"), m_client);
    txtPAGES->setAlignment(Qt::AlignRight);
    setBoxReadOnly(txtPAGES, true);
    txtPAGES->setGeometry(px(9340), px(60), px(600), px(340));
    pctPreview = new PreviewBox(m_client);
    HScrl = new QScrollBar(Qt::Horizontal, m_client);
    VScrl = new QScrollBar(Qt::Vertical, m_client);

    connect(Command1[0], &QPushButton::clicked, this, &QDialog::reject);
    connect(mnuCLOSE, &QAction::triggered, this, &QDialog::reject);
    connect(Command1[1], &QPushButton::clicked, this, [this] { guarded([this] { PrintPage(); }); });
    connect(Command1[2], &QPushButton::clicked, this, [this] { guarded([this] { openMargins(true); }); });
    connect(mnuSET_MGN, &QAction::triggered, this, [this] { guarded([this] { openMargins(false); }); });
    connect(mnuPRINT, &QAction::triggered, this, [this] {
        guarded([this] {
            fdlSetPrintCopy dialog(this);
            dialog.exec();
        });
    });
    connect(mnuSAVE_PDF, &QAction::triggered, this, [this] {
        guarded([this] {
            const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("PDFに保存"), windowTitle() + QStringLiteral(".pdf"),
                                                              QStringLiteral("PDF (*.pdf)"));
            if (!path.isEmpty())
                SaveAsPdf(path);
        });
    });
    for (int i = 3; i <= 6; ++i)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { guarded([this, i] { Move(i - 3); }); });
    connect(txtPAGE, &QLineEdit::editingFinished, this, [this] {
        guarded([this] {
            m_page = int(Val(txtPAGE->text()));
            PrintPreview();
        });
    });
    connect(HScrl, &QScrollBar::valueChanged, this, [this](int value) {
        if (value > HScrl->maximum())
            HScrl->setValue(HScrl->maximum());
        m_x = -HScrl->value();
        guarded([this] { PrintPreview(); });
    });
    connect(VScrl, &QScrollBar::valueChanged, this, [this](int value) {
        if (value > VScrl->maximum())
            VScrl->setValue(VScrl->maximum());
        m_y = -VScrl->value();
        guarded([this] { PrintPreview(); });
    });

    // Load: the report's caption and page count.
    m_page = 1;
    mnuZENGIN->setVisible(gRptKind == RptKind::BankTrn);
    mnuSTATEMENT->setVisible(gRptKind == RptKind::BankTrn);
    connect(mnuZENGIN, &QAction::triggered, this, [this] {
        if (!gTrn.isEmpty())
            emit transferDataRequested(gTrn.first().CLS_DATE);
    });
    connect(mnuSTATEMENT, &QAction::triggered, this, [this] {
        if (!gTrn.isEmpty())
            emit statementsRequested(gTrn.first().CLS_DATE);
    });
    if (gRptKind == RptKind::BankTrn) {
        setWindowTitle(QStringLiteral("振込依頼書"));
        const qsizetype highest = gTrn.size() - 1;
        if (highest >= 1)
            txtPAGES->setText(QString::number(highest / kTrnLinesPerPage + 1));
    } else if (gRptKind == RptKind::DailyRpt) {
        setWindowTitle(QStringLiteral("日報"));
        txtPAGES->setText(QStringLiteral("1"));
    }
    resize(800, 600);
}

bool fdlPreview::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        guarded([this] { layOut(); });
    return QDialog::eventFilter(watched, event);
}

void fdlPreview::keyPressEvent(QKeyEvent *event)
{
    // Enter does nothing here (it only ends the typing of a page number).
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void fdlPreview::layOut()
{
    const double W = m_client->width() * kTwipsPerPixel;
    const double H = m_client->height() * kTwipsPerPixel;
    const double hScrlHeight = HScrl->sizeHint().height() * kTwipsPerPixel;
    const double vScrlWidth = VScrl->sizeHint().width() * kTwipsPerPixel;
    const double pictureHeight = qMax(15.0, H - 113.4 - 113.4 - hScrlHeight - 450 - 567);
    const double pictureWidth = qMax(15.0, W - 113.4 - 226.8 - vScrlWidth);
    pctPreview->setGeometry(px(113.4), px(450), px(pictureWidth), px(pictureHeight));

    const QSignalBlocker hb(HScrl), vb(VScrl);
    HScrl->setGeometry(px(113.4), px(pictureHeight + 450), px(pictureWidth), px(hScrlHeight));
    HScrl->setRange(0, int(std::lround(qMax(0.0, kPageWidthTwips - pictureWidth))));
    HScrl->setPageStep(int(std::lround(pictureWidth)));
    HScrl->setSingleStep(1);
    VScrl->setGeometry(px(pictureWidth + 113.4), px(450), px(vScrlWidth), px(pictureHeight));
    VScrl->setRange(0, int(std::lround(qMax(0.0, kPageHeightTwips - pictureHeight))));
    VScrl->setPageStep(int(std::lround(pictureHeight)));
    VScrl->setSingleStep(1);
    m_x = -HScrl->value();
    m_y = -VScrl->value();
    PrintPreview();
}

void fdlPreview::PrintPreview()
{
    PictureSurface picture(pctPreview->size());
    picture.Cls();
    picture.setDrawWidth(1);
    picture.setDrawStyle(Surface::Solid);
    double left = 0, top = 0;
    ReadMargins(gRptKind, left, top);
    picture.Box(m_x, m_y, m_x + kPageWidthTwips, m_y + kPageHeightTwips);
    if (gRptKind == RptKind::BankTrn)
        PrintBankTrnPage(picture, float(left + m_x), float(top + m_y), m_page);
    else if (gRptKind == RptKind::DailyRpt)
        PrintDailyRpt(picture, float(left + m_x), float(top + m_y), gRptDate);
    pctPreview->setImage(picture.image());
    SetTbrBtn();
}

void fdlPreview::SetTbrBtn()
{
    if (txtPAGES->text() == QLatin1String("1")) {
        setBoxReadOnly(txtPAGE, true);
        for (int i = 3; i <= 6; ++i)
            Command1[i]->setEnabled(false);
        for (QAction *a : mnuMOVE)
            a->setEnabled(false);
        return;
    }
    const bool atFirst = Val(txtPAGE->text()) == 1;
    const bool atLast = txtPAGE->text() == txtPAGES->text();
    Command1[3]->setEnabled(!atFirst);
    Command1[4]->setEnabled(!atFirst);
    mnuMOVE[0]->setEnabled(!atFirst);
    mnuMOVE[1]->setEnabled(!atFirst);
    Command1[5]->setEnabled(!atLast);
    Command1[6]->setEnabled(!atLast);
    mnuMOVE[2]->setEnabled(!atLast);
    mnuMOVE[3]->setEnabled(!atLast);
}

void fdlPreview::Move(int where)
{
    const double page = Val(txtPAGE->text());
    const double pages = Val(txtPAGES->text());
    switch (where) {
    case 0:
        if (page != 1)
            txtPAGE->setText(QStringLiteral("1"));
        break;
    case 1:
        if (page != 1)
            txtPAGE->setText(QString::number(page - 1));
        break;
    case 2:
        if (page < pages)
            txtPAGE->setText(QString::number(page + 1));
        break;
    case 3:
        if (txtPAGE->text() != txtPAGES->text())
            txtPAGE->setText(txtPAGES->text());
        break;
    default:
        return;
    }
    m_page = int(Val(txtPAGE->text()));
    PrintPreview();
}

void fdlPreview::PrintPage()
{
    WaitCursor wait;
    m_page = int(Val(txtPAGE->text()));
    double left = 0, top = 0;
    ReadMargins(gRptKind, left, top);
    SetDefPrinter();
    if (gRptKind == RptKind::BankTrn)
        PrintBankTrnPage(Printer(), float(left), float(top), m_page);
    else if (gRptKind == RptKind::DailyRpt)
        PrintDailyRpt(Printer(), float(left), float(top), gRptDate);
}

bool fdlPreview::SaveAsPdf(const QString &path)
{
    WaitCursor wait;
    double left = 0, top = 0;
    ReadMargins(gRptKind, left, top);
    PdfSurface document(path);
    if (gRptKind == RptKind::BankTrn)
        PrintBankTrn(document, float(left), float(top));
    else if (gRptKind == RptKind::DailyRpt)
        PrintDailyRpt(document, float(left), float(top), gRptDate);
    return document.Close();
}

void fdlPreview::openMargins(bool redraw)
{
    fdlSetMgn dialog(this);
    dialog.exec();
    if (redraw)
        PrintPreview();
}
