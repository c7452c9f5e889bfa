#include "settings/fdlSetIniCtrl.h"

#include "settings/PrinterNames.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

const QStringList NoYes{QStringLiteral("しない"), QStringLiteral("する")};
const QStringList NotDoDo{QStringLiteral("行わない"), QStringLiteral("行う")};
const QStringList PaperBins{QString(), QStringLiteral("トレイ"), QStringLiteral("手差し")};

} // namespace

fdlSetIniCtrl::fdlSetIniCtrl(QWidget *parent)
    : SettingsDialog(parent, QStringLiteral("ﾛｰｶﾙ設定"), Store::Ini)
{
    auto *printers = new QGroupBox(QStringLiteral("既定ﾌﾟﾘﾝﾀ情報"), this);
    auto *printerGrid = new QGridLayout(printers);
    addRow(printerGrid, QStringLiteral("既定ﾌﾟﾘﾝﾀ"), addPrinterList(QStringLiteral("DEF_PRINTER")));
    addRow(printerGrid, QStringLiteral("既定ﾚｼﾌﾟﾘ"), addPrinterList(QStringLiteral("DEF_RECEIPT")));
    printerGrid->setColumnStretch(1, 1);

    auto *receipt = new QGroupBox(QStringLiteral("ﾚｼｰﾄ設定"), this);
    auto *receiptGrid = new QGridLayout(receipt);
    QStringList logos{QString()};
    for (int i = 1; i <= 5; ++i)
        logos << QStringLiteral("ﾋﾞｯﾄﾏｯﾌﾟ%1").arg(i);
    addRow(receiptGrid, QStringLiteral("ﾛｺﾞ印刷"), addList(QStringLiteral("PRINT_LOGO"), NoYes));
    addRow(receiptGrid, QStringLiteral("ﾛｺﾞ番号"), addList(QStringLiteral("PRINT_LOGO_NO"), logos));
    addRow(receiptGrid, QStringLiteral("ﾚｼｰﾄ切断"), addList(QStringLiteral("PAPER_CUT"), NoYes));
    addRow(receiptGrid, QStringLiteral("ﾄﾞﾛﾜｰｵｰﾌﾟﾝ"), addList(QStringLiteral("DRAWER_OPEN"), NoYes));
    receiptGrid->setColumnStretch(1, 1);

    // A grid of the two printed forms by paper bin and margins.
    auto *forms = new QGroupBox(QStringLiteral("帳票設定"), this);
    auto *formGrid = new QGridLayout(forms);
    formGrid->addWidget(label(QStringLiteral("給紙")), 0, 1, Qt::AlignCenter);
    formGrid->addWidget(label(QStringLiteral("上余白(cm)")), 0, 2, Qt::AlignCenter);
    formGrid->addWidget(label(QStringLiteral("左余白(cm)")), 0, 3, Qt::AlignCenter);
    const struct { const char *caption; const char *prefix; } rows[] = {
        {"日報", "DAILY_REPORT"}, {"振込依頼", "BANK_TRN"}};
    int row = 1;
    for (const auto &r : rows) {
        const QString prefix = QString::fromLatin1(r.prefix);
        formGrid->addWidget(label(QString::fromUtf8(r.caption)), row, 0);
        formGrid->addWidget(addList(prefix + QStringLiteral("_PAPER_BIN"), PaperBins), row, 1);
        formGrid->addWidget(addText(prefix + QStringLiteral("_TOP_MGN"), Input::Numeric, 0, Conversion::Margin), row, 2,
                            Qt::AlignCenter);
        formGrid->addWidget(addText(prefix + QStringLiteral("_LEFT_MGN"), Input::Numeric, 0, Conversion::Margin), row, 3,
                            Qt::AlignCenter);
        ++row;
    }
    formGrid->setColumnStretch(4, 1);

    auto *paths = new QGroupBox(QStringLiteral("ﾊﾟｽ情報"), this);
    auto *pathGrid = new QGridLayout(paths);
    QLineEdit *backup = addText(QStringLiteral("BACK_PATH"), Input::Latin);
    backup->setMinimumWidth(backup->minimumWidth() * 3 / 2);
    addRow(pathGrid, QStringLiteral("ﾊﾞｯｸｱｯﾌﾟ"), backup);
    pathGrid->setColumnStretch(1, 1);

    auto *others = new QGroupBox(QStringLiteral("その他情報"), this);
    auto *otherGrid = new QGridLayout(others);
    // The cashier's name goes into every sale (D_REG.REG_USER, 50 characters).
    addRow(otherGrid, QStringLiteral("レジ使用者"), addText(QStringLiteral("REG_USER"), Input::Japanese, 50));
    addRow(otherGrid, QStringLiteral("日次締処理"), addList(QStringLiteral("DAILY_ADJ"), NotDoDo));
    addRow(otherGrid, QStringLiteral("支払締処理"), addList(QStringLiteral("PAY_CLS"), NotDoDo));
    addRow(otherGrid, QStringLiteral("日報印刷"), addList(QStringLiteral("PRINT_DAILY_REPORT"), NoYes));
    addRow(otherGrid, QStringLiteral("振込依頼印刷"), addList(QStringLiteral("PRINT_BANK_TRN"), NoYes));
    otherGrid->setColumnStretch(1, 1);

    auto *left = new QVBoxLayout;
    left->addWidget(printers);
    left->addWidget(receipt);
    left->addWidget(forms);
    left->addStretch(1);
    auto *right = new QVBoxLayout;
    right->addWidget(paths);
    right->addWidget(others);
    right->addStretch(1);
    auto *columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    auto *main = new QVBoxLayout(this);
    main->addLayout(columns);
    main->addLayout(buttonRow());

    formLoad();
}

void fdlSetIniCtrl::SetCmb()
{
    const QStringList names = InstalledPrinterNames();
    for (const char *key : {"DEF_PRINTER", "DEF_RECEIPT"}) {
        QComboBox *combo = list(QString::fromLatin1(key));
        combo->clear();
        combo->addItems(names);
    }
}
