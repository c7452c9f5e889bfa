#pragma once

#include "checkout/LineEditDialog.h"

// Changes the quantity of the chosen line of the sale; the amount follows.
class fdlEditQty : public LineEditDialog
{
    Q_OBJECT

public:
    explicit fdlEditQty(SaleState &sale, QWidget *parent = nullptr);

    QLabel *lblPRC = nullptr;
    QLineEdit *txtQTY = nullptr;

protected:
    void SetData() override;
    SaleState::Edit apply(const QString &typed) override;
};
