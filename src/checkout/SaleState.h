#pragma once

#include "base/Currency.h"

#include <QList>
#include <QString>
#include <optional>

// The sale header as the register holds it until the sale is stored; the fields are named after the
// columns of D_REG.
struct RegRec
{
    qint32 REG_ID = 0;      // set when the sale is stored
    qint32 REG_NO = 0;      // receipt number since the last daily close, set when stored
    double REG_DTM = 0;     // moment of storing
    double SALES_DATE = 0;
    QString REG_USER;       // cashier; empty is stored as NULL
    qint32 DTL_CNT = 0;     // line number given to the last line added (a deleted line does not lower it)
    Currency AMT_SUM;
    Currency RCV;           // amount tendered
    Currency CHG;           // change: RCV - AMT_SUM
};

// One line of the sale, named after the columns of D_REG_DTL. DTL_NO 0 marks a blank slot, which is
// neither shown nor stored.
struct DtlRec
{
    qint32 DTL_NO = 0;
    QString BCD;            // 13 digits
    qint32 PRD_ID = 0;
    QString BCD_NM;
    qint32 FMR_ID = 0;
    QString FMR_NM;
    Currency O_PRC;         // price found by the lookup
    Currency D_PRC;         // O_PRC - PRC once the price was corrected, else 0
    Currency PRC;           // selling unit price
    Currency QTY;           // negative for goods taken back
    qint32 UNIT_ID = 0;
    Currency AMT;           // PRC x QTY
};

// The sale being rung up: gReg holds the header at index 0; gDtl runs from 0 to the blank slot that the
// next barcode fills; gDtlIdx is the slot chosen for the quantity and price dialogs.
extern QList<RegRec> gReg;
extern QList<DtlRec> gDtl;
extern qint16 gDtlIdx;

// What the register decides about the sale being rung up, without its widgets: the lines and their
// numbers, the total, the quantity multiplier for the next article, the payment step, the amount tendered
// and the change. The register screen and the quantity and price dialogs drive it and show what it holds.
//
// A tender belongs to its total: whatever changes the total (a line added, deleted or edited, the sale
// cancelled) drops the amount tendered and the change, so RCV and CHG are only ever stored as computed for
// the total they are stored with. During payment the register goes back to typing the amount tendered.
// Every amount is computed before anything is assigned, so a line is never left half-changed.
class SaleState
{
public:
    // Input modes of the register: barcode entry, amount-tendered entry, change shown and waiting for
    // confirmation.
    enum Mode { ScanMode = 1, TenderMode = 4, ChangeMode = 5 };
    // What became of a change of the lines.
    enum class Edit { Done, NotANumber, TooLarge };
    // What Enter on the amount tendered did.
    enum class Tender { Shown, Nothing, TooLong };

    // Told to the cashier when an amount or the total would leave the range of money.
    static const QString TooLargeMessage;
    // At most 99,999 yen are tendered.
    static constexpr int TenderDigits = 5;

    // The sale lives in `reg` (its element 0) and `dtl`, which are emptied to start; the register passes
    // gReg and gDtl.
    SaleState(QList<RegRec> &reg, QList<DtlRec> &dtl);

    const RegRec &header() const { return m_reg[0]; }
    RegRec &header() { return m_reg[0]; }
    // The slots: the lines, then the blank slot.
    const QList<DtlRec> &dtl() const { return m_dtl; }
    const DtlRec &line(int index) const { return m_dtl.at(index); }
    // The number of lines; the slot of this index is the blank one that the next barcode fills.
    qint16 lineCount() const { return qint16(m_dtl.size() - 1); }
    DtlRec &blankSlot() { return m_dtl.last(); }
    Currency total() const { return header().AMT_SUM; }

    // The sale is dropped: a new one starts with no lines, multiplier 1, scanning, nothing tendered and no
    // change shown.
    void clear();
    // The sale was stored: the next one starts, and the change of the stored one stays on show for the
    // customer until the total changes.
    void next();

    // The multiplier for the next scanned article runs ..., -2, -1, 1, 2, ... and never becomes 0; a
    // negative one rings up goods taken back.
    Currency multiplier() const { return m_multiplier; }
    void increase();
    void decrease();
    void resetMultiplier() { m_multiplier = Currency::fromInt(1); }

    // The blank slot, filled by the lookup, becomes the next line at the multiplier's quantity; the
    // multiplier goes back to 1. TooLarge leaves the sale as it was.
    Edit addLine();
    // Removes line `index` (the chosen grid row); the later lines move up and are numbered again. An index
    // that names no line changes nothing.
    Edit deleteLine(int index);
    // The quantity or the price of line `index` as the cashier typed it; an empty text is 0. A changed
    // price keeps its difference to the price found (D_PRC) for the receipt.
    Edit setQuantity(int index, const QString &typed);
    Edit setPrice(int index, const QString &typed);
    // A number as a cashier types it: "1200", "-2", "1,000", "12.5", also in full-width characters from
    // the input method; nothing for anything else.
    static std::optional<Currency> typedNumber(const QString &typed);

    Mode mode() const { return m_mode; }
    // Going to the amount tendered clears it and shows the change of nothing tendered (the total to pay).
    void setMode(Mode mode);
    QString tendered() const { return m_tendered; }
    void typeTender(QChar digit);
    void clearTender() { m_tendered.clear(); }
    // Enter on the amount tendered: the change is computed and shown.
    Tender confirmTender();
    // The change on show: the one computed for the current total, or the stored sale's until the next
    // sale's total changes; nothing once it was dropped. A new register shows 0.
    std::optional<Currency> change() const { return m_changeShown; }
    // False while a positive total is not covered by what was tendered.
    bool ChkData() const;

private:
    // Takes the new slots when their total and any change of it stay in range; the tender follows a
    // total that changed.
    Edit commit(const QList<DtlRec> &changed);
    void computeChange();

    QList<RegRec> &m_reg;
    QList<DtlRec> &m_dtl;
    Currency m_multiplier = Currency::fromInt(1);
    Mode m_mode = ScanMode;
    QString m_tendered;
    std::optional<Currency> m_changeShown = Currency();
};
