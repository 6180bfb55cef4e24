#include "mapi/PabStore.h"

#include "mapi/MapiCodes.h"
#include "mapi/MapiFaults.h"
#include "mapi/PabFileProblem.h"
#include "mapi/MapiTags.h"
#include "mapi/PabFileOpener.h"

namespace {
void bindValue(sqlite3_stmt* statement, int column, const PropValue& value)
{
    switch (value.type) {
    case PT_R4:
    case PT_DOUBLE:
    case PT_APPTIME: sqlite3_bind_double(statement, column, value.real); break;
    case PT_STRING8:
        sqlite3_bind_text(statement, column, value.data.data(), static_cast<int>(value.data.size()), SQLITE_TRANSIENT);
        break;
    case PT_BINARY:
    case PT_CLSID:
        sqlite3_bind_blob(statement, column, value.data.data(), static_cast<int>(value.data.size()), SQLITE_TRANSIENT);
        break;
    default: sqlite3_bind_int64(statement, column, value.integer); break;
    }
}

PropValue columnValue(sqlite3_stmt* statement, int typeColumn, int valueColumn)
{
    PropValue value;
    value.type = static_cast<ULONG>(sqlite3_column_int64(statement, typeColumn));
    if (value.type == PT_UNICODE) value.type = PT_STRING8;
    switch (value.type) {
    case PT_R4:
    case PT_DOUBLE:
    case PT_APPTIME: value.real = sqlite3_column_double(statement, valueColumn); break;
    case PT_STRING8:
    case PT_BINARY:
    case PT_CLSID: {
        const void* bytes = value.type == PT_STRING8 ? static_cast<const void*>(sqlite3_column_text(statement, valueColumn))
                                                     : sqlite3_column_blob(statement, valueColumn);
        const int size = sqlite3_column_bytes(statement, valueColumn);
        if (bytes && size > 0) value.data.assign(static_cast<const char*>(bytes), static_cast<size_t>(size));
        break;
    }
    default: value.integer = sqlite3_column_int64(statement, valueColumn); break;
    }
    return value;
}
}

HRESULT PabStore::Open(const std::string& path, std::shared_ptr<PabStore>& out, bool readOnly)
{
    sqlite3* db = nullptr;
    HRESULT hr = PabFileOpener::Open(path, &db, readOnly);
    if (FAILED(hr)) return hr;
    out.reset(new PabStore(db, path));
    return S_OK;
}

PabStore::PabStore(sqlite3* db, std::string path)
    : m_db(db), m_path(std::move(path)), m_statements(std::make_unique<StatementCache>(db))
{
}

HRESULT PabStore::Failed(int sqliteResult)
{
    const HRESULT hr = PabFileOpener::ToMapiError(sqliteResult);
    if (FAILED(hr)) PabFileProblem::RecordSqlite(sqliteResult, m_path, hr);
    return hr;
}

HRESULT PabStore::FailedWrite(int sqliteResult)
{
    // A reader's connection refuses every write: that is no fault of the file.
    if (sqlite3_db_readonly(m_db, "main") == 1 && (sqliteResult & 0xFF) == SQLITE_READONLY) {
        PabFileProblem::Record(PabFileProblem::Cause::ReadOnly, m_path, MAPI_E_NO_ACCESS);
        return MAPI_E_NO_ACCESS;
    }
    return Failed(sqliteResult);
}

void PabStore::RollBack()
{
    // The cause of the failure stands; a rollback that finds no transaction (SQLite ended it) is no news.
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

PabStore::~PabStore()
{
    // Statements first: a connection with live statements does not close.
    m_statements.reset();
    sqlite3_close_v2(m_db);
}

HRESULT PabStore::Step(sqlite3_stmt* statement)
{
    int rc = sqlite3_step(statement);
    if (rc == SQLITE_DONE || rc == SQLITE_ROW) return S_OK;
    return FailedWrite(rc);
}

HRESULT PabStore::Execute(const char* sql)
{
    int rc = SQLITE_OK;
    sqlite3_stmt* statement = m_statements->Get(sql, rc);
    if (!statement) return Failed(rc);
    HRESULT hr = Step(statement);
    sqlite3_reset(statement);
    return hr;
}

HRESULT PabStore::LoadObject(int64_t id, StoredObject& out)
{
    int rc = SQLITE_OK;
    sqlite3_stmt* statement = m_statements->Get(
        "SELECT o.parent, o.type, p.propid, p.type, p.value FROM objects o "
        "LEFT JOIN props p ON p.object = o.id WHERE o.id = ?1 ORDER BY p.propid", rc);
    if (!statement) return Failed(rc);
    sqlite3_bind_int64(statement, 1, id);
    out = StoredObject{};
    bool found = false;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        found = true;
        out.id = id;
        out.parent = sqlite3_column_int64(statement, 0);
        out.type = static_cast<ULONG>(sqlite3_column_int64(statement, 1));
        if (sqlite3_column_type(statement, 2) != SQLITE_NULL)
            out.props[static_cast<ULONG>(sqlite3_column_int64(statement, 2))] = columnValue(statement, 3, 4);
    }
    sqlite3_reset(statement);
    if (rc != SQLITE_DONE) return Failed(rc);
    return found ? S_OK : MAPI_E_NOT_FOUND;
}

HRESULT PabStore::LoadChildren(int64_t parent, std::vector<StoredObject>& out)
{
    int rc = SQLITE_OK;
    sqlite3_stmt* statement = m_statements->Get(
        "SELECT o.id, o.type, p.propid, p.type, p.value FROM objects o "
        "LEFT JOIN props p ON p.object = o.id WHERE o.parent = ?1 ORDER BY o.id, p.propid", rc);
    if (!statement) return Failed(rc);
    sqlite3_bind_int64(statement, 1, parent);
    out.clear();
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const int64_t id = sqlite3_column_int64(statement, 0);
        if (out.empty() || out.back().id != id) {
            out.push_back(StoredObject{});
            out.back().id = id;
            out.back().parent = parent;
            out.back().type = static_cast<ULONG>(sqlite3_column_int64(statement, 1));
        }
        if (sqlite3_column_type(statement, 2) != SQLITE_NULL)
            out.back().props[static_cast<ULONG>(sqlite3_column_int64(statement, 2))] = columnValue(statement, 3, 4);
    }
    sqlite3_reset(statement);
    return rc == SQLITE_DONE ? S_OK : Failed(rc);
}

HRESULT PabStore::Save(SaveRequest& request)
{
    HRESULT hr = BeginWrite();
    if (FAILED(hr)) return hr;
    const int64_t idBefore = request.id;
    hr = SaveInTransaction(request);
    if (auto injected = MapiFaults::TakeStoreWrite(); SUCCEEDED(hr) && injected) hr = Failed(*injected);
    hr = EndWrite(hr);
    if (FAILED(hr)) request.id = idBefore;
    return hr;
}

HRESULT PabStore::SaveInTransaction(SaveRequest& request)
{
    HRESULT hr = S_OK;
    if (request.id == 0) {
        hr = InsertObject(request);
    } else {
        int rc = SQLITE_OK;
        sqlite3_stmt* statement = m_statements->Get("SELECT 1 FROM objects WHERE id = ?1", rc);
        if (!statement) return Failed(rc);
        sqlite3_bind_int64(statement, 1, request.id);
        rc = sqlite3_step(statement);
        sqlite3_reset(statement);
        if (rc == SQLITE_DONE) return MAPI_E_OBJECT_DELETED;
        if (rc != SQLITE_ROW) return Failed(rc);
    }
    for (ULONG id : request.deleted) {
        if (FAILED(hr)) break;
        int rc = SQLITE_OK;
        sqlite3_stmt* statement = m_statements->Get("DELETE FROM props WHERE object = ?1 AND propid = ?2", rc);
        if (!statement) return Failed(rc);
        sqlite3_bind_int64(statement, 1, request.id);
        sqlite3_bind_int64(statement, 2, id);
        hr = Step(statement);
        sqlite3_reset(statement);
    }
    for (const auto& [id, value] : request.changed) {
        if (FAILED(hr)) break;
        hr = WriteProperty(request.id, id, value);
    }
    return hr;
}

HRESULT PabStore::InsertObject(SaveRequest& request)
{
    if (request.refuseDuplicateName) {
        bool found = false;
        HRESULT hr = HasSiblingNamed(request, found);
        if (FAILED(hr)) return hr;
        if (found) return MAPI_E_COLLISION;
    }
    int rc = SQLITE_OK;
    sqlite3_stmt* statement = m_statements->Get(
        "INSERT INTO objects(parent, type) SELECT id, ?2 FROM objects WHERE id = ?1", rc);
    if (!statement) return Failed(rc);
    sqlite3_bind_int64(statement, 1, request.parent);
    sqlite3_bind_int64(statement, 2, request.type);
    HRESULT hr = Step(statement);
    sqlite3_reset(statement);
    if (FAILED(hr)) return hr;
    if (sqlite3_changes(m_db) == 0) return MAPI_E_OBJECT_DELETED; // the container was deleted meanwhile
    request.id = sqlite3_last_insert_rowid(m_db);
    return S_OK;
}

HRESULT PabStore::HasSiblingNamed(const SaveRequest& request, bool& found)
{
    found = false;
    auto name = request.changed.find(PROP_ID(PR_DISPLAY_NAME));
    if (name == request.changed.end() || name->second.type != PT_STRING8) return S_OK;
    int rc = SQLITE_OK;
    sqlite3_stmt* statement = m_statements->Get(
        // The literal property id lets the partial index of display names serve the search.
        "SELECT 1 FROM props p JOIN objects o ON o.id = p.object "
        "WHERE p.propid = 12289 AND p.value = ?2 AND o.parent = ?3 AND o.type = ?4 LIMIT 1", rc);
    if (!statement) return Failed(rc);
    static_assert(PROP_ID(PR_DISPLAY_NAME) == 12289);
    bindValue(statement, 2, name->second);
    sqlite3_bind_int64(statement, 3, request.parent);
    sqlite3_bind_int64(statement, 4, request.type);
    rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) return Failed(rc);
    found = rc == SQLITE_ROW;
    return S_OK;
}

HRESULT PabStore::WriteProperty(int64_t object, ULONG id, const PropValue& value)
{
    int rc = SQLITE_OK;
    sqlite3_stmt* statement = m_statements->Get(
        "INSERT OR REPLACE INTO props(object, propid, type, value) VALUES(?1, ?2, ?3, ?4)", rc);
    if (!statement) return Failed(rc);
    sqlite3_bind_int64(statement, 1, object);
    sqlite3_bind_int64(statement, 2, id);
    sqlite3_bind_int64(statement, 3, value.type);
    bindValue(statement, 4, value);
    HRESULT hr = Step(statement);
    sqlite3_reset(statement);
    return hr;
}

HRESULT PabStore::DeleteChildren(int64_t parent, const std::vector<int64_t>& ids, size_t& deleted, bool keepContents)
{
    deleted = 0;
    HRESULT hr = BeginWrite();
    if (FAILED(hr)) return hr;
    for (int64_t id : ids) {
        if (keepContents && FAILED(hr = MoveContents(id, parent))) break;
        int rc = SQLITE_OK;
        sqlite3_stmt* statement = m_statements->Get("DELETE FROM objects WHERE id = ?1 AND parent = ?2", rc);
        if (!statement) {
            hr = Failed(rc);
            break;
        }
        sqlite3_bind_int64(statement, 1, id);
        sqlite3_bind_int64(statement, 2, parent);
        hr = Step(statement);
        sqlite3_reset(statement);
        if (FAILED(hr)) break;
        deleted += static_cast<size_t>(sqlite3_changes(m_db));
    }
    if (auto injected = MapiFaults::TakeStoreWrite(); SUCCEEDED(hr) && injected) hr = Failed(*injected);
    hr = EndWrite(hr);
    if (FAILED(hr)) deleted = 0;
    return hr;
}

HRESULT PabStore::MoveContents(int64_t from, int64_t to)
{
    // Only a child of `to` gives up what it holds: an identifier of another container moves nothing.
    int rc = SQLITE_OK;
    sqlite3_stmt* statement = m_statements->Get(
        "UPDATE objects SET parent = ?2 WHERE parent = ?1 AND EXISTS (SELECT 1 FROM objects WHERE id = ?1 AND parent = ?2)", rc);
    if (!statement) return Failed(rc);
    sqlite3_bind_int64(statement, 1, from);
    sqlite3_bind_int64(statement, 2, to);
    const HRESULT hr = Step(statement);
    sqlite3_reset(statement);
    return hr;
}

HRESULT PabStore::BeginWrite()
{
    // IMMEDIATE takes the write lock at once, so a busy database fails here rather than half-way through.
    if (!m_inBatch) return Execute("BEGIN IMMEDIATE");
    // SQLite ends a transaction by itself after some errors (a full disk, an I/O error); a savepoint then would
    // start a transaction of its own and commit this step alone.
    if (sqlite3_get_autocommit(m_db)) return MAPI_E_CALL_FAILED;
    return Execute("SAVEPOINT write_step");
}

HRESULT PabStore::EndWrite(HRESULT result)
{
    if (!m_inBatch) {
        if (SUCCEEDED(result)) result = Execute("COMMIT");
        if (FAILED(result)) RollBack();
        return result;
    }
    // The cause of a failure stands: undoing the step reports nothing of its own.
    if (FAILED(result)) sqlite3_exec(m_db, "ROLLBACK TO write_step", nullptr, nullptr, nullptr);
    sqlite3_exec(m_db, "RELEASE write_step", nullptr, nullptr, nullptr);
    return result;
}

HRESULT PabStore::BeginBatch()
{
    if (m_inBatch) return MAPI_E_BUSY;
    HRESULT hr = Execute("BEGIN IMMEDIATE");
    if (SUCCEEDED(hr)) m_inBatch = true;
    return hr;
}

HRESULT PabStore::EndBatch(bool commit)
{
    if (!m_inBatch) return MAPI_E_CALL_FAILED;
    m_inBatch = false;
    HRESULT hr = S_OK;
    if (commit) {
        // SQLite may have taken the batch back by itself after an error: then there is nothing to commit.
        hr = sqlite3_get_autocommit(m_db) ? MAPI_E_CALL_FAILED : Execute("COMMIT");
    }
    if ((!commit || FAILED(hr)) && !sqlite3_get_autocommit(m_db)) RollBack();
    return hr;
}
