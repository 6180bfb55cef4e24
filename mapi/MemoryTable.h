#pragma once
// A MAPI table over rows that are read once, when the table is first used: a contents table thus shows the
// container as it was at that moment, however the caller changes the container while reading it.
#include "mapi/IMAPITable.h"
#include "mapi/MapiObject.h"
#include "mapi/PropValue.h"

#include <functional>
#include <vector>

class MemoryTable : public MapiObject<IMAPITable> {
public:
    using RowLoader = std::function<HRESULT(std::vector<PropertyMap>&)>;

    MemoryTable(std::vector<ULONG> defaultColumns, RowLoader loader);

    HRESULT QueryInterface(REFIID riid, LPVOID* ppvObj) override;
    HRESULT SetColumns(LPSPropTagArray lpPropTagArray, ULONG ulFlags) override;
    HRESULT QueryColumns(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) override;
    HRESULT GetRowCount(ULONG ulFlags, ULONG* lpulCount) override;
    HRESULT SeekRow(BOOKMARK bkOrigin, LONG lRowCount, LONG* lplRowsSought) override;
    HRESULT QueryPosition(ULONG* lpulRow, ULONG* lpulNumerator, ULONG* lpulDenominator) override;
    HRESULT Restrict(LPSRestriction lpRestriction, ULONG ulFlags) override;
    HRESULT SortTable(LPSSortOrderSet lpSortCriteria, ULONG ulFlags) override;
    HRESULT QueryRows(LONG lRowCount, ULONG ulFlags, LPSRowSet* lppRows) override;

private:
    HRESULT EnsureLoaded();
    void SortView();
    SCODE FillRow(const PropertyMap& source, SRow& row) const;

    std::vector<ULONG> m_columns;
    RowLoader m_loader;
    bool m_loaded = false;
    std::vector<PropertyMap> m_rows;
    std::vector<size_t> m_view; // indices into m_rows that pass the restriction, in sort order
    std::vector<SSortOrder> m_sort;
    size_t m_position = 0;
};
