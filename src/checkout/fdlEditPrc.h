#pragma once

#include "checkout/LineEditDialog.h"

// Changes the selling price of the chosen line (a discount or a surcharge on the spot); the difference to
// the price found by the lookup is kept for the receipt, the amount follows.
class fdlEditPrc : public LineEditDialog
{
    Q_OBJECT

public:
    explicit fdlEditPrc(SaleState &sale, QWidget *parent = nullptr);

    QLabel *lblO_PRC = nullptr;
    QLineEdit *txtPRC = nullptr;
    QLabel *lblQTY = nullptr;

protected:
    void SetData() override;
    SaleState::Edit apply(const QString &typed) override;
};
