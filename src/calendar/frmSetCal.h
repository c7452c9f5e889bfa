#pragma once

#include <QColor>
#include <QDialog>
#include <QList>

class FormScaler;
class QLabel;
class QPushButton;

// The month calendar on which the operator chooses the sales date at start. Every day cell shows whether
// the day's sales were paid out to the producers (underlined) or are held only in the backup tables after
// a close (italic); the chosen day is yellow. Enter confirms, keypad + and - move by a day, the arrow
// buttons by a month; F2/F3 preview the transfer request and the daily report of the chosen day, F5 starts
// the price-tag program, F7 opens the settings, Esc ends the program.
class frmSetCal : public QDialog
{
    Q_OBJECT

public:
    // exec() result of the exit button (besides Accepted for a confirmed date and Rejected for a close).
    static constexpr int EndProgram = 2;
    static constexpr int CellCount = 37;

    static const QColor SundayColor;
    static const QColor SaturdayColor;
    static const QColor ChosenColor;
    static const QColor PlainColor;

    // Takes the chosen date from gSalesDate.
    explicit frmSetCal(QWidget *parent = nullptr);
    ~frmSetCal() override;

    double SysDate() const { return m_sysDate; }
    void setSysDate(double date);

    void SetSize();
    // Redraws the month of SysDate with the marks of its days.
    void DispData();

    // 0 end the program, 1 confirm, 2 transfer request, 3 daily report, 5 price tags, 7 settings.
    void Command1Click(int index);
    void cmdPREVClick();
    void cmdPOSTClick();
    void lblDAYClick(int index);

    // What the transaction database says about a day: paid out, and held only in the backup tables.
    struct DayMarks { bool paid = false; bool archivedOnly = false; };
    static DayMarks MarksOf(double day);

    QLabel *lblYM = nullptr;
    // Seven weekday headings, Sunday first, then the key hint.
    QList<QLabel *> Label1;
    QList<QLabel *> lblDAY;
    QPushButton *cmdPREV = nullptr;
    QPushButton *cmdPOST = nullptr;
    // Indexed like the keys: 0, 1, 2, 3, 5 and 7 exist, the others are nullptr.
    QList<QPushButton *> Command1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void moveMonths(int months);

    FormScaler *m_scaler = nullptr;
    double m_sysDate = 0;
};
