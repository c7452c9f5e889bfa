#pragma once

#include "settlement/AdjGrid.h"

#include <QColor>
#include <QList>
#include <QWidget>

class FormScaler;
class QLabel;
class QPushButton;

// The end-of-day cash settlement of gSalesDate: the operator counts the drawer per denomination (cash
// column, 10,000 yen down to 1 yen, Enter after each count), corrects the change kept for tomorrow (change
// column), confirms with Enter and the day is closed. F2 prints the transfer request, F3 the daily report,
// F8 opens the drawer, Esc ends. Closing this screen ends the run.
class frmAdj : public QWidget
{
    Q_OBJECT

public:
    static const QColor CurrentCellColor;
    static const QColor PlainCellColor;
    static const QColor CurrentRowTextColor;

    explicit frmAdj(QWidget *parent = nullptr);
    ~frmAdj() override;

    // The grid's state: cell texts, current row and column.
    const AdjGrid &grid() const { return m_grid; }
    qint16 RowIdx() const { return m_grid.RowIdx; }
    qint16 ColIdx() const { return m_grid.ColIdx; }

    void InitFrm();
    void SetCalsSum();
    void SetBGcolor();
    void lblCASH_Click(int row);
    void lblCHG_Click(int row);
    // 0 end, 2 transfer request, 3 daily report, 8 open the drawer.
    void Command1Click(int index);

    QList<QLabel *> lblAMT, lblPREV, lblCASH, lblDEF, lblCHG, lblPOST;
    QLabel *lblPREV_SUM = nullptr;
    QLabel *lblCASH_SUM = nullptr;
    QLabel *lblDEF_SUM = nullptr;
    QLabel *lblCHG_SUM = nullptr;
    QLabel *lblPOST_SUM = nullptr;
    QLabel *lblMSG = nullptr;
    // Indexed like the keys: 0, 2, 3 and 8 exist, the others are nullptr.
    QList<QPushButton *> Command1;

signals:
    // The screen was closed: the run ends.
    void closed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *addCell(double left, double top, double width, double height, Qt::Alignment alignment, bool header);
    void buildControls();
    void display();
    void keyDown(QKeyEvent *key);
    void runClosing();

    AdjGrid m_grid;
    FormScaler *m_scaler = nullptr;
    bool m_ended = false;
};
