#pragma once
// A test seam: makes the next call(s) of a named MAPI method fail with a chosen result, so that the program's
// error paths can be driven without a broken database. Method names are the bare MAPI names: "MAPIInitialize",
// "MAPILogonEx", "OpenAddressBook", "GetPAB", "OpenEntry", "GetContentsTable", "HrQueryAllRows", "QueryRows",
// "OpenProperty", "SetColumns", "Restrict", "GetRowCount", "CreateEntry", "SetProps", "GetProps",
// "SaveChanges", "DeleteEntries", "Logoff".
#include "mapi/MapiTypes.h"

#include <string>

class MapiFaults {
public:
    // The call after `skipCalls` successful calls of `method` returns `result` and does nothing else.
    static void Inject(const std::string& method, HRESULT result, int skipCalls = 0);
    static void Clear();
    // Used by the layer: true (and the injected result) when this call of `method` is to fail.
    static bool Take(const char* method, HRESULT& result);
};
