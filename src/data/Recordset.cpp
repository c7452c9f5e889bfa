#include "data/Recordset.h"

#include "data/Connection.h"
#include "data/DbError.h"

Recordset::Recordset(Recordset &&) noexcept = default;
Recordset &Recordset::operator=(Recordset &&) noexcept = default;
Recordset::~Recordset() = default;

bool Recordset::EOF_() const
{
    return !m_open || m_pos >= m_rows.size();
}

bool Recordset::BOF() const
{
    return !m_open || m_pos < 0 || m_rows.isEmpty();
}

void Recordset::MoveNext()
{
    if (EOF_())
        throw DbError(QStringLiteral("カレント レコードがありません。"));
    ++m_pos;
}

void Recordset::MoveFirst()
{
    if (m_kind == Kind::ForwardOnly && m_pos > 0)
        throw DbError(QStringLiteral("前方スクロール専用のレコードセットは先頭に戻れません。"));
    m_pos = 0;
}

void Recordset::MovePrevious()
{
    if (m_kind == Kind::ForwardOnly)
        throw DbError(QStringLiteral("前方スクロール専用のレコードセットは後ろへ移動できません。"));
    if (m_pos >= 0)
        --m_pos;
}

void Recordset::MoveLast()
{
    m_pos = m_rows.isEmpty() ? 0 : int(m_rows.size()) - 1;
}

int Recordset::indexOf(const QString &name) const
{
    for (int i = 0; i < m_names.size(); ++i)
        if (m_names[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    // "T.COLUMN" finds COLUMN, as the engines name the fields of "SELECT T.* ..." without the table.
    const int dot = name.lastIndexOf(u'.');
    if (dot >= 0)
        return indexOf(name.mid(dot + 1));
    return -1;
}

void Recordset::requireCurrent() const
{
    if (!m_adding && (EOF_() || m_pos < 0))
        throw DbError(QStringLiteral("カレント レコードがありません。"));
}

void Recordset::requireDynamic() const
{
    if (!m_open || m_kind != Kind::Dynamic || !m_connection)
        throw DbError(QStringLiteral("このレコードセットは更新できません。"));
}

Variant Recordset::Fields(const QString &name) const
{
    const int index = indexOf(name);
    if (index < 0)
        throw DbError(QStringLiteral("項目 '%1' がありません。").arg(name));
    return Fields(index);
}

Variant Recordset::Fields(int index) const
{
    requireCurrent();
    if (index < 0 || index >= m_names.size())
        throw DbError(QStringLiteral("項目 %1 がありません。").arg(index));
    return m_adding ? m_new.values.at(index) : m_rows.at(m_pos).values.at(index);
}

void Recordset::AddNew()
{
    requireDynamic();
    m_adding = true;
    m_new.values = QList<Variant>(m_names.size(), Variant::null());
    m_new.changed = QList<bool>(m_names.size(), false);
}

void Recordset::setField(const QString &name, const Variant &value)
{
    requireDynamic();
    requireCurrent();
    const int index = indexOf(name);
    if (index < 0)
        throw DbError(QStringLiteral("項目 '%1' がありません。").arg(name));
    Row &row = m_adding ? m_new : m_rows[m_pos];
    row.values[index] = value;
    row.changed[index] = true;
}

void Recordset::Update()
{
    requireDynamic();
    requireCurrent();
    if (m_adding) {
        m_connection->writeRow(m_table, m_names, m_new.values, m_new.changed, nullptr);
        m_new.changed.fill(false);
        m_rows.append(m_new);
        m_original.append(m_new.values);
        m_pos = int(m_rows.size()) - 1;
        m_adding = false;
        return;
    }
    Row &row = m_rows[m_pos];
    m_connection->writeRow(m_table, m_names, row.values, row.changed, &m_original[m_pos]);
    row.changed.fill(false);
    m_original[m_pos] = row.values;
}

void Recordset::CancelUpdate()
{
    if (m_adding) {
        m_adding = false;
        return;
    }
    if (!EOF_() && m_pos >= 0) {
        m_rows[m_pos].values = m_original.value(m_pos, m_rows[m_pos].values);
        m_rows[m_pos].changed.fill(false);
    }
}

void Recordset::Close()
{
    m_open = false;
    m_rows.clear();
    m_original.clear();
    m_connection = nullptr;
}
