#include "PabQuery.h"

#include <sqlite3.h>

QStringList QueryPab(const QString& file, const char* sql, const QString& boundText)
{
    QStringList texts;
    sqlite3* db = nullptr;
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_open_v2(file.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, sql, -1, &statement, nullptr) == SQLITE_OK) {
        const QByteArray wanted = boundText.toUtf8();
        sqlite3_bind_text(statement, 1, wanted.constData(), int(wanted.size()), SQLITE_TRANSIENT);
        while (sqlite3_step(statement) == SQLITE_ROW)
            texts << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    sqlite3_finalize(statement);
    sqlite3_close_v2(db);
    return texts;
}

QStringList PabDisplayNames(const QString& file)
{
    return QueryPab(file, "SELECT value FROM props WHERE propid = 12289 ORDER BY value");
}
