#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QList>
#include <QString>
#include <QStringList>

class QGridLayout;
class QLabel;
class QPushButton;
class clsData;

// What the six settings dialogs share: every input control carries the key of the control value it shows
// in its tag; opening the dialog loads them all from the dialog's data object, 登録 saves them all in one
// transaction. Text boxes (Text1) hold their text, fixed lists (Combo1) their position counted from 0,
// printer lists (Combo2) their text. Enter moves on like Tab; a text box selects its text on entry.
// Command1(0) is ｷｬﾝｾﾙ, Command1(1) is 登録.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    enum class Store { Ini, Db, Mst };

    // Loads every tagged control. A stored list position that the list does not have leaves the list
    // without a selection (its stored value is kept and written back unless the operator picks an entry);
    // the other controls are still filled, then the problem is thrown for the caller to show.
    void LoadData();
    // Stores every tagged control in one transaction; false (nothing stored) when anything fails.
    bool SaveData();
    // Every input may be saved.
    virtual bool ChkData() { return true; }

    // The data object of the dialog, or nullptr when it does not exist.
    clsData *data() const;
    // The control bound to a key, and the buttons of Command1 by index.
    QWidget *control(const QString &key) const;
    QLineEdit *text(const QString &key) const;
    QComboBox *list(const QString &key) const;
    QPushButton *button(int index) const;
    QStringList keys() const;

protected:
    SettingsDialog(QWidget *parent, const QString &caption, Store store);

    enum class Input { Japanese, Latin, Numeric, Password };
    enum class Conversion { None, Margin, Rate };
    // Creates the next control of Text1, Combo1 or Combo2 bound to a key (maxLength 0: no limit).
    QLineEdit *addText(const QString &key, Input input, int maxLength = 0, Conversion conversion = Conversion::None);
    QComboBox *addList(const QString &key, const QStringList &entries);
    QComboBox *addPrinterList(const QString &key);
    QLabel *label(const QString &caption);
    // Puts the label and the control into the next row of a two-column grid, with an optional unit after it.
    void addRow(QGridLayout *grid, const QString &caption, QWidget *control, const QString &unit = QString());
    // Command1: ｷｬﾝｾﾙ and 登録, and the further buttons the dialog asks for; laid out in a row with the
    // extra buttons on the left.
    QLayout *buttonRow(const QStringList &extraButtons = {});

    // Runs the opening: beforeLoad, LoadData, afterLoad; a failure is shown and the dialog stays open with
    // the controls filled so far. The dialogs call it at the end of their constructors.
    void formLoad();
    virtual void beforeLoad() {}
    virtual void afterLoad() {}
    // A button of Command1 beyond 登録 was pressed.
    virtual void extraButton(int) {}

private:
    enum class Kind { Text, List, Printer };
    struct Binding
    {
        QWidget *control;
        QString key;
        Kind kind;
        Conversion conversion;
        QString kept; // a stored value the control cannot show, written back unless replaced
    };

    void cmdClicked(int index);
    void finishTabOrder();
    QString valueOf(const Binding &b) const;
    void load(Binding &b, clsData &source, QString &problem);

    Store m_store;
    QList<Binding> m_bindings;
    QList<QPushButton *> m_buttons;
    int m_textCount = 0;
    int m_listCount = 0;
    int m_printerCount = 0;
};
