#include "payment/fdlZengin.h"

#include "base/Common.h"
#include "base/Format.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsMst.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QString yen(const Currency &amount)
{
    return Format::number(amount, QStringLiteral("#,##0")) + QStringLiteral(" 円");
}

QString describe(const std::exception &e)
{
    const auto *db = dynamic_cast<const DbError *>(&e);
    return db ? db->description() : QString::fromStdString(e.what());
}

} // namespace

fdlZengin::fdlZengin(QWidget *parent, double closingDate) : QDialog(parent), m_closingDate(closingDate)
{
    setWindowTitle(QStringLiteral("振込データ作成"));
    setModal(true);
    lblSummary = new QLabel(this);
    lblError = new QLabel(this);
    lblError->setWordWrap(true);
    QPalette red = lblError->palette();
    red.setColor(QPalette::WindowText, QColor(0xC0, 0, 0));
    lblError->setPalette(red);
    grdExcluded = new QTableWidget(0, 4, this);
    grdExcluded->setHorizontalHeaderLabels({QStringLiteral("生産者ｺｰﾄﾞ"), QStringLiteral("生産者名"),
                                            QStringLiteral("振込額"), QStringLiteral("理由")});
    grdExcluded->verticalHeader()->hide();
    grdExcluded->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdExcluded->horizontalHeader()->setStretchLastSection(true);
    chkLineEnds = new QCheckBox(QStringLiteral("レコードごとに改行 (CR LF) を付ける"), this);
    txtPath = new QLineEdit(this);
    cmdBrowse = new QPushButton(QStringLiteral("参照..."), this);
    cmdCreate = new QPushButton(QStringLiteral("作成"), this);
    cmdClose = new QPushButton(QStringLiteral("閉じる"), this);
    cmdCreate->setAutoDefault(false);
    cmdClose->setAutoDefault(false);

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("締日"), this), 0, 0);
    grid->addWidget(new QLabel(Format::date(closingDate, QStringLiteral("yyyy年m月d日")), this), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("振込データ"), this), 1, 0);
    grid->addWidget(lblSummary, 1, 1);
    grid->setColumnStretch(1, 1);
    auto *path = new QHBoxLayout;
    path->addWidget(new QLabel(QStringLiteral("ファイル"), this));
    path->addWidget(txtPath, 1);
    path->addWidget(cmdBrowse);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdCreate);
    buttons->addWidget(cmdClose);
    auto *main = new QVBoxLayout(this);
    main->addLayout(grid);
    main->addWidget(lblError);
    main->addWidget(new QLabel(QStringLiteral("振込データに含めない生産者"), this));
    main->addWidget(grdExcluded, 1);
    main->addWidget(chkLineEnds);
    main->addLayout(path);
    main->addLayout(buttons);

    connect(cmdClose, &QPushButton::clicked, this, &QDialog::reject);
    connect(cmdCreate, &QPushButton::clicked, this, [this] {
        if (Create())
            accept();
    });
    connect(cmdBrowse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getSaveFileName(this, QStringLiteral("振込データの保存先"), txtPath->text());
        if (!chosen.isEmpty())
            txtPath->setText(QDir::toNativeSeparators(chosen));
    });
    connect(chkLineEnds, &QCheckBox::toggled, this, [this](bool on) { m_file.lineEnds = on; });

    txtPath->setText(QDir::toNativeSeparators(QDir::home().filePath(TransferFile::DefaultFileName(closingDate))));
    try {
        if (!gDb || !gMst)
            throw DbError(QStringLiteral("データベースに接続されていません。"));
        m_file = TransferFile::Build(*gDb, *gMst, closingDate);
    } catch (const std::exception &e) {
        m_file = TransferFile();
        m_file.error = describe(e);
    }
    fill();
    resize(760, 480);
}

void fdlZengin::fill()
{
    chkLineEnds->setChecked(m_file.lineEnds);
    if (m_file.ok())
        lblSummary->setText(QStringLiteral("%1 件　合計 %2　振込指定日 %3")
                                .arg(m_file.count).arg(yen(m_file.total), Format::date(m_file.payDate, QStringLiteral("yyyy年m月d日"))));
    else
        lblSummary->setText(QStringLiteral("作成できません"));
    QStringList messages;
    if (!m_file.error.isEmpty())
        messages << m_file.error;
    messages << m_file.notes;
    lblError->setText(messages.join(u'\n'));
    lblError->setVisible(!messages.isEmpty());
    grdExcluded->setRowCount(int(m_file.excluded.size()));
    for (int row = 0; row < m_file.excluded.size(); ++row) {
        const TransferExclusion &x = m_file.excluded[row];
        const QStringList cells{QString::number(x.fmrId), x.fmrName, yen(x.amount), x.reason};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells[c]);
            if (c == 0 || c == 2)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grdExcluded->setItem(row, c, item);
        }
    }
    grdExcluded->resizeColumnsToContents();
    grdExcluded->horizontalHeader()->setStretchLastSection(true);
    cmdCreate->setEnabled(m_file.ok());
    chkLineEnds->setEnabled(m_file.ok());
}

bool fdlZengin::Create()
{
    QString problem;
    const QString path = QDir::fromNativeSeparators(txtPath->text().trimmed());
    if (path.isEmpty()) {
        MsgBoxEx(QStringLiteral("保存先のファイルを指定して下さい。"), Msg::Exclamation);
        return false;
    }
    if (!m_file.Write(path, &problem)) {
        MsgBoxEx(problem, Msg::Exclamation);
        return false;
    }
    MsgBoxEx(QStringLiteral("振込データを作成しました。\n%1\n%2 件　合計 %3").arg(QDir::toNativeSeparators(path)).arg(m_file.count).arg(yen(m_file.total)),
             Msg::Information);
    return true;
}
