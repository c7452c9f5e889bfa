#pragma once

class clsData;

// A transaction of one data object as a scope: it begins when made and rolls back when the scope is left
// without commit() (an exception, an early return). The rollback of a connection that is already gone
// has nothing left to undo (the server drops the transaction), so it never throws from the destructor; the
// failure that led there is the caller's to report, a rollback that fails as well is only logged.
//
//   Transaction t(db);
//   db.EXEC(...);
//   t.commit();
class Transaction
{
public:
    // Own: a transaction of its own. JoinOpen: a transaction already open on the connection carries the work
    // (whoever began it commits or rolls back; commit() then does nothing), else one of its own.
    enum class Scope { Own, JoinOpen };

    explicit Transaction(clsData &data, Scope scope = Scope::Own);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    clsData &m_data;
    bool m_open = false;
};
