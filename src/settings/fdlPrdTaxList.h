#pragma once

#include <QDialog>

class QLabel;
class QTableWidget;

// 商品別税率: the products with the rate each is charged at, read only. A product without its own rate is
// charged the shop's 消費税率 (管理情報); own rates come from a CSV file through vantle-admin rates import.
class fdlPrdTaxList : public QDialog
{
    Q_OBJECT

public:
    explicit fdlPrdTaxList(QWidget *parent = nullptr);
    QTableWidget *grid() const { return m_grid; }

private:
    void LoadData();

    QLabel *m_shopRate;
    QTableWidget *m_grid;
};
