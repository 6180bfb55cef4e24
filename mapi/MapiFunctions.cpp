// The functions of MAPI32 that the program calls: start and end, logon, and the table helpers.
#include "mapi/Mapi.h"
#include "mapi/MapiFaults.h"
#include "mapi/PabContainer.h"
#include "mapi/PabFileProblem.h"
#include "mapi/PabSession.h"
#include "mapi/PabStore.h"

#include <QStandardPaths>
#include <mutex>

namespace {
std::mutex& stateMutex()
{
    static std::mutex mutex;
    return mutex;
}

int g_initializeCount = 0;   // MAPIInitialize calls not yet matched by MAPIUninitialize
std::string g_addressBookFile; // chosen file; empty for the default
}

HRESULT MAPIInitialize(LPVOID lpMapiInit)
{
    if (auto injected = MapiFaults::Take(MapiCall::MAPIInitialize)) return *injected;
    if (lpMapiInit && static_cast<LPMAPIINIT_0>(lpMapiInit)->ulVersion != MAPI_INIT_VERSION) return MAPI_E_VERSION;
    std::lock_guard lock(stateMutex());
    ++g_initializeCount;
    return S_OK;
}

void MAPIUninitialize()
{
    std::lock_guard lock(stateMutex());
    if (g_initializeCount > 0) --g_initializeCount;
}

void MAPISetAddressBookFile(const std::string& path)
{
    std::lock_guard lock(stateMutex());
    g_addressBookFile = path;
}

std::string MAPIGetAddressBookFile()
{
    {
        std::lock_guard lock(stateMutex());
        if (!g_addressBookFile.empty()) return g_addressBookFile;
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty()) return {};
    return (folder + QStringLiteral("/pab.sqlite")).toStdString();
}

HRESULT MAPILogonEx(ULONG_PTR, LPTSTR, LPTSTR, ULONG ulFlags, LPMAPISESSION* lppSession)
{
    if (auto injected = MapiFaults::Take(MapiCall::MAPILogonEx)) return *injected;
    if (!lppSession) return MAPI_E_INVALID_PARAMETER;
    *lppSession = nullptr;
    {
        std::lock_guard lock(stateMutex());
        if (g_initializeCount == 0) return MAPI_E_NOT_INITIALIZED;
    }
    std::shared_ptr<PabStore> store;
    HRESULT hr = PabStore::Open(MAPIGetAddressBookFile(), store, (ulFlags & MAPI_BOOK_READ_ONLY) != 0);
    if (FAILED(hr)) return hr;
    *lppSession = new PabSession(std::move(store));
    return S_OK;
}

std::string MAPIGetLastErrorText(HRESULT hResult)
{
    return PabFileProblem::TakeText(hResult);
}

void FreeProws(LPSRowSet lpRows)
{
    if (!lpRows) return;
    for (ULONG i = 0; i < lpRows->cRows; ++i) MAPIFreeBuffer(lpRows->aRow[i].lpProps);
    MAPIFreeBuffer(lpRows);
}

HRESULT HrQueryAllRows(LPMAPITABLE lpTable, LPSPropTagArray lpPropTags, LPSRestriction lpRestriction,
                       LPSSortOrderSet lpSortOrderSet, LONG crowsMax, LPSRowSet* lppRows)
{
    if (auto injected = MapiFaults::Take(MapiCall::HrQueryAllRows)) return *injected;
    if (!lpTable || !lppRows) return MAPI_E_INVALID_PARAMETER;
    *lppRows = nullptr;
    HRESULT hr = S_OK;
    if (lpPropTags) hr = lpTable->SetColumns(lpPropTags, 0);
    if (SUCCEEDED(hr) && lpRestriction) hr = lpTable->Restrict(lpRestriction, 0);
    if (SUCCEEDED(hr) && lpSortOrderSet) hr = lpTable->SortTable(lpSortOrderSet, 0);
    if (SUCCEEDED(hr)) hr = lpTable->SeekRow(BOOKMARK_BEGINNING, 0, nullptr);
    ULONG count = 0;
    if (SUCCEEDED(hr)) hr = lpTable->GetRowCount(0, &count);
    if (FAILED(hr)) return hr;
    if (crowsMax > 0 && count > static_cast<ULONG>(crowsMax)) return MAPI_E_TABLE_TOO_BIG;
    return lpTable->QueryRows(static_cast<LONG>(count), 0, lppRows);
}

HRESULT HrOpenTransaction(LPMAPIPROP lpContainer, LPMAPITRANSACTION* lppTransaction)
{
    if (!lppTransaction) return MAPI_E_INVALID_PARAMETER;
    *lppTransaction = nullptr;
    auto* container = dynamic_cast<PabContainer*>(lpContainer);
    if (!container) return MAPI_E_NO_SUPPORT;
    return container->OpenTransaction(lppTransaction);
}
