#include "settings/SettingsDialog.h"

#include "base/Common.h"
#include "base/ScreenGuard.h"
#include "base/Variant.h"
#include "data/DbError.h"
#include "data/Globals.h"
#include "data/clsDb.h"
#include "data/clsINI.h"
#include "data/clsMst.h"
#include "settings/DialogKeys.h"
#include "settings/SettingValues.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

namespace {

const char *const TagProperty = "tag";

// Wide enough for n characters of the box's font (digits for the numeric boxes).
int widthFor(const QWidget *w, int characters, bool wide)
{
    const QFontMetrics fm(w->font());
    const int each = wide ? fm.horizontalAdvance(QChar(0x3042)) : fm.horizontalAdvance(u'0');
    return each * characters + 14;
}

QString problemText(const QString &key, const QString &stored)
{
    return QStringLiteral("%1 に保存されている値「%2」は一覧にありません。").arg(key, stored);
}

} // namespace

SettingsDialog::SettingsDialog(QWidget *parent, const QString &caption, Store store)
    : QDialog(parent), m_store(store)
{
    setWindowTitle(caption);
    setModal(true);
}

clsData *SettingsDialog::data() const
{
    switch (m_store) {
    case Store::Ini: return gIni.get();
    case Store::Db: return gDb.get();
    case Store::Mst: return gMst.get();
    }
    return nullptr;
}

QWidget *SettingsDialog::control(const QString &key) const
{
    for (const Binding &b : m_bindings)
        if (b.key == key)
            return b.control;
    return nullptr;
}

QLineEdit *SettingsDialog::text(const QString &key) const
{
    return qobject_cast<QLineEdit *>(control(key));
}

QComboBox *SettingsDialog::list(const QString &key) const
{
    return qobject_cast<QComboBox *>(control(key));
}

QPushButton *SettingsDialog::button(int index) const
{
    return m_buttons.value(index);
}

QStringList SettingsDialog::keys() const
{
    QStringList result;
    for (const Binding &b : m_bindings)
        result << b.key;
    return result;
}

QLineEdit *SettingsDialog::addText(const QString &key, Input input, int maxLength, Conversion conversion)
{
    auto *edit = new QLineEdit(this);
    edit->setObjectName(QStringLiteral("Text1_%1").arg(m_textCount++));
    edit->setProperty(TagProperty, key);
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    switch (input) {
    case Input::Numeric:
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->setInputMethodHints(Qt::ImhPreferNumbers | Qt::ImhLatinOnly);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setFixedWidth(widthFor(edit, std::max(maxLength > 0 ? maxLength : 6, 4) + 1, false));
        break;
    case Input::Latin:
        edit->setInputMethodHints(Qt::ImhLatinOnly);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setMinimumWidth(widthFor(edit, maxLength > 0 ? std::min(maxLength, 24) + 1 : 24, false));
        break;
    case Input::Password:
        edit->setEchoMode(QLineEdit::Password);
        edit->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhLatinOnly);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }")); // "*"
        edit->setMinimumWidth(widthFor(edit, 24, false));
        break;
    case Input::Japanese:
        edit->setMinimumWidth(widthFor(edit, 20, true));
        break;
    }
    m_bindings.append({edit, key, Kind::Text, conversion, QString()});
    return edit;
}

QComboBox *SettingsDialog::addList(const QString &key, const QStringList &entries)
{
    auto *combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("Combo1_%1").arg(m_listCount++));
    combo->setProperty(TagProperty, key);
    combo->addItems(entries);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_bindings.append({combo, key, Kind::List, Conversion::None, QString()});
    return combo;
}

QComboBox *SettingsDialog::addPrinterList(const QString &key)
{
    // The stored name is shown even when no such printer is installed any more, so the list takes any text.
    auto *combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("Combo2_%1").arg(m_printerCount++));
    combo->setProperty(TagProperty, key);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(widthFor(combo, 28, false));
    m_bindings.append({combo, key, Kind::Printer, Conversion::None, QString()});
    return combo;
}

QLabel *SettingsDialog::label(const QString &caption)
{
    return new QLabel(caption, this);
}

void SettingsDialog::addRow(QGridLayout *grid, const QString &caption, QWidget *control, const QString &unit)
{
    const int row = grid->rowCount();
    grid->addWidget(label(caption), row, 0);
    if (unit.isEmpty()) {
        grid->addWidget(control, row, 1, Qt::AlignLeft);
        return;
    }
    auto *pair = new QHBoxLayout;
    pair->setSpacing(4);
    pair->addWidget(control);
    pair->addWidget(label(unit));
    pair->addStretch(1);
    grid->addLayout(pair, row, 1);
}

QLayout *SettingsDialog::buttonRow(const QStringList &extraButtons)
{
    auto *row = new QHBoxLayout;
    const QStringList captions = QStringList{QStringLiteral("ｷｬﾝｾﾙ"), QStringLiteral("登録")} + extraButtons;
    for (int i = 0; i < captions.size(); ++i) {
        auto *b = new QPushButton(captions[i], this);
        b->setObjectName(QStringLiteral("Command1_%1").arg(i));
        b->setAutoDefault(false);
        b->setMinimumWidth(widthFor(b, 5, true));
        connect(b, &QPushButton::clicked, this, [this, i] { cmdClicked(i); });
        m_buttons.append(b);
    }
    for (int i = 2; i < m_buttons.size(); ++i)
        row->addWidget(m_buttons[i]);
    row->addStretch(1);
    row->addWidget(m_buttons[1]);
    row->addWidget(m_buttons[0]);
    return row;
}

void SettingsDialog::finishTabOrder()
{
    QList<QWidget *> order;
    for (const Binding &b : m_bindings)
        order << b.control;
    for (int i = 2; i < m_buttons.size(); ++i)
        order << m_buttons[i];
    if (m_buttons.size() >= 2)
        order << m_buttons[1] << m_buttons[0];
    for (int i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1], order[i]);
}

void SettingsDialog::formLoad()
{
    finishTabOrder();
    (new DialogKeys(this))->attach();
    guarded([this] {
        beforeLoad();
        LoadData();
        afterLoad();
    });
    if (!m_bindings.isEmpty())
        m_bindings.first().control->setFocus();
}

void SettingsDialog::load(Binding &b, clsData &source, QString &problem)
{
    const QString value = SettingValues::CtrlText(source, b.key);
    b.kept.clear();
    switch (b.kind) {
    case Kind::Text: {
        auto *edit = static_cast<QLineEdit *>(b.control);
        try {
            switch (b.conversion) {
            case Conversion::None: edit->setText(value); break;
            case Conversion::Margin: edit->setText(SettingValues::MarginForDisplay(value)); break;
            case Conversion::Rate: edit->setText(SettingValues::RateForDisplay(value)); break;
            }
        } catch (const std::exception &e) {
            edit->clear();
            b.kept = value;
            if (problem.isEmpty())
                problem = QStringLiteral("%1: %2").arg(b.key, QString::fromStdString(e.what()));
        }
        break;
    }
    case Kind::Printer:
        static_cast<QComboBox *>(b.control)->setEditText(value);
        break;
    case Kind::List: {
        auto *combo = static_cast<QComboBox *>(b.control);
        const double reading = value.isEmpty() ? 0 : std::nearbyint(Val(value));
        if (reading >= 0 && reading < combo->count()) {
            combo->setCurrentIndex(int(reading));
        } else {
            combo->setCurrentIndex(-1);
            b.kept = value;
            if (reading != -1 && problem.isEmpty())
                problem = problemText(b.key, value);
        }
        break;
    }
    }
}

void SettingsDialog::LoadData()
{
    clsData *source = data();
    if (!source)
        throw DbError(QStringLiteral("データベースに接続されていません。"));
    QString problem;
    for (Binding &b : m_bindings)
        load(b, *source, problem);
    if (!problem.isEmpty())
        throw DbError(problem);
}

QString SettingsDialog::valueOf(const Binding &b) const
{
    switch (b.kind) {
    case Kind::Text: {
        const QString text = static_cast<const QLineEdit *>(b.control)->text();
        if (text.isEmpty() && !b.kept.isEmpty())
            return b.kept;
        switch (b.conversion) {
        case Conversion::None: return text;
        case Conversion::Margin: return SettingValues::MarginForStore(text);
        case Conversion::Rate: return SettingValues::RateForStore(text);
        }
        return text;
    }
    case Kind::Printer:
        return static_cast<const QComboBox *>(b.control)->currentText();
    case Kind::List: {
        const int index = static_cast<const QComboBox *>(b.control)->currentIndex();
        return index < 0 && !b.kept.isEmpty() ? b.kept : QString::number(index);
    }
    }
    return QString();
}

bool SettingsDialog::SaveData()
{
    clsData *target = data();
    if (!target)
        return false;
    QList<std::pair<QString, QString>> values;
    try {
        for (const Binding &b : m_bindings)
            values.append({b.key, valueOf(b)});
    } catch (const std::exception &e) {
        // A typed number too large to convert: nothing has been written yet.
        WriteLog(QStringLiteral("設定の登録に失敗しました: ") + QString::fromStdString(e.what()));
        return false;
    }
    return SettingValues::SaveCtrlValues(*target, values);
}

void SettingsDialog::cmdClicked(int index)
{
    guarded([this, index] {
        switch (index) {
        case 0:
            reject();
            return;
        case 1:
            if (!ChkData())
                return;
            if (SaveData()) {
                accept();
                return;
            }
            MsgBoxEx(QStringLiteral("データの登録に失敗しました。"), Msg::Exclamation);
            return;
        default:
            extraButton(index);
            return;
        }
    });
}
