#pragma once

#include "payment/BankMaster.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class clsData;

// The bank and branch codes of a producer's account in the producer master editor, with the names the bank
// master gives them. The codes live in M_FMR_BANK beside the producer's row, which keeps its columns.
class FmrBankBoxes : public QWidget
{
    Q_OBJECT

public:
    explicit FmrBankBoxes(QWidget *parent = nullptr);

    void setEditable(bool editable);
    void clear();
    void load(clsData &mst, qint32 fmrId);
    BankMaster::Codes codes() const;
    // Shows the names of the typed codes (or that the master lacks them).
    void showNames();

    QLineEdit *txtBANK_CD;
    QLineEdit *txtBR_CD;
    QLabel *lblNames;

private:
    clsData *m_mst = nullptr;
};
