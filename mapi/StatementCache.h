#pragma once
// Prepared statements of one connection, prepared once and reused: the address book runs the same few
// statements thousands of times when a folder is read or saved.
#include <sqlite3.h>

#include <string>
#include <unordered_map>

class StatementCache {
public:
    explicit StatementCache(sqlite3* db) : m_db(db) {}
    ~StatementCache();
    StatementCache(const StatementCache&) = delete;
    StatementCache& operator=(const StatementCache&) = delete;

    // A reset statement with cleared bindings, or nullptr with `rc` set when it cannot be prepared.
    sqlite3_stmt* Get(const char* sql, int& rc);

private:
    sqlite3* m_db;
    std::unordered_map<std::string, sqlite3_stmt*> m_statements;
};
