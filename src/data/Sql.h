#pragma once

#include <QList>
#include <QPair>
#include <QString>

class Currency;

// One statement of the register's SQL written as one text, with named arguments (":NAME", a letter
// first) that are replaced by literals when the statement is taken as text. Reading the statement whole
// keeps blanks and commas where a reader can see them; the literals come from SqlDialect, so quoting
// and the date form live in one place.
//
//   Sql(R"(UPDATE D_ADJ_DTL SET CLS_DATE=:cls WHERE CLS_DATE IS NULL AND SALES_DATE<=:cls)").date("cls", d)
//
// Inside quotes and #...# nothing is replaced. A name used in the text but never given, or given but
// never used, throws DbError when the text is taken: a typo never reaches the database.
class Sql
{
public:
    explicit Sql(QString text) : m_text(std::move(text)) {}

    Sql &date(const QString &name, double value);    // #yyyy-mm-dd hh:nn:ss#
    Sql &day(const QString &name, double value);     // #yyyy/mm/dd#, as rows of one day are written
    Sql &text(const QString &name, const QString &value); // quoted, quotes doubled; "" is NULL
    Sql &money(const QString &name, const Currency &value);
    Sql &number(const QString &name, qint64 value);
    // Already SQL (a column list, NULL, a literal made elsewhere): inserted as it is.
    Sql &raw(const QString &name, const QString &sql);

    QString str() const;
    operator QString() const { return str(); }

private:
    Sql &bind(const QString &name, QString literal);

    QString m_text;
    QList<QPair<QString, QString>> m_args;
};
