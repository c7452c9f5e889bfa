#pragma once

class clsData;

// A transaction of one data object as a scope: it begins when made and rolls back when the scope is left
// without commit() (an exception, an early return). The rollback of a connection that is already gone
// has nothing left to undo (the server drops the transaction), so it never throws from the destructor.
//
//   Transaction t(db);
//   db.EXEC(...);
//   t.commit();
class Transaction
{
public:
    explicit Transaction(clsData &data);
    ~Transaction();
    Transaction(const Transaction &) = delete;
    Transaction &operator=(const Transaction &) = delete;

    void commit();

private:
    clsData &m_data;
    bool m_open = true;
};
