#pragma once

#include <QDialog>

class FormScaler;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// Prints the report gRptKind: every page or a page range, in several copies. Stays open after printing.
class fdlSetPrintCopy : public QDialog
{
    Q_OBJECT

public:
    explicit fdlSetPrintCopy(QWidget *parent = nullptr);

    bool ChkData() { return true; }
    // What "印刷" does.
    void PrintReport();

    QRadioButton *Option1[2]; // 0 all pages, 1 page range
    QLabel *Label1[3];
    QLineEdit *Text1[3];      // 0 first page, 1 last page, 2 copies
    QLineEdit *txtPAGES;
    QPushButton *Command1[2]; // 0 ｷｬﾝｾﾙ, 1 印刷

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void enableRange(bool enable);
    FormScaler *m_scaler;
};
