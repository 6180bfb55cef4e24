#pragma once
// One side of the editor, the telephone directory shown or the address-book folder shown, as the editing
// commands see it: its table, the operations that change it and the rules its entries meet. The telephone layer
// and the address-book layer each give one, so that the commands never ask which side they work on.
#include "model/DirTable.h"

#include <cstdint>
#include <string>

class IEntrySide {
public:
    virtual ~IEntrySide() = default;
    // LIST_PHONE or LIST_AB: what the entry dialog is told about the rules of its fields.
    virtual int ListKind() const = 0;
    // The table the side shows now (for the telephone, the current directory's).
    virtual DirTable& Table() = 0;
    // True (after saying why in the status line) when the table may not change now.
    virtual bool RefuseChange() = 0;
    // False while the side cannot take a typed entry (the telephone before its limits are known).
    virtual bool TakesNewEntries() const = 0;
    // The string of the entry dialog's title for adding or editing on this side.
    virtual int DialogTitle(bool adding) const = 0;
    // A name the user typed for this side; false when the entry is to be dropped (the user gave up).
    virtual bool AcceptTypedName(std::string& name) = 0;
    // The name of a copy carried over from a list; may change the copy's name; false when the copy is skipped.
    virtual bool AcceptCarriedName(DirEntry& copy) = 0;
    // The table operations with the index rules; false when nothing was inserted or removed.
    virtual bool Insert(int position, DirEntry& entry) = 0;
    virtual bool Remove(int position) = 0;
    // Gives the live entry in the slot the edited texts, status and index, and marks it pending; false when
    // nothing was stored.
    virtual bool StoreEdit(int slot, const DirEntry& edited) = 0;
    // The flag that says the side holds unsaved changes.
    virtual uint32_t ModifiedFlag() const = 0;
};
