#include "mapi/PabFileOpener.h"

#include "mapi/MapiCodes.h"
#include "mapi/PabFileProblem.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <unistd.h>

namespace {
const char* const kSchema = R"sql(
CREATE TABLE objects(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER REFERENCES objects(id) ON DELETE CASCADE,
    type INTEGER NOT NULL);
CREATE INDEX objects_by_parent ON objects(parent, id);
CREATE TABLE props(
    object INTEGER NOT NULL REFERENCES objects(id) ON DELETE CASCADE,
    propid INTEGER NOT NULL,
    type INTEGER NOT NULL,
    value,
    PRIMARY KEY(object, propid)) WITHOUT ROWID;
CREATE INDEX display_names ON props(value) WHERE propid = 12289;
INSERT INTO objects(id, parent, type) VALUES(1, NULL, 4);
INSERT INTO props(object, propid, type, value) VALUES(1, 12289, 30, 'Personal Address Book');
)sql";

class Connection {
public:
    ~Connection() { sqlite3_close_v2(db); }
    sqlite3* db = nullptr;
};

int queryInt(sqlite3* db, const char* sql, int64_t& value)
{
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            value = sqlite3_column_int64(statement, 0);
            rc = SQLITE_OK;
        } else if (rc == SQLITE_DONE) {
            rc = SQLITE_NOTFOUND;
        }
    }
    sqlite3_finalize(statement);
    return rc;
}

int queryText(sqlite3* db, const char* sql, std::string& value)
{
    sqlite3_stmt* statement = nullptr;
    int rc = sqlite3_prepare_v2(db, sql, -1, &statement, nullptr);
    if (rc == SQLITE_OK) {
        rc = sqlite3_step(statement);
        if (rc == SQLITE_ROW) {
            const unsigned char* text = sqlite3_column_text(statement, 0);
            value = text ? reinterpret_cast<const char*>(text) : "";
            rc = SQLITE_OK;
        }
    }
    sqlite3_finalize(statement);
    return rc;
}

// The new file's contents must be on disk before its name appears, or a crash could leave a named but
// empty file that every later start refuses.
bool syncPath(const std::string& path, int flags)
{
    int fd = ::open(path.c_str(), flags);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}
}

HRESULT PabFileOpener::ToMapiError(int sqliteResult)
{
    switch (sqliteResult & 0xFF) {
    case SQLITE_OK:
    case SQLITE_DONE:
    case SQLITE_ROW: return S_OK;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
    case SQLITE_PERM:
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_AUTH: return MAPI_E_NO_ACCESS;
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
    case SQLITE_SCHEMA:
    case SQLITE_FORMAT: return MAPI_E_CORRUPT_DATA;
    case SQLITE_FULL: return MAPI_E_NOT_ENOUGH_DISK;
    case SQLITE_IOERR: return MAPI_E_DISK_ERROR;
    case SQLITE_NOMEM: return MAPI_E_NOT_ENOUGH_MEMORY;
    case SQLITE_NOTFOUND: return MAPI_E_NOT_FOUND;
    case SQLITE_TOOBIG: return MAPI_E_TOO_BIG;
    default: return MAPI_E_CALL_FAILED;
    }
}

HRESULT PabFileOpener::Open(const std::string& path, sqlite3** out, bool readOnly)
{
    PabFileProblem::Clear();
    const HRESULT hr = OpenChecked(path, out, readOnly);
    if (FAILED(hr)) PabFileProblem::RecordIfNone(path, hr);
    return hr;
}

HRESULT PabFileOpener::OpenChecked(const std::string& path, sqlite3** out, bool readOnly)
{
    *out = nullptr;
    if (path.empty()) return MAPI_E_NOT_FOUND;
    if (!QFileInfo::exists(QString::fromStdString(path))) {
        // A reader never writes, not even a new, empty book.
        if (readOnly) {
            PabFileProblem::Record(PabFileProblem::Cause::Missing, path, MAPI_E_NOT_FOUND);
            return MAPI_E_NOT_FOUND;
        }
        HRESULT hr = CreateNew(path);
        if (FAILED(hr)) return hr;
    }
    if (QFileInfo(QString::fromStdString(path)).isDir()) {
        PabFileProblem::Record(PabFileProblem::Cause::Directory, path, MAPI_E_NO_ACCESS);
        return MAPI_E_NO_ACCESS;
    }
    if (!QFileInfo(QString::fromStdString(path)).isFile()) return MAPI_E_NO_ACCESS;
    HRESULT hr = CheckHeader(path);
    if (SUCCEEDED(hr)) hr = CheckContents(path);
    if (SUCCEEDED(hr)) hr = readOnly ? OpenForReading(path, out) : OpenForWriting(path, out);
    return hr;
}

HRESULT PabFileOpener::CreateNew(const std::string& path)
{
    const QFileInfo info(QString::fromStdString(path));
    if (!QDir().mkpath(info.absolutePath())) {
        PabFileProblem::Record(PabFileProblem::Cause::ReadOnlyFolder, path, MAPI_E_NO_ACCESS);
        return MAPI_E_NO_ACCESS;
    }
    const std::string tempPath = path + ".new-" + std::to_string(::getpid());
    ::unlink(tempPath.c_str());
    HRESULT hr = BuildSchema(tempPath);
    // The user knows the book by its own name, not by the temporary file's.
    if (FAILED(hr) && PabFileProblem::LastCause() != PabFileProblem::Cause::None)
        PabFileProblem::Record(PabFileProblem::LastCause(), path, hr);
    if (SUCCEEDED(hr) && !syncPath(tempPath, O_RDONLY)) hr = MAPI_E_DISK_ERROR;
    if (SUCCEEDED(hr)) hr = Publish(tempPath, path);
    ::unlink(tempPath.c_str());
    if (SUCCEEDED(hr)) syncPath(info.absolutePath().toStdString(), O_RDONLY | O_DIRECTORY);
    return hr;
}

HRESULT PabFileOpener::Publish(const std::string& tempPath, const std::string& path)
{
    // link() never replaces: if another process created the book meanwhile, its file wins untouched.
    if (::link(tempPath.c_str(), path.c_str()) == 0 || errno == EEXIST) return S_OK;
    if (errno == ENOSPC) return MAPI_E_NOT_ENOUGH_DISK;
    // File systems without hard links: a rename, done only while the name is still free.
    if ((errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS) && !QFileInfo::exists(QString::fromStdString(path)))
        return ::rename(tempPath.c_str(), path.c_str()) == 0 ? S_OK : MAPI_E_NO_ACCESS;
    return MAPI_E_NO_ACCESS;
}

HRESULT PabFileOpener::BuildSchema(const std::string& tempPath)
{
    Connection connection;
    int rc = sqlite3_open_v2(tempPath.c_str(), &connection.db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_EXCLUSIVE, nullptr);
    if (rc != SQLITE_OK) return ToMapiError(rc);
    const std::string pragmas = "PRAGMA application_id=" + std::to_string(kApplicationId) +
                                "; PRAGMA user_version=" + std::to_string(kSchemaVersion) + ";";
    rc = sqlite3_exec(connection.db, pragmas.c_str(), nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_exec(connection.db, "BEGIN", nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_exec(connection.db, kSchema, nullptr, nullptr, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_exec(connection.db, "COMMIT", nullptr, nullptr, nullptr);
    // The write-ahead log is a property of the file; setting it here means a checked file never needs it.
    if (rc == SQLITE_OK) rc = sqlite3_exec(connection.db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        PabFileProblem::RecordSqlite(rc, tempPath, ToMapiError(rc));
        return ToMapiError(rc);
    }
    rc = sqlite3_close_v2(connection.db);
    connection.db = nullptr;
    return ToMapiError(rc);
}

HRESULT PabFileOpener::CheckHeader(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        PabFileProblem::Record(PabFileProblem::Cause::Unreadable, path, MAPI_E_NO_ACCESS);
        return MAPI_E_NO_ACCESS;
    }
    char header[16] = {};
    file.read(header, sizeof(header));
    if (file.gcount() != sizeof(header) || std::memcmp(header, "SQLite format 3", 16) != 0) {
        PabFileProblem::Record(PabFileProblem::Cause::NotSqlite, path, MAPI_E_CORRUPT_DATA);
        return MAPI_E_CORRUPT_DATA;
    }
    return S_OK;
}

HRESULT PabFileOpener::CheckContents(const std::string& path)
{
    // A database that fails to answer after the header was right is damaged, whatever SQLite calls it.
    auto failed = [&path](int rc) {
        const HRESULT hr = ToMapiError(rc);
        if ((rc & 0xFF) == SQLITE_NOTADB) PabFileProblem::Record(PabFileProblem::Cause::Damaged, path, hr);
        else PabFileProblem::RecordSqlite(rc, path, hr);
        return hr;
    };
    Connection connection;
    int rc = sqlite3_open_v2(path.c_str(), &connection.db, SQLITE_OPEN_READONLY, nullptr);
    if (rc != SQLITE_OK) return failed(rc);
    sqlite3_busy_timeout(connection.db, kBusyTimeoutMs);
    int64_t value = 0;
    rc = queryInt(connection.db, "PRAGMA application_id", value);
    if (rc != SQLITE_OK) return failed(rc);
    if (value != kApplicationId) { // another program's database
        PabFileProblem::Record(PabFileProblem::Cause::ForeignDatabase, path, MAPI_E_CORRUPT_DATA);
        return MAPI_E_CORRUPT_DATA;
    }
    rc = queryInt(connection.db, "PRAGMA user_version", value);
    if (rc != SQLITE_OK) return failed(rc);
    if (value > kSchemaVersion) return MAPI_E_VERSION;
    if (value < kOldestReadableVersion) return MAPI_E_CORRUPT_DATA;
    std::string verdict;
    rc = queryText(connection.db, "PRAGMA quick_check", verdict);
    if (rc != SQLITE_OK) return failed(rc);
    if (verdict != "ok") return MAPI_E_CORRUPT_DATA;
    rc = queryInt(connection.db, "SELECT type FROM objects WHERE id = 1 AND parent IS NULL", value);
    if (rc == SQLITE_NOTFOUND || (rc == SQLITE_OK && value != 4)) return MAPI_E_CORRUPT_DATA;
    if (rc != SQLITE_OK) return failed(rc);
    rc = queryInt(connection.db, "SELECT count(*) FROM props WHERE object = 1", value);
    return rc == SQLITE_ERROR ? MAPI_E_CORRUPT_DATA : rc == SQLITE_OK ? S_OK : failed(rc);
}

HRESULT PabFileOpener::OpenForWriting(const std::string& path, sqlite3** out)
{
    Connection connection;
    int rc = sqlite3_open_v2(path.c_str(), &connection.db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        PabFileProblem::RecordSqlite(rc, path, ToMapiError(rc));
        return ToMapiError(rc);
    }
    sqlite3_busy_timeout(connection.db, kBusyTimeoutMs);
    // In the write-ahead log every commit is whole or absent, whatever kills the program. NORMAL writes each
    // commit to the log before SaveChanges returns, so a killed or crashed program keeps every finished save;
    // only a power failure may cost the last few saves (never a half of one). FULL would add a flush to disk
    // per save, some milliseconds each: seconds of frozen window for a folder of a thousand entries.
    rc = sqlite3_exec(connection.db, "PRAGMA foreign_keys=ON; PRAGMA synchronous=NORMAL; PRAGMA journal_mode=WAL;",
                      nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        PabFileProblem::RecordSqlite(rc, path, ToMapiError(rc));
        return ToMapiError(rc);
    }
    HRESULT hr = MarkCurrentVersion(connection.db);
    if (FAILED(hr)) return hr;
    *out = connection.db;
    connection.db = nullptr;
    return S_OK;
}

HRESULT PabFileOpener::OpenForReading(const std::string& path, sqlite3** out)
{
    Connection connection;
    // A read-only connection neither rolls back a journal nor checkpoints the write-ahead log into the file.
    int rc = sqlite3_open_v2(path.c_str(), &connection.db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK) sqlite3_busy_timeout(connection.db, kBusyTimeoutMs);
    if (rc == SQLITE_OK) rc = sqlite3_exec(connection.db, "PRAGMA query_only=ON", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) {
        PabFileProblem::RecordSqlite(rc, path, ToMapiError(rc));
        return ToMapiError(rc);
    }
    *out = connection.db;
    connection.db = nullptr;
    return S_OK;
}

HRESULT PabFileOpener::MarkCurrentVersion(sqlite3* db)
{
    int64_t version = 0;
    int rc = queryInt(db, "PRAGMA user_version", version);
    if (rc != SQLITE_OK) return ToMapiError(rc);
    if (version == kSchemaVersion) return S_OK;
    if (version > kSchemaVersion) return MAPI_E_VERSION; // a newer version took the book over after the check
    // Through a read-only connection nothing can be written, so no text that 1.1.03 could spoil either.
    if (sqlite3_db_readonly(db, "main") == 1) return S_OK;
    // The mark is a transaction of its own, before anything else is written: a killed program leaves the book
    // either as it was or marked. The texts stay as they are: version 1 already stored them as UTF-8.
    rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return ToMapiError(rc);
    // Read again under the write lock: another program may have marked the book meanwhile, or a newer
    // version may have taken it over.
    rc = queryInt(db, "PRAGMA user_version", version);
    HRESULT hr = ToMapiError(rc);
    if (SUCCEEDED(hr) && version > kSchemaVersion) hr = MAPI_E_VERSION;
    if (SUCCEEDED(hr) && version < kSchemaVersion) {
        const std::string mark = "PRAGMA user_version=" + std::to_string(kSchemaVersion);
        hr = ToMapiError(sqlite3_exec(db, mark.c_str(), nullptr, nullptr, nullptr));
    }
    if (SUCCEEDED(hr)) hr = ToMapiError(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
    if (FAILED(hr)) sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    return hr;
}
