#include "data/Transaction.h"

#include "data/Connection.h"
#include "data/DbError.h"
#include "data/clsData.h"

Transaction::Transaction(clsData &data) : m_data(data)
{
    m_data.Begintrans();
}

Transaction::~Transaction()
{
    if (!m_open)
        return;
    try {
        if (m_data.connection() && m_data.connection()->inTransaction())
            m_data.RollbackTrans();
    } catch (const DbError &) {
        // A lost connection has nothing left to roll back.
    }
}

void Transaction::commit()
{
    // A commit that fails (another register holds the file) leaves the transaction open on the
    // connection: the destructor then rolls it back.
    m_data.CommitTrans();
    m_open = false;
}
