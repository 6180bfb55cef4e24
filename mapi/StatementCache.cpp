#include "mapi/StatementCache.h"

StatementCache::~StatementCache()
{
    for (auto& entry : m_statements) sqlite3_finalize(entry.second);
}

sqlite3_stmt* StatementCache::Get(const char* sql, int& rc)
{
    auto it = m_statements.find(sql);
    if (it != m_statements.end()) {
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        rc = SQLITE_OK;
        return it->second;
    }
    sqlite3_stmt* statement = nullptr;
    rc = sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    m_statements.emplace(sql, statement);
    return statement;
}
