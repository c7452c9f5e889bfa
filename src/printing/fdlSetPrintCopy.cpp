#include "printing/fdlSetPrintCopy.h"

#include "base/Common.h"
#include "base/FormScaler.h"
#include "base/ScreenGuard.h"
#include "base/Variant.h"
#include "printing/BankTransfer.h"
#include "printing/DailyReport.h"
#include "printing/Printers.h"
#include "printing/modPrint.h"
#include "printing/modReport.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

fdlSetPrintCopy::fdlSetPrintCopy(QWidget *parent) : QDialog(parent), m_scaler(new FormScaler(this, 4700, 2500))
{
    setWindowTitle(QStringLiteral("印刷"));
    Option1[0] = new QRadioButton(QStringLiteral("全ﾍﾟｰｼﾞ印刷"), this);
    Option1[1] = new QRadioButton(QStringLiteral("ﾍﾟｰｼﾞ選択"), this);
    const char *labels[3] = {"ﾍﾟｰｼﾞ", "～", "部数"};
    for (int i = 0; i < 3; ++i) {
        Label1[i] = new QLabel(QString::fromUtf8(labels[i]), this);
        Text1[i] = new QLineEdit(QStringLiteral("1"), this);
        Text1[i]->setAlignment(Qt::AlignRight);
    }
    txtPAGES = new QLineEdit(QStringLiteral("1"), this);
    txtPAGES->setReadOnly(true);
    txtPAGES->setAlignment(Qt::AlignRight);
    auto *of = new QLabel(QStringLiteral("/"), this);
    Command1[0] = new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), this);
    Command1[1] = new QPushButton(QStringLiteral("印刷"), this);
    for (QPushButton *b : Command1)
        b->setAutoDefault(false);

    m_scaler->place(Option1[0], 240, 150, 2000, 330, 9);
    m_scaler->place(of, 2700, 180, 200, 330, 9);
    m_scaler->place(txtPAGES, 2950, 150, 600, 360, 9);
    m_scaler->place(Option1[1], 240, 600, 1600, 330, 9);
    m_scaler->place(Label1[0], 600, 1050, 700, 330, 9);
    m_scaler->place(Text1[0], 1300, 1020, 600, 360, 9);
    m_scaler->place(Label1[1], 2000, 1050, 300, 330, 9);
    m_scaler->place(Text1[1], 2350, 1020, 600, 360, 9);
    m_scaler->place(Label1[2], 600, 1500, 700, 330, 9);
    m_scaler->place(Text1[2], 1300, 1470, 600, 360, 9);
    m_scaler->place(Command1[1], 2300, 1950, 1100, 400, 9);
    m_scaler->place(Command1[0], 3500, 1950, 1100, 400, 9);
    resize(m_scaler->designSize());

    // Load: the page count of the report.
    if (gRptKind == RptKind::BankTrn) {
        const QString pages = QString::number((gTrn.size() - 1) / kTrnLinesPerPage + 1);
        txtPAGES->setText(pages);
        Text1[1]->setText(pages);
    } else {
        txtPAGES->setText(QStringLiteral("1"));
        Text1[1]->setText(QStringLiteral("1"));
    }
    Text1[0]->setText(QStringLiteral("1"));
    connect(Option1[0], &QRadioButton::toggled, this, [this](bool on) { enableRange(!on); });
    Option1[0]->setChecked(true);
    enableRange(false);

    connect(Command1[0], &QPushButton::clicked, this, &QDialog::reject);
    connect(Command1[1], &QPushButton::clicked, this, [this] { guarded([this] { PrintReport(); }); });
}

void fdlSetPrintCopy::enableRange(bool enable)
{
    for (int i = 0; i < 2; ++i) {
        Label1[i]->setEnabled(enable);
        Text1[i]->setEnabled(enable);
        QPalette pal = Text1[i]->palette();
        pal.setColor(QPalette::Base, enable ? QColor(Qt::white) : palette().color(QPalette::Button));
        Text1[i]->setPalette(pal);
    }
}

void fdlSetPrintCopy::PrintReport()
{
    WaitCursor wait;
    struct Restore {
        ~Restore()
        {
            // The copy count holds for this one print only, also when printing failed.
            try {
                if (Printers::hasCurrent())
                    Printer().setCopies(1);
            } catch (const std::exception &) {
            }
        }
    } restore;

    // The copies go to the report printer, so it is made current first.
    SetDefPrinter();
    const double copies = Val(Text1[2]->text());
    if (copies > 1)
        Printer().setCopies(int(copies));

    double left = 0, top = 0;
    ReadMargins(gRptKind, left, top);
    if (gRptKind == RptKind::DailyRpt) {
        // One page: the page boxes do not matter.
        SetDefPrinter();
        PrintDailyRpt(Printer(), float(left), float(top), gRptDate);
    } else if (gRptKind == RptKind::BankTrn) {
        if (Option1[0]->isChecked()) {
            SetDefPrinter();
            PrintBankTrn(Printer(), float(left), float(top));
        } else {
            const int first = int(Val(Text1[0]->text()));
            const int last = int(Val(Text1[1]->text()));
            const int count = int(Val(txtPAGES->text()));
            if (1 <= first && first <= last && last <= count) {
                for (int page = first; page <= last; ++page) {
                    ReadMargins(gRptKind, left, top);
                    SetDefPrinter();
                    PrintBankTrnPage(Printer(), float(left), float(top), page);
                }
            }
        }
    }
}

void fdlSetPrintCopy::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    m_scaler->apply();
}

void fdlSetPrintCopy::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        focusNextChild();
        return;
    }
    QDialog::keyPressEvent(event);
}
