#pragma once

#include <QDialog>
#include <QList>

class FmrBankBoxes;
class FmrNoticeBox;
class QLineEdit;
class QPushButton;

// 生産者ﾏｽﾀ編集: corrects an existing producer of M_FMR. In code entry (Mode 0) the operator types a
// producer code and Enter loads it; in editing (Mode 2) 登録 writes the twelve boxes back, empty boxes as
// Null, and キャンセル discards the edit. Producers are neither added nor deleted here.
class fdlMstFmrEdit : public QDialog
{
    Q_OBJECT

public:
    explicit fdlMstFmrEdit(QWidget *parent = nullptr);

    int Mode() const { return m_mode; }
    void setMode(int mode);

    // Loads the producer into boxes 1 to 12; false when there is no such producer (nothing changes).
    bool GetData(qint32 code);
    // Writes boxes 1 to 12 and the notice line to the producer in one transaction; false when it failed
    // (rolled back).
    bool SaveData(qint32 code);
    // Every box is accepted; the bank and branch codes beside them must be 4 and 3 digits or empty, the
    // notice address one plain address.
    bool ChkData();

    // Text1(0) is the producer code, 1 to 12 the producer's values; Command1(0) 閉じる/キャンセル, (1) 登録.
    QLineEdit *box(int index) const { return m_text.value(index); }
    QPushButton *button(int index) const { return m_cmd.value(index); }
    // The account's bank and branch codes (kept in M_FMR_BANK).
    FmrBankBoxes *bankBoxes() const { return m_bankBoxes; }
    // The producer's sales-notice address and switch (M_FMR_NTC), below the twelve boxes.
    FmrNoticeBox *notice() const { return m_notice; }

public slots:
    // Window close and Escape: only code entry closes; an edit is left through キャンセル or 登録.
    void reject() override;

private:
    qint32 code() const;
    bool enterPressed(QWidget *control);
    void cmdClicked(int index);

    int m_mode = 0;
    QList<QLineEdit *> m_text;
    QList<QPushButton *> m_cmd;
    FmrBankBoxes *m_bankBoxes = nullptr;
    FmrNoticeBox *m_notice = nullptr;
};
