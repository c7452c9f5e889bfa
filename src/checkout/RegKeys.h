#pragma once

class QKeyEvent;
class QString;
class SaleState;
class frmReg;

// The register's keys: every key of the screen and of its controls reaches the screen first and comes
// here. Digits go to the barcode being typed or to the amount tendered, "+" and "-" step the quantity
// multiplier, Enter and Backspace move through scanning, tendering and storing as the sale's mode says,
// F1-F8 and Esc press the function buttons, the arrows and Tab choose a line in the grid; anything else a
// scanner or keyboard sends is dropped before it reaches a field.
class RegKeys
{
public:
    explicit RegKeys(frmReg &screen);

    // True when the key was the screen's (acted on or dropped), false when it goes on to the grid.
    bool handle(QKeyEvent *key);

private:
    void character(const QString &text);
    void enter();
    void backspace();
    void scanBarcode();

    frmReg &m_screen;
    SaleState &m_sale;
};
