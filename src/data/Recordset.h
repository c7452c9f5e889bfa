#pragma once

#include "base/Variant.h"

#include <QList>
#include <QStringList>
#include <memory>

class Connection;

// The rows of a query, read completely when it opens so that no cursor holds the database while the
// register works with them. Forward-only, static and dynamic sets differ in what they allow: only a
// dynamic set writes back (AddNew, assignment to fields, Update), a forward-only set only moves forward.
class Recordset
{
public:
    enum class Kind { ForwardOnly, Static, Dynamic };

    Recordset() = default;
    Recordset(Recordset &&) noexcept;
    Recordset &operator=(Recordset &&) noexcept;
    ~Recordset();

    bool isOpen() const { return m_open; }
    bool EOF_() const;
    bool BOF() const;
    int RecordCount() const { return int(m_rows.size()); }
    void MoveNext();
    void MoveFirst();
    void MovePrevious();
    void MoveLast();

    int FieldCount() const { return int(m_names.size()); }
    QString FieldName(int index) const { return m_names.value(index); }
    // The current row's value; throws DbError for an unknown field or when there is no current row.
    Variant Fields(const QString &name) const;
    Variant Fields(int index) const;

    // Writing (dynamic sets only). AddNew starts a new row; assignments change the current or new row;
    // Update writes it with one INSERT or UPDATE. An update that finds its row changed or gone throws.
    void AddNew();
    void setField(const QString &name, const Variant &value);
    void Update();
    void CancelUpdate();
    void Close();

private:
    friend class Connection;
    struct Row { QList<Variant> values; QList<bool> changed; };

    int indexOf(const QString &name) const;
    void requireCurrent() const;
    void requireDynamic() const;

    Kind m_kind = Kind::ForwardOnly;
    bool m_open = false;
    Connection *m_connection = nullptr;
    QString m_table;         // the single table a dynamic set writes to
    QStringList m_names;
    QList<Row> m_rows;
    QList<QList<Variant>> m_original; // values as read, to find the row again when it is updated
    int m_pos = 0;
    bool m_adding = false;
    Row m_new;
};
