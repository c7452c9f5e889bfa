#pragma once

#include <QDialog>

class FormScaler;
class QLabel;
class QLineEdit;
class QPushButton;

// The margins of the report gRptKind in centimetres (stored in twips, 567 to the centimetre).
class fdlSetMgn : public QDialog
{
    Q_OBJECT

public:
    explicit fdlSetMgn(QWidget *parent = nullptr);

    // Stores the two margins in one transaction; false when that failed.
    bool SaveData();
    bool ChkData() { return true; }

    QLabel *Label1[2];
    QLineEdit *Text1[2]; // 0 top, 1 left
    QPushButton *Command1[2]; // 0 ｷｬﾝｾﾙ, 1 設定

    // Twips shown as centimetres ("0.00", rounded half up) and an entry read as twips (its leading number).
    static QString ToCentimetres(double twips);
    static double ToTwips(const QString &entry);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    FormScaler *m_scaler;
};
