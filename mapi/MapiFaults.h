#pragma once
// A test seam: makes the next call(s) of a MAPI method fail with a chosen result, so that the program's error
// paths can be driven without a broken database. The methods are named by MapiCall, so that a fault for a
// call that does not consult the seam cannot be written.
#include "mapi/MapiCall.h"
#include "mapi/MapiTypes.h"

#include <optional>

class MapiFaults {
public:
    // The call after `skipCalls` successful calls of `call` returns `result` and does nothing else.
    static void Inject(MapiCall call, HRESULT result, int skipCalls = 0);
    static void Clear();
    // Used by the layer at the start of each such call: the injected result when this call is to fail.
    static std::optional<HRESULT> Take(MapiCall call);

    // The write to the database after `skipWrites` successful ones (a saved entry, a deletion) fails as if
    // SQLite had answered `sqliteResult` (SQLITE_FULL, SQLITE_READONLY...): the transaction is rolled back and
    // the cause is reported as for a real disk. Cleared by Clear().
    static void InjectStoreWrite(int sqliteResult, int skipWrites = 0);
    static std::optional<int> TakeStoreWrite();
};
