#pragma once
// The MAPI calls that the fault seam can make fail, one name for each call that consults it. Logoff stays
// last: the seam's test walks the values up to it.
enum class MapiCall {
    MAPIInitialize,
    MAPILogonEx,
    OpenAddressBook,
    GetPAB,
    OpenEntry,
    GetContentsTable,
    HrQueryAllRows,
    QueryRows,
    OpenProperty,
    SetColumns,
    Restrict,
    GetRowCount,
    CreateEntry,
    SetProps,
    GetProps,
    SaveChanges,
    DeleteEntries,
    Logoff,
};
