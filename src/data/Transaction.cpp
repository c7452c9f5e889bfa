#include "data/Transaction.h"

#include "base/Common.h"
#include "data/Connection.h"
#include "data/DbError.h"
#include "data/clsData.h"

Transaction::Transaction(clsData &data, Scope scope) : m_data(data)
{
    if (scope == Scope::JoinOpen && m_data.connection() && m_data.connection()->inTransaction())
        return;
    m_data.Begintrans();
    m_open = true;
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    try {
        if (m_data.connection() && m_data.connection()->inTransaction())
            m_data.RollbackTrans();
    } catch (const DbError &e) {
        // A lost connection has nothing left to roll back.
        WriteLog(e.description());
    }
}

void Transaction::commit()
{
    if (!m_open)
        return;
    // A commit that fails (another register holds the file) leaves the transaction open on the
    // connection: the destructor then rolls it back.
    m_data.CommitTrans();
    m_open = false;
}
