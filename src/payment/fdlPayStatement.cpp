#include "payment/fdlPayStatement.h"

#include "base/Common.h"
#include "base/Format.h"
#include "base/ScreenGuard.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"
#include "payment/PayStatementForm.h"
#include "printing/PainterSurface.h"
#include "printing/Printers.h"
#include "printing/modPrint.h"
#include "printing/modReport.h"

#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

namespace {

// The page is shown whole, at this many pixels for its height.
constexpr int kShownHeight = 720;

void margins(double &left, double &top)
{
    // The statements share the transfer request's paper, margins and bin.
    gRptKind = RptKind::BankTrn;
    ReadMargins(RptKind::BankTrn, left, top);
}

} // namespace

fdlPayStatement::fdlPayStatement(QWidget *parent, double closingDate) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("支払明細書"));
    setModal(true);
    lstProducers = new QListWidget(this);
    lstProducers->setMinimumWidth(220);
    pctPage = new QLabel(this);
    pctPage->setAlignment(Qt::AlignCenter);
    pctPage->setMinimumSize(int(kShownHeight * kPageWidthTwips / kPageHeightTwips), kShownHeight);
    cmdPrevPage = new QPushButton(QStringLiteral("< 前"), this);
    cmdNextPage = new QPushButton(QStringLiteral("次 >"), this);
    lblPage = new QLabel(this);
    optAll = new QRadioButton(QStringLiteral("全生産者"), this);
    optOne = new QRadioButton(QStringLiteral("選択した生産者"), this);
    optAll->setChecked(true);
    cmdPrint = new QPushButton(QStringLiteral("印刷"), this);
    cmdPdf = new QPushButton(QStringLiteral("PDF保存..."), this);
    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);
    for (QPushButton *b : {cmdPrevPage, cmdNextPage, cmdPrint, cmdPdf, cmdClose})
        b->setAutoDefault(false);

    auto *pages = new QHBoxLayout;
    pages->addStretch(1);
    pages->addWidget(cmdPrevPage);
    pages->addWidget(lblPage);
    pages->addWidget(cmdNextPage);
    pages->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(pctPage, 1);
    right->addLayout(pages);
    auto *body = new QHBoxLayout;
    body->addWidget(lstProducers);
    body->addLayout(right, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(optAll);
    buttons->addWidget(optOne);
    buttons->addStretch(1);
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdPdf);
    buttons->addWidget(cmdClose);
    auto *main = new QVBoxLayout(this);
    main->addLayout(body, 1);
    main->addLayout(buttons);

    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(lstProducers, &QListWidget::currentRowChanged, this, [this](int row) { guarded([this, row] { showPage(row, 1); }); });
    connect(cmdPrevPage, &QPushButton::clicked, this, [this] { guarded([this] { showPage(m_row, m_page - 1); }); });
    connect(cmdNextPage, &QPushButton::clicked, this, [this] { guarded([this] { showPage(m_row, m_page + 1); }); });
    connect(cmdPrint, &QPushButton::clicked, this, [this] { guarded([this] { PrintChosen(); }); });
    connect(cmdPdf, &QPushButton::clicked, this, [this] {
        guarded([this] {
            const QString name = QStringLiteral("MEISAI_") + Format::date(m_set.closingDate, QStringLiteral("yyyymmdd")) + QStringLiteral(".pdf");
            const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("PDFに保存"), QDir::home().filePath(name),
                                                              QStringLiteral("PDF (*.pdf)"));
            if (!path.isEmpty())
                SavePdf(path);
        });
    });

    guarded([this, closingDate] {
        if (!gDb || !gMst)
            throw DbError(QStringLiteral("データベースに接続されていません。"));
        m_set = PayStatementSet::Load(*gDb, *gMst, closingDate);
    });
    for (const PayStatement &s : m_set.statements)
        lstProducers->addItem(QStringLiteral("%1  %2").arg(s.fmrId, 4, 10, QChar(u'0')).arg(s.fmrName));
    const bool any = !m_set.statements.isEmpty();
    for (QWidget *w : {static_cast<QWidget *>(cmdPrint), static_cast<QWidget *>(cmdPdf), static_cast<QWidget *>(optOne)})
        w->setEnabled(any);
    if (any)
        lstProducers->setCurrentRow(0);
    else
        pctPage->setText(m_set.error);
}

PayStatementSet fdlPayStatement::chosen() const
{
    PayStatementSet set = m_set;
    if (optOne->isChecked() && m_row >= 0 && m_row < m_set.statements.size())
        set.statements = {m_set.statements[m_row]};
    return set;
}

void fdlPayStatement::showPage(int row, int page)
{
    if (row < 0 || row >= m_set.statements.size())
        return;
    const PayStatement &s = m_set.statements[row];
    const int pages = PayStatementForm::Pages(s);
    m_row = row;
    m_page = qBound(1, page, pages);
    const QSize pixels(int(std::lround(kPageWidthTwips / PictureSurface::TwipsPerPixel)),
                       int(std::lround(kPageHeightTwips / PictureSurface::TwipsPerPixel)));
    PictureSurface picture(pixels);
    picture.Cls();
    picture.setDrawWidth(1);
    picture.Box(0, 0, kPageWidthTwips - PictureSurface::TwipsPerPixel, kPageHeightTwips - PictureSurface::TwipsPerPixel);
    double left = 0, top = 0;
    margins(left, top);
    PayStatementForm::PrintPage(picture, float(left), float(top), m_set, s, m_page);
    pctPage->setPixmap(QPixmap::fromImage(picture.image().scaledToHeight(kShownHeight, Qt::SmoothTransformation)));
    lblPage->setText(QStringLiteral("%1 / %2").arg(m_page).arg(pages));
    cmdPrevPage->setEnabled(m_page > 1);
    cmdNextPage->setEnabled(m_page < pages);
}

bool fdlPayStatement::SavePdf(const QString &path)
{
    WaitCursor wait;
    double left = 0, top = 0;
    margins(left, top);
    PdfSurface pdf(path);
    PayStatementForm::PrintAll(pdf, float(left), float(top), chosen());
    return pdf.Close();
}

void fdlPayStatement::PrintChosen()
{
    WaitCursor wait;
    double left = 0, top = 0;
    margins(left, top);
    SetDefPrinter();
    PayStatementForm::PrintAll(Printer(), float(left), float(top), chosen());
}
