#pragma once
// The address book's objects and their properties in the database. Containers (the PAB, distribution
// lists) and mail users are objects with a parent; every property is a row (object, property id, type,
// value). Each change is one transaction, written through before the call returns, unless a batch gathers
// several into one.
#include "mapi/PropValue.h"
#include "mapi/StatementCache.h"

#include <memory>
#include <set>
#include <sqlite3.h>
#include <string>
#include <vector>

struct StoredObject {
    int64_t id = 0;
    int64_t parent = 0;
    ULONG type = 0; // MAPI_ABCONT, MAPI_DISTLIST, MAPI_MAILUSER
    PropertyMap props;
};

struct SaveRequest {
    int64_t id = 0;      // 0 for an object that is not in the database yet
    int64_t parent = 0;  // for a new object
    ULONG type = 0;      // for a new object
    bool refuseDuplicateName = false; // a new object whose container holds one of its kind and name fails
    PropertyMap changed;
    std::set<ULONG> deleted;
};

class PabStore {
public:
    static constexpr int64_t kRootId = 1;

    // Read-only stores (readers of the book) fail every change with MAPI_E_NO_ACCESS and never write the file.
    static HRESULT Open(const std::string& path, std::shared_ptr<PabStore>& out, bool readOnly = false);
    ~PabStore();
    PabStore(const PabStore&) = delete;
    PabStore& operator=(const PabStore&) = delete;

    HRESULT LoadObject(int64_t id, StoredObject& out);
    HRESULT LoadChildren(int64_t parent, std::vector<StoredObject>& out);
    // Writes the request in one transaction; a new object's number comes back in request.id.
    HRESULT Save(SaveRequest& request);
    // Deletes those of `ids` that are children of `parent`, with everything inside them; with keepContents what
    // they hold moves into `parent` first.
    HRESULT DeleteChildren(int64_t parent, const std::vector<int64_t>& ids, size_t& deleted, bool keepContents = false);

    // Several writes as one: from BeginBatch to EndBatch every Save and DeleteChildren is a step inside one
    // transaction, undone on its own when it fails, and none of them is in the file before EndBatch commits.
    // EndBatch(false), or a commit that fails, takes all of them back. Batches do not nest.
    HRESULT BeginBatch();
    HRESULT EndBatch(bool commit);

private:
    PabStore(sqlite3* db, std::string path);
    // The MAPI error for an SQLite result, with its cause kept for the report.
    HRESULT Failed(int sqliteResult);
    HRESULT FailedWrite(int sqliteResult);
    void RollBack();
    HRESULT SaveInTransaction(SaveRequest& request);
    HRESULT InsertObject(SaveRequest& request);
    HRESULT HasSiblingNamed(const SaveRequest& request, bool& found);
    HRESULT MoveContents(int64_t from, int64_t to);
    HRESULT WriteProperty(int64_t object, ULONG id, const PropValue& value);
    HRESULT Execute(const char* sql);
    HRESULT Step(sqlite3_stmt* statement);
    // The frame of one Save or DeleteChildren: its own transaction, or a savepoint inside the open batch.
    HRESULT BeginWrite();
    HRESULT EndWrite(HRESULT result);

    sqlite3* m_db;
    std::string m_path;
    std::unique_ptr<StatementCache> m_statements;
    bool m_inBatch = false;
};
