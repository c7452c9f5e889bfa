#pragma once

#include <QColor>
#include <QDialog>
#include <QList>

class FormScaler;
class QLabel;
class QPushButton;

// The payment date of the payment closing about to run: a one-month calendar on a copy of gPayDate.
// Keypad "+" and "-" move the date a day, Enter or OK store it in gPayDate, ｷｬﾝｾﾙ leaves gPayDate as the
// closing rules set it.
class fdlSetPayDate : public QDialog
{
    Q_OBJECT

public:
    static constexpr int DayCells = 37;
    static const QColor ChosenColor;   // the chosen day
    static const QColor SundayColor;   // the Sunday column
    static const QColor SaturdayColor; // the Saturday column
    static const QColor PlainColor;

    explicit fdlSetPayDate(QWidget *parent = nullptr);
    ~fdlSetPayDate() override;

    // The date shown (a date value).
    double date() const { return m_date; }
    // Draws the month of the date with the date marked.
    void DispData();
    void OKButtonClick();
    void CancelButtonClick();

    QLabel *lblYM = nullptr;
    QList<QLabel *> lblDAY;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QLabel *addLabel(const QString &text, double left, double top, double width, double height, double points);

    FormScaler *m_scaler = nullptr;
    double m_date = 0;
};
