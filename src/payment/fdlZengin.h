#pragma once

#include "payment/TransferFile.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

// 振込データ作成: the banks' transfer file of one payment closing. Shows what will be sent (count, total,
// transfer date) and every producer left out with the reason, lets the operator choose the file and whether
// records end with CR LF, and writes the file whole on 作成. A closing that cannot give a file shows why
// and offers nothing to write.
class fdlZengin : public QDialog
{
    Q_OBJECT

public:
    fdlZengin(QWidget *parent, double closingDate);

    const TransferFile &file() const { return m_file; }
    // Writes the file to the path in the box; false (and the message shown) when it failed.
    bool Create();

    QLabel *lblSummary;
    QLabel *lblError;
    QTableWidget *grdExcluded;
    QCheckBox *chkLineEnds;
    QLineEdit *txtPath;
    QPushButton *cmdBrowse;
    QPushButton *cmdCreate;
    QPushButton *cmdClose;

private:
    void fill();
    double m_closingDate;
    TransferFile m_file;
};
