#pragma once

#include <QString>

class Currency;

// Turns a statement written in the register's SQL into the SQL of one engine. The register writes dates
// between "#", LIKE patterns with "*" and "?", and deletes from joins as "DELETE T.* FROM T ...": each
// engine gets what it understands, in one place. A "#" outside quotes that opens no date is refused, since
// the server would read it as the start of a comment and quietly drop the rest of the statement.
class SqlDialect
{
public:
    virtual ~SqlDialect() = default;
    virtual QString render(const QString &sql) const;
    virtual QString name() const = 0;

    // Literals for statements the register builds, the only place that writes them: texts quoted with
    // embedded quotes doubled (an empty text is NULL; `quoted` keeps it as ''), dates as
    // #yyyy-mm-dd hh:nn:ss#, the rows of one day as #yyyy/mm/dd#, money as plain decimal text.
    static QString text(const QString &value);
    static QString quoted(const QString &value);
    static QString date(double value);
    static QString day(double value);
    static QString money(const Currency &value);
    // A date as both engines read it: 'yyyy-mm-dd hh:nn:ss'.
    static QString engineDate(double value);

protected:
    // The date literal and LIKE pattern rewriting both engines share.
    static QString renderLiterals(const QString &sql);
};

// SQLite: also "DELETE T.* FROM T WHERE" and deletes through a join.
class SqliteDialect : public SqlDialect
{
public:
    QString render(const QString &sql) const override;
    QString name() const override { return QStringLiteral("SQLite"); }
};

// MariaDB and MySQL understand the delete forms as written. Texts with characters beyond ASCII are sent as
// UTF-8 hex literals (_utf8mb4 X'...'), so the statement itself is plain ASCII: Qt 6.4's ODBC driver passed
// such statements to the MariaDB driver unreliably (the same INSERT of a Japanese name was refused now and
// then as an invalid character value).
class MariaDbDialect : public SqlDialect
{
public:
    QString render(const QString &sql) const override;
    QString name() const override { return QStringLiteral("MariaDB"); }
    // Only the texts: for statements whose literals are already in the engine's form.
    static QString asciiTexts(const QString &sql);
};
