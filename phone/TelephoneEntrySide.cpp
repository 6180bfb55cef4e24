#include "phone/TelephoneEntrySide.h"

#include "model/EntryStore.h"
#include "phone/TelephoneDirectories.h"
#include "res/StringTable.h"

int TelephoneEntrySide::ListKind() const
{
    return LIST_PHONE;
}

DirTable& TelephoneEntrySide::Table()
{
    return m_store.CurrentPhoneTable();
}

bool TelephoneEntrySide::RefuseChange()
{
    return m_phone.RefuseWhileBusy();
}

bool TelephoneEntrySide::TakesNewEntries() const
{
    // Until a directory was read the telephone's field lengths are unknown.
    return m_store.m_nNameLen != 0;
}

int TelephoneEntrySide::DialogTitle(bool adding) const
{
    return adding ? Ids::IDS_TITLE_ADD_PHONE : Ids::IDS_TITLE_EDIT_PHONE;
}

bool TelephoneEntrySide::AcceptTypedName(std::string&)
{
    return true;
}

bool TelephoneEntrySide::AcceptCarriedName(DirEntry&)
{
    return true;
}

bool TelephoneEntrySide::Insert(int position, DirEntry& entry)
{
    return m_phone.InsertEntry(position, entry);
}

bool TelephoneEntrySide::Remove(int position)
{
    return m_phone.RemoveEntry(position);
}

bool TelephoneEntrySide::StoreEdit(int slot, const DirEntry& edited)
{
    // A changed telephone entry is written again, even when nothing was changed.
    return m_phone.ApplyEdit(slot, edited);
}

uint32_t TelephoneEntrySide::ModifiedFlag() const
{
    return VF_PHONE_MODIFIED;
}
