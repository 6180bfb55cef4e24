#pragma once
// The property handling of one address-book object (container, list or mail user): its properties as
// read, the caller's changes until SaveChanges writes them in one transaction, and the properties that
// the address book computes (identifier, object and display type).
#include "mapi/PabStore.h"

#include <memory>
#include <set>

class PropertyObject {
public:
    // An object read from the database; `writable` when opened with MAPI_MODIFY or MAPI_BEST_ACCESS.
    PropertyObject(std::shared_ptr<PabStore> store, StoredObject object, bool writable);
    // A new object in `parent`, written to the database by its first SaveChanges.
    static PropertyObject ForNew(std::shared_ptr<PabStore> store, int64_t parent, ULONG type, bool refuseDuplicateName);

    HRESULT GetProps(LPSPropTagArray lpPropTagArray, ULONG ulFlags, ULONG* lpcValues, LPSPropValue* lppPropArray) const;
    HRESULT GetPropList(ULONG ulFlags, LPSPropTagArray* lppPropTagArray) const;
    HRESULT SetProps(ULONG cValues, LPSPropValue lpPropArray, LPSPropProblemArray* lppProblems);
    HRESULT DeleteProps(LPSPropTagArray lpPropTagArray, LPSPropProblemArray* lppProblems);
    HRESULT SaveChanges(ULONG ulFlags);

    int64_t Id() const { return m_object.id; }
    ULONG Type() const { return m_object.type; }
    bool IsSaved() const { return m_object.id != 0; }
    bool IsWritable() const { return m_writable; }
    const std::shared_ptr<PabStore>& Store() const { return m_store; }

    // The stored properties together with the computed ones, as tables and GetProps show them.
    static PropertyMap WithComputed(const StoredObject& object);
    static bool IsComputed(ULONG propId);

private:
    static HRESULT MakeProblems(const std::vector<SPropProblem>& problems, LPSPropProblemArray* lppProblems);

    std::shared_ptr<PabStore> m_store;
    StoredObject m_object; // the properties as the caller sees them, changes included
    bool m_writable;
    bool m_refuseDuplicateName = false;
    std::set<ULONG> m_changed;
    std::set<ULONG> m_deleted;
};
