#pragma once
// Finds, checks and (on first use) creates the address book file. A file that is not this program's
// address book is refused without a single byte of it being changed: it is checked through a read-only
// connection first, which can neither roll back a foreign journal nor convert the file.
#include "mapi/MapiTypes.h"

#include <sqlite3.h>
#include <string>

class PabFileOpener {
public:
    static constexpr int32_t kApplicationId = 0x54564142; // "TVAB" in the database header
    static constexpr int kSchemaVersion = 1;
    static constexpr int kBusyTimeoutMs = 2000;

    // A read-write connection to a checked address book, created empty if the file does not exist.
    static HRESULT Open(const std::string& path, sqlite3** out);
    // Maps an SQLite result onto the nearest MAPI error.
    static HRESULT ToMapiError(int sqliteResult);

private:
    static HRESULT CreateNew(const std::string& path);
    static HRESULT BuildSchema(const std::string& tempPath);
    static HRESULT Publish(const std::string& tempPath, const std::string& path);
    static HRESULT CheckHeader(const std::string& path);
    static HRESULT CheckContents(const std::string& path);
    static HRESULT OpenForWriting(const std::string& path, sqlite3** out);
};
