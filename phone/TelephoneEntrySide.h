#pragma once
// The telephone directory shown, as the editing commands see it: its table changes only through the telephone
// layer, which refuses while the telephone works and keeps each entry bound to the record it was read from.
#include "model/IEntrySide.h"

struct EntryStore;
class TelephoneDirectories;

class TelephoneEntrySide : public IEntrySide {
public:
    TelephoneEntrySide(EntryStore& store, TelephoneDirectories& phone) : m_store(store), m_phone(phone) {}

    int ListKind() const override;
    DirTable& Table() override;
    bool RefuseChange() override;
    bool TakesNewEntries() const override;
    int DialogTitle(bool adding) const override;
    // Names bound for the telephone were already cut to its limits while typed; none is refused.
    bool AcceptTypedName(std::string& name) override;
    bool AcceptCarriedName(DirEntry& copy) override;
    bool Insert(int position, DirEntry& entry) override;
    bool Remove(int position) override;
    bool StoreEdit(int slot, const DirEntry& edited) override;
    uint32_t ModifiedFlag() const override;

private:
    EntryStore& m_store;
    TelephoneDirectories& m_phone;
};
