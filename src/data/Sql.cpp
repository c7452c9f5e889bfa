#include "data/Sql.h"

#include "base/Currency.h"
#include "data/DbError.h"
#include "data/SqlDialect.h"

namespace {

bool startsName(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool inName(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

// The end of a quoted text or #...# date that opens at `i` (one past its closing mark).
qsizetype skipLiteral(const QString &s, qsizetype i)
{
    const QChar mark = s[i];
    qsizetype j = i + 1;
    while (j < s.size()) {
        if (s[j] == mark) {
            if (mark == u'\'' && j + 1 < s.size() && s[j + 1] == u'\'') {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return j;
}

} // namespace

Sql &Sql::bind(const QString &name, QString literal)
{
    m_args.append({name, std::move(literal)});
    return *this;
}

Sql &Sql::date(const QString &name, double value)
{
    return bind(name, SqlDialect::date(value));
}

Sql &Sql::day(const QString &name, double value)
{
    return bind(name, SqlDialect::day(value));
}

Sql &Sql::text(const QString &name, const QString &value)
{
    return bind(name, SqlDialect::text(value));
}

Sql &Sql::money(const QString &name, const Currency &value)
{
    return bind(name, SqlDialect::money(value));
}

Sql &Sql::number(const QString &name, qint64 value)
{
    return bind(name, QString::number(value));
}

Sql &Sql::raw(const QString &name, const QString &sql)
{
    return bind(name, sql);
}

QString Sql::str() const
{
    QString out;
    out.reserve(m_text.size() + 64);
    QList<bool> used(m_args.size(), false);
    for (qsizetype i = 0; i < m_text.size();) {
        const QChar c = m_text[i];
        if (c == u'\'' || c == u'#') {
            const qsizetype end = skipLiteral(m_text, i);
            out += QStringView(m_text).mid(i, end - i);
            i = end;
            continue;
        }
        if (c != u':' || i + 1 >= m_text.size() || !startsName(m_text[i + 1])) {
            out += c;
            ++i;
            continue;
        }
        qsizetype end = i + 1;
        while (end < m_text.size() && inName(m_text[end]))
            ++end;
        const QStringView name = QStringView(m_text).mid(i + 1, end - i - 1);
        qsizetype found = -1;
        for (qsizetype k = 0; k < m_args.size() && found < 0; ++k)
            if (m_args[k].first == name)
                found = k;
        if (found < 0)
            throw DbError(QStringLiteral("SQL 文の引数 :%1 が与えられていません。").arg(name), 0, m_text);
        used[found] = true;
        out += m_args[found].second;
        i = end;
    }
    for (qsizetype k = 0; k < m_args.size(); ++k)
        if (!used[k])
            throw DbError(QStringLiteral("SQL 文に引数 :%1 がありません。").arg(m_args[k].first), 0, m_text);
    return out;
}
