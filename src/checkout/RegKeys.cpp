#include "checkout/RegKeys.h"

#include "base/ScreenGuard.h"
#include "checkout/GetBcdData.h"
#include "checkout/frmReg.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

RegKeys::RegKeys(frmReg &screen) : m_screen(screen), m_sale(screen.m_sale)
{
}

bool RegKeys::handle(QKeyEvent *key)
{
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        guarded([this] { enter(); });
        return true;
    case Qt::Key_Backspace:
        guarded([this] { backspace(); });
        return true;
    case Qt::Key_Escape:
        m_screen.Command1Click(0);
        return true;
    case Qt::Key_F1: case Qt::Key_F2: case Qt::Key_F3: case Qt::Key_F4:
    case Qt::Key_F5: case Qt::Key_F6: case Qt::Key_F7: case Qt::Key_F8:
        m_screen.Command1Click(key->key() - Qt::Key_F1 + 1);
        return true;
    case Qt::Key_Up: case Qt::Key_Down: case Qt::Key_PageUp: case Qt::Key_PageDown:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_Tab: case Qt::Key_Backtab:
        return false; // choosing a line in the grid
    default:
        break;
    }
    // Every character is the screen's: digits, "+" and "-" act, anything else (letters, signs, control
    // characters) is dropped.
    if (!key->text().isEmpty())
        guarded([this, key] { character(key->text()); });
    return true;
}

void RegKeys::character(const QString &text)
{
    for (QChar c : text) {
        if (c >= u'0' && c <= u'9') {
            if (m_sale.mode() == SaleState::ScanMode) {
                m_screen.lblBCD->setText(m_screen.lblBCD->text() + c);
            } else if (m_sale.mode() == SaleState::TenderMode) {
                m_sale.typeTender(c);
                m_screen.lblRCV->setText(m_sale.tendered());
            }
        } else if (c == u'+' || c == u'-') {
            if (c == u'+')
                m_sale.increase();
            else
                m_sale.decrease();
            m_screen.lblQTY->setText(m_sale.multiplier().toPlainText());
            QApplication::beep();
        } else {
            continue;
        }
        m_screen.Text1->setFocus();
    }
}

void RegKeys::enter()
{
    switch (m_sale.mode()) {
    case SaleState::ScanMode:
        if (!m_screen.lblBCD->text().isEmpty()) {
            scanBarcode();
            break;
        }
        if (m_sale.total() != Currency())
            m_screen.SumDtl();
        m_sale.resetMultiplier();
        m_screen.showPayment();
        break;
    case SaleState::TenderMode:
        // At most 99999 is tendered; Backspace clears a longer entry.
        if (m_sale.confirmTender() == SaleState::Tender::TooLong)
            QApplication::beep();
        m_screen.showPayment();
        break;
    case SaleState::ChangeMode:
        if (m_screen.ChkData())
            m_screen.VantleData();
        break;
    }
}

void RegKeys::scanBarcode()
{
    DtlRec &slot = m_sale.blankSlot();
    slot.BCD = PaddedBarcode(m_screen.lblBCD->text());
    m_screen.lblBCD->setText(QString());
    if (GetBcdData(slot) < 0) {
        QApplication::beep();
        m_screen.setBack(m_screen.lblBCD, frmReg::FailedColor);
        return;
    }
    const SaleState::Edit added = m_sale.addLine();
    if (added == SaleState::Edit::Done)
        m_screen.DispData(qint16(m_sale.lineCount() - 1));
    m_screen.showLines(added);
}

void RegKeys::backspace()
{
    switch (m_sale.mode()) {
    case SaleState::ScanMode:
        if (!m_screen.lblBCD->text().isEmpty())
            m_screen.lblBCD->setText(QString());
        else
            m_sale.resetMultiplier();
        break;
    case SaleState::TenderMode:
        if (!m_sale.tendered().isEmpty())
            m_sale.clearTender();
        else
            m_sale.setMode(SaleState::ScanMode);
        break;
    case SaleState::ChangeMode:
        m_sale.setMode(SaleState::TenderMode);
        break;
    }
    m_screen.showPayment();
}
