#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class clsData;

// The producer editor's line for the sales notices: the producer's mail address and whether notices are
// sent, kept in M_FMR_NTC beside the producer's row (M_FMR keeps its columns).
class FmrNoticeBox : public QWidget
{
    Q_OBJECT

public:
    explicit FmrNoticeBox(QWidget *parent = nullptr);

    QLineEdit *address() const { return m_address; }
    QCheckBox *on() const { return m_on; }
    void setEditing(bool editing);

    // Shows the producer's entry. When it cannot be read, the line stays disabled for this producer (the
    // reason goes to the log) and the rest of the producer can still be edited.
    void load(clsData &mst, qint32 fmrId);
    // Shows a message and gives false when the address is not one plain address, or notices are on
    // without an address.
    bool check();
    // Writes the entry inside the caller's transaction (nothing when it could not be loaded).
    void save(clsData &mst, qint32 fmrId);

private:
    QLineEdit *m_address;
    QCheckBox *m_on;
    bool m_loaded = false;
};
