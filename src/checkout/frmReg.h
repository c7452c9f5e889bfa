#pragma once

#include "base/Currency.h"
#include "checkout/RegKeys.h"
#include "checkout/SaleGrid.h"
#include "checkout/SaleState.h"

#include <QList>
#include <QWidget>

class FormScaler;
class QLabel;
class QLineEdit;
class QPushButton;

// The checkout screen: the operator scans goods, sees the running total, types the amount tendered, sees
// the change and stores the sale. Keys reach the screen before its controls (digits, "+", "-", Backspace,
// Enter, F1-F8, Esc); the buttons and the amount-tendered label give the same actions to a touch screen.
// What the sale is (lines, total, multiplier, tender, change) is decided by SaleState over gReg and gDtl;
// the screen turns keys into its operations and shows what it holds.
class frmReg : public QWidget
{
    Q_OBJECT

public:
    using Mode = SaleState::Mode;
    using enum SaleState::Mode;

    explicit frmReg(QWidget *parent = nullptr);
    ~frmReg() override;

    int RegMode() const { return m_sale.mode(); }
    void setRegMode(int mode);
    // The quantity multiplier for the next scanned article, shown in lblQTY.
    Currency QTY() const { return m_sale.multiplier(); }

    qint16 mDtlCnt() const { return m_sale.lineCount(); }
    qint32 mLastRegId() const { return m_lastRegId; }
    const SaleState &sale() const { return m_sale; }

    // The screen's operations.
    void InitFrm1();
    void InitFrm2();
    void SetSize();
    void InitGrid();
    void DispData(qint16 slot);
    void DispSum();
    void DispGrid();
    void SumDtl();
    void VantleData();
    bool ChkData() const { return m_sale.ChkData(); }
    // The action of a function-key button (0 = end, 1 = price, 2 = quantity, 3 = delete line, 4 = cancel
    // sale, 5 = price tags, 6 = reprint, 7 = settings, 8 = open the drawer).
    void Command1Click(int index);
    void cmdREGClick();

    // Back colours of the labels: highlighted mode, failed lookup, plain.
    static const QColor HighlightColor;
    static const QColor FailedColor;
    static const QColor PlainColor;

    QLabel *lblDATE = nullptr;
    QLabel *lblBCD = nullptr;
    QLabel *lblBCD_NM = nullptr;
    QLabel *lblFMR_NM = nullptr;
    QLabel *lblPRC = nullptr;
    QLabel *lblQTY = nullptr;
    QLabel *lblAMT = nullptr;
    QLabel *lblSUM = nullptr;
    QLabel *lblRCV = nullptr;
    QLabel *lblCHG = nullptr;
    QLabel *imgLOGO = nullptr;
    SaleGrid *fgrdHIST = nullptr;
    QList<QPushButton *> Command1;
    QPushButton *cmdREG = nullptr;
    QLineEdit *Text1 = nullptr;

signals:
    // The register was closed: the run goes on with the settlement or ends, as the program decides. A sale
    // that was not stored is lost.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *addLabel(const QString &text, double left, double top, double width, double height, double points,
                     Qt::Alignment alignment, bool boxed);
    void buildControls();
    // The shop's logo.png from the program folder, else the product title.
    void showLogo();
    void editLine(int which);
    void deleteLine();
    // Shows the mode, the amount tendered and the change as the sale holds them.
    void showPayment();
    // After a change of the lines: the grid, the total and the payment.
    void showLines(SaleState::Edit result);
    void setBack(QLabel *label, const QColor &color);

    friend class RegKeys;

    FormScaler *m_scaler = nullptr;
    SaleState m_sale{gReg, gDtl};
    RegKeys m_keys{*this};
    qint32 m_lastRegId = 0;
};
