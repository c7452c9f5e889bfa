#pragma once

#include <QString>
#include <stdexcept>

// A failure of the database engine (or of this layer on its behalf), with the engine's error number.
// Routines that do not handle it themselves let it reach the screen action that called them.
class DbError : public std::runtime_error
{
public:
    DbError(const QString &description, int number = 0, const QString &sql = QString())
        : std::runtime_error(description.toStdString()), m_description(description), m_number(number), m_sql(sql)
    {
    }
    const QString &description() const { return m_description; }
    int number() const { return m_number; }
    const QString &sql() const { return m_sql; }

private:
    QString m_description;
    int m_number;
    QString m_sql;
};
