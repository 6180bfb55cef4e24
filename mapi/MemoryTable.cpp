#include "mapi/MemoryTable.h"

#include "mapi/Mapi.h"
#include "mapi/MapiFaults.h"
#include "mapi/PropConverter.h"
#include "mapi/RestrictionMatcher.h"

#include <algorithm>
#include <cstddef>
#include <numeric>

namespace {
int compareValues(const PropertyMap& a, const PropertyMap& b, ULONG tag)
{
    auto left = a.find(PROP_ID(tag));
    auto right = b.find(PROP_ID(tag));
    if (left == a.end() || right == b.end()) return (left == a.end()) - (right == b.end());
    const PropValue& l = left->second;
    const PropValue& r = right->second;
    // Texts are UTF-8, whose bytes in order compare as the characters' code points, one character after another.
    if (l.type == PT_STRING8 && r.type == PT_STRING8) return l.data.compare(r.data);
    if (l.real != r.real) return l.real < r.real ? -1 : 1;
    if (l.integer != r.integer) return l.integer < r.integer ? -1 : 1;
    return l.data.compare(r.data);
}
}

MemoryTable::MemoryTable(std::vector<ULONG> defaultColumns, RowLoader loader)
    : m_columns(std::move(defaultColumns)), m_loader(std::move(loader))
{
}

HRESULT MemoryTable::QueryInterface(REFIID riid, LPVOID* ppvObj)
{
    return AnswerInterface(riid, ppvObj, {&IID_IUnknown, &IID_IMAPITable});
}

HRESULT MemoryTable::EnsureLoaded()
{
    if (m_loaded) return S_OK;
    HRESULT hr = m_loader(m_rows);
    if (FAILED(hr)) return hr;
    m_loaded = true;
    m_view.resize(m_rows.size());
    std::iota(m_view.begin(), m_view.end(), size_t{0});
    return S_OK;
}

HRESULT MemoryTable::SetColumns(LPSPropTagArray lpPropTagArray, ULONG)
{
    if (auto injected = MapiFaults::Take(MapiCall::SetColumns)) return *injected;
    if (!lpPropTagArray || lpPropTagArray->cValues == 0) return MAPI_E_INVALID_PARAMETER;
    m_columns.assign(lpPropTagArray->aulPropTag, lpPropTagArray->aulPropTag + lpPropTagArray->cValues);
    return S_OK;
}

HRESULT MemoryTable::QueryColumns(ULONG, LPSPropTagArray* lppPropTagArray)
{
    if (!lppPropTagArray) return MAPI_E_INVALID_PARAMETER;
    LPVOID buffer = nullptr;
    SCODE sc = MAPIAllocateBuffer(
        static_cast<ULONG>(offsetof(SPropTagArray, aulPropTag) + sizeof(ULONG) * (m_columns.size() + 1)), &buffer);
    if (FAILED(sc)) return sc;
    auto* tags = static_cast<LPSPropTagArray>(buffer);
    tags->cValues = static_cast<ULONG>(m_columns.size());
    std::copy(m_columns.begin(), m_columns.end(), tags->aulPropTag);
    *lppPropTagArray = tags;
    return S_OK;
}

HRESULT MemoryTable::GetRowCount(ULONG, ULONG* lpulCount)
{
    if (auto injected = MapiFaults::Take(MapiCall::GetRowCount)) return *injected;
    if (!lpulCount) return MAPI_E_INVALID_PARAMETER;
    HRESULT hr = EnsureLoaded();
    if (FAILED(hr)) return hr;
    *lpulCount = static_cast<ULONG>(m_view.size());
    return S_OK;
}

HRESULT MemoryTable::SeekRow(BOOKMARK bkOrigin, LONG lRowCount, LONG* lplRowsSought)
{
    HRESULT hr = EnsureLoaded();
    if (FAILED(hr)) return hr;
    int64_t start = 0;
    switch (bkOrigin) {
    case BOOKMARK_BEGINNING: start = 0; break;
    case BOOKMARK_CURRENT: start = static_cast<int64_t>(m_position); break;
    case BOOKMARK_END: start = static_cast<int64_t>(m_view.size()); break;
    default: return MAPI_E_INVALID_BOOKMARK;
    }
    const int64_t target = std::clamp<int64_t>(start + lRowCount, 0, static_cast<int64_t>(m_view.size()));
    m_position = static_cast<size_t>(target);
    if (lplRowsSought) *lplRowsSought = static_cast<LONG>(target - start);
    return S_OK;
}

HRESULT MemoryTable::QueryPosition(ULONG* lpulRow, ULONG* lpulNumerator, ULONG* lpulDenominator)
{
    if (!lpulRow || !lpulNumerator || !lpulDenominator) return MAPI_E_INVALID_PARAMETER;
    HRESULT hr = EnsureLoaded();
    if (FAILED(hr)) return hr;
    *lpulRow = static_cast<ULONG>(m_position);
    *lpulNumerator = static_cast<ULONG>(m_position);
    *lpulDenominator = static_cast<ULONG>(m_view.size());
    return S_OK;
}

HRESULT MemoryTable::Restrict(LPSRestriction lpRestriction, ULONG)
{
    if (auto injected = MapiFaults::Take(MapiCall::Restrict)) return *injected;
    if (lpRestriction) {
        HRESULT hr = RestrictionMatcher::Check(*lpRestriction);
        if (FAILED(hr)) return hr;
    }
    HRESULT hr = EnsureLoaded();
    if (FAILED(hr)) return hr;
    m_view.clear();
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (!lpRestriction || RestrictionMatcher::Matches(*lpRestriction, m_rows[i])) m_view.push_back(i);
    SortView();
    m_position = 0;
    return S_OK;
}

HRESULT MemoryTable::SortTable(LPSSortOrderSet lpSortCriteria, ULONG)
{
    if (!lpSortCriteria) return MAPI_E_INVALID_PARAMETER;
    if (lpSortCriteria->cCategories > 0) return MAPI_E_TOO_COMPLEX;
    HRESULT hr = EnsureLoaded();
    if (FAILED(hr)) return hr;
    m_sort.assign(lpSortCriteria->aSort, lpSortCriteria->aSort + lpSortCriteria->cSorts);
    SortView();
    m_position = 0;
    return S_OK;
}

void MemoryTable::SortView()
{
    if (m_sort.empty()) return;
    std::stable_sort(m_view.begin(), m_view.end(), [this](size_t a, size_t b) {
        for (const SSortOrder& key : m_sort) {
            int order = compareValues(m_rows[a], m_rows[b], key.ulPropTag);
            if (key.ulOrder == TABLE_SORT_DESCEND) order = -order;
            if (order != 0) return order < 0;
        }
        return false;
    });
}

SCODE MemoryTable::FillRow(const PropertyMap& source, SRow& row) const
{
    LPVOID buffer = nullptr;
    SCODE sc = MAPIAllocateBuffer(static_cast<ULONG>(sizeof(SPropValue) * std::max<size_t>(m_columns.size(), 1)), &buffer);
    if (FAILED(sc)) return sc;
    auto* values = static_cast<LPSPropValue>(buffer);
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const ULONG tag = m_columns[i];
        auto found = source.find(PROP_ID(tag));
        sc = found == source.end() ? MAPI_E_NOT_FOUND
                                   : PropConverter::ToMapi(found->first, found->second, PROP_TYPE(tag), buffer, values[i]);
        if (sc == MAPI_E_NOT_ENOUGH_MEMORY) {
            MAPIFreeBuffer(buffer);
            return sc;
        }
        if (FAILED(sc)) PropConverter::SetError(tag, MAPI_E_NOT_FOUND, values[i]);
    }
    row.ulAdrEntryPad = 0;
    row.cValues = static_cast<ULONG>(m_columns.size());
    row.lpProps = values;
    return S_OK;
}

HRESULT MemoryTable::QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows)
{
    if (auto injected = MapiFaults::Take(MapiCall::QueryRows)) return *injected;
    if (!lppRows) return MAPI_E_INVALID_PARAMETER;
    *lppRows = nullptr;
    HRESULT hr = EnsureLoaded();
    if (FAILED(hr)) return hr;
    // A negative count reads the rows before the cursor, still returned in table order.
    size_t first = m_position;
    size_t count = 0;
    if (lRowCount >= 0) {
        count = std::min<size_t>(static_cast<size_t>(lRowCount), m_view.size() - m_position);
    } else {
        count = std::min<size_t>(static_cast<size_t>(-static_cast<int64_t>(lRowCount)), m_position);
        first = m_position - count;
    }
    LPVOID buffer = nullptr;
    SCODE sc = MAPIAllocateBuffer(static_cast<ULONG>(offsetof(SRowSet, aRow) + sizeof(SRow) * std::max<size_t>(count, 1)), &buffer);
    if (FAILED(sc)) return sc;
    auto* rows = static_cast<LPSRowSet>(buffer);
    rows->cRows = 0;
    for (size_t i = 0; i < count; ++i) {
        sc = FillRow(m_rows[m_view[first + i]], rows->aRow[i]);
        if (FAILED(sc)) {
            FreeProws(rows);
            return sc;
        }
        rows->cRows = static_cast<ULONG>(i + 1);
    }
    if (!(ulFlags & TBL_NOADVANCE)) m_position = lRowCount >= 0 ? first + count : first;
    *lppRows = rows;
    return S_OK;
}
