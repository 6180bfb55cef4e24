#pragma once
// Finds, checks and (on first use) creates the address book file. A file that is not this program's
// address book is refused without a single byte of it being changed: it is checked through a read-only
// connection first, which can neither roll back a foreign journal nor convert the file.
//
// Versions of the file (PRAGMA user_version): 1 was written by 1.1.03 and earlier, whose texts were limited to
// code page 1252 (stored as UTF-8); 2 may hold any character. Both open; a version 1 book is marked version 2
// as soon as it is opened for writing, because 1.1.03 would turn every character outside code page 1252 into
// "?" when saving, and it refuses a book of a newer version.
#include "mapi/MapiTypes.h"

#include <sqlite3.h>
#include <string>

class PabFileOpener {
public:
    static constexpr int32_t kApplicationId = 0x54564142; // "TVAB" in the database header
    static constexpr int kSchemaVersion = 2;
    static constexpr int kOldestReadableVersion = 1;
    static constexpr int kBusyTimeoutMs = 2000;

    // A connection to a checked address book, created empty if the file does not exist: read-write, or
    // read-only for readers, which then never change a byte of the file. On failure the cause is kept in
    // PabFileProblem.
    static HRESULT Open(const std::string& path, sqlite3** out, bool readOnly = false);
    // Maps an SQLite result onto the nearest MAPI error.
    static HRESULT ToMapiError(int sqliteResult);

private:
    static HRESULT CreateNew(const std::string& path);
    static HRESULT BuildSchema(const std::string& tempPath);
    static HRESULT Publish(const std::string& tempPath, const std::string& path);
    static HRESULT CheckHeader(const std::string& path);
    static HRESULT CheckContents(const std::string& path);
    static HRESULT OpenChecked(const std::string& path, sqlite3** out, bool readOnly);
    static HRESULT OpenForWriting(const std::string& path, sqlite3** out);
    static HRESULT OpenForReading(const std::string& path, sqlite3** out);
    static HRESULT MarkCurrentVersion(sqlite3* db);
};
