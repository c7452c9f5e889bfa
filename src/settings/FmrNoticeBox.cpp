#include "settings/FmrNoticeBox.h"

#include "base/Common.h"
#include "notice/FmrNotice.h"
#include "notice/MailAddress.h"
#include "notice/NoticeTables.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLineEdit>

FmrNoticeBox::FmrNoticeBox(QWidget *parent) : QWidget(parent)
{
    m_address = new QLineEdit(this);
    m_address->setObjectName(QStringLiteral("NTC_ADRS"));
    m_address->setMaxLength(254);
    m_address->setInputMethodHints(Qt::ImhEmailCharactersOnly | Qt::ImhLatinOnly);
    m_address->setAttribute(Qt::WA_InputMethodEnabled, false);
    m_address->setMinimumWidth(QFontMetrics(font()).horizontalAdvance(u'0') * 32 + 14);
    m_on = new QCheckBox(QStringLiteral("売上通知を送る"), this);
    m_on->setObjectName(QStringLiteral("NTC_FLG"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(m_address);
    row->addWidget(m_on);
    row->addStretch(1);
}

void FmrNoticeBox::setEditing(bool editing)
{
    if (!editing) {
        m_address->clear();
        m_on->setChecked(false);
        m_loaded = false;
    }
    m_address->setEnabled(editing && m_loaded);
    m_on->setEnabled(editing && m_loaded);
}

void FmrNoticeBox::load(clsData &mst, qint32 fmrId)
{
    m_loaded = false;
    try {
        NoticeTables::Ensure(mst, QStringLiteral("M_FMR_NTC"));
        const FmrNotice::Entry entry = FmrNotice::Read(mst, fmrId);
        m_address->setText(entry.address);
        m_on->setChecked(entry.on);
        m_loaded = true;
    } catch (const std::exception &e) {
        WriteLog(QStringLiteral("売上通知の宛先を読めません: ") + QString::fromStdString(e.what()));
    }
}

bool FmrNoticeBox::check()
{
    if (!m_loaded)
        return true;
    const QString address = m_address->text().trimmed();
    if ((!address.isEmpty() && !MailAddress::isValid(address)) || (address.isEmpty() && m_on->isChecked())) {
        MsgBoxEx(QStringLiteral("売上通知のメールアドレスが正しくありません。"), Msg::Exclamation);
        m_address->setFocus();
        return false;
    }
    return true;
}

void FmrNoticeBox::save(clsData &mst, qint32 fmrId)
{
    if (m_loaded)
        FmrNotice::Save(mst, fmrId, {m_address->text().trimmed(), m_on->isChecked()});
}
