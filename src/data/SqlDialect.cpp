#include "data/SqlDialect.h"

#include "base/Currency.h"
#include "base/DateValue.h"
#include "base/Format.h"
#include "data/DbError.h"

#include <QRegularExpression>

namespace {

// Jet wildcards to standard ones inside one quoted pattern (quotes included).
QString likePattern(const QString &quoted)
{
    QString out = quoted;
    for (int i = 1; i + 1 < out.size(); ++i) {
        if (out[i] == u'*')
            out[i] = u'%';
        else if (out[i] == u'?')
            out[i] = u'_';
    }
    return out;
}

// Looks only at the end of the text: a pattern of the whole statement per quoted text made long
// statements (a batch of inserts) quadratic.
bool endsWithLikeKeyword(const QString &out)
{
    qsizetype end = out.size();
    while (end > 0 && out[end - 1].isSpace())
        --end;
    if (end < 4 || QStringView(out).mid(end - 4, 4).compare(QLatin1String("LIKE"), Qt::CaseInsensitive) != 0)
        return false;
    return end == 4 || !(out[end - 5].isLetterOrNumber() || out[end - 5] == u'_');
}

} // namespace

QString SqlDialect::render(const QString &sql) const
{
    return renderLiterals(sql);
}

QString SqlDialect::renderLiterals(const QString &sql)
{
    QString out;
    out.reserve(sql.size() + 16);
    for (int i = 0; i < sql.size();) {
        const QChar c = sql[i];
        if (c == u'\'') {
            // A quoted text, with doubled quotes inside it.
            int j = i + 1;
            while (j < sql.size()) {
                if (sql[j] == u'\'') {
                    if (j + 1 < sql.size() && sql[j + 1] == u'\'') {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            const QString quoted = sql.mid(i, j - i + 1);
            out += endsWithLikeKeyword(out) ? likePattern(quoted) : quoted;
            i = j + 1;
        } else if (c == u'#') {
            const int end = sql.indexOf(u'#', i + 1);
            const auto value = end > i ? DateValue::parse(sql.mid(i + 1, end - i - 1)) : std::nullopt;
            if (!value)
                throw DbError(QStringLiteral("SQL 文の日付 (#...#) が正しくありません。"), 0, sql);
            out += engineDate(*value);
            i = end + 1;
        } else {
            out += c;
            ++i;
        }
    }
    return out;
}

QString SqlDialect::text(const QString &value)
{
    return value.isEmpty() ? QStringLiteral("NULL") : quoted(value);
}

QString SqlDialect::quoted(const QString &value)
{
    QString doubled = value;
    doubled.replace(u'\'', QStringLiteral("''"));
    return u'\'' + doubled + u'\'';
}

QString SqlDialect::date(double value)
{
    return u'#' + Format::date(value, QStringLiteral("yyyy-mm-dd hh:nn:ss")) + u'#';
}

QString SqlDialect::day(double value)
{
    return u'#' + Format::date(value, QStringLiteral("yyyy/mm/dd")) + u'#';
}

QString SqlDialect::engineDate(double value)
{
    return u'\'' + Format::date(value, QStringLiteral("yyyy-mm-dd hh:nn:ss")) + u'\'';
}

QString SqlDialect::money(const Currency &value)
{
    return value.toPlainText();
}

QString SqliteDialect::render(const QString &sql) const
{
    QString out = renderLiterals(sql);
    // "DELETE T.* FROM T [JOIN ...] WHERE c": SQLite deletes from one table only. Without a join the
    // table prefix just goes; with one, the rows are chosen by rowid through the same join and condition.
    static const QRegularExpression deleteStar(
        QStringLiteral(R"(^\s*DELETE\s+(?:([A-Za-z_]\w*)\.)?\*\s+FROM\s+([A-Za-z_]\w*)\b(.*)$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const auto m = deleteStar.match(out);
    if (!m.hasMatch())
        return out;
    const QString table = m.captured(2);
    const QString rest = m.captured(3);
    static const QRegularExpression join(QStringLiteral(R"(^\s*(?:LEFT|RIGHT|INNER)\s+(?:OUTER\s+)?JOIN\b)"),
                                         QRegularExpression::CaseInsensitiveOption);
    if (!join.match(rest).hasMatch())
        return QStringLiteral("DELETE FROM ") + table + rest;
    QString tail = rest.trimmed();
    if (tail.endsWith(u';'))
        tail.chop(1);
    return QStringLiteral("DELETE FROM %1 WHERE rowid IN (SELECT %1.rowid FROM %1 %2)").arg(table, tail);
}

QString MariaDbDialect::render(const QString &sql) const
{
    return asciiTexts(renderLiterals(sql));
}

QString MariaDbDialect::asciiTexts(const QString &sql)
{
    QString out;
    out.reserve(sql.size());
    for (int i = 0; i < sql.size();) {
        if (sql[i] != u'\'') {
            out += sql[i++];
            continue;
        }
        int j = i + 1;
        QString text;
        bool ascii = true;
        while (j < sql.size()) {
            if (sql[j] == u'\'') {
                if (j + 1 < sql.size() && sql[j + 1] == u'\'') {
                    text += u'\'';
                    j += 2;
                    continue;
                }
                break;
            }
            ascii = ascii && sql[j].unicode() < 128;
            text += sql[j++];
        }
        if (ascii)
            out += sql.mid(i, j - i + 1);
        else
            out += QStringLiteral("_utf8mb4 X'") + QString::fromLatin1(text.toUtf8().toHex().toUpper()) + u'\'';
        i = j + 1;
    }
    return out;
}
