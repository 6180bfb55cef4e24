#include "pab/AddressBookEntrySide.h"

#include "model/EntryStore.h"
#include "model/EntryTableEditor.h"
#include "model/FieldRules.h"
#include "pab/AbNameCheck.h"
#include "pab/IAddressBookHost.h"
#include "res/StringTable.h"

int AddressBookEntrySide::ListKind() const
{
    return LIST_AB;
}

DirTable& AddressBookEntrySide::Table()
{
    return m_store.m_abTable;
}

bool AddressBookEntrySide::RefuseChange()
{
    return false;
}

bool AddressBookEntrySide::TakesNewEntries() const
{
    return true;
}

int AddressBookEntrySide::DialogTitle(bool adding) const
{
    return adding ? Ids::IDS_TITLE_ADD_AB : Ids::IDS_TITLE_EDIT_AB;
}

bool AddressBookEntrySide::AcceptTypedName(std::string& name)
{
    return MakeAbNameUnique(m_store, m_questions, m_host, name) != 0;
}

bool AddressBookEntrySide::AcceptCarriedName(DirEntry& copy)
{
    TrimTrailingBlanks(copy.m_strName);
    std::string name = copy.m_strName;
    if (!AcceptTypedName(name)) return false;
    copy.m_strName = name;
    return true;
}

bool AddressBookEntrySide::Insert(int position, DirEntry& entry)
{
    return EntryTableEditor(m_store, m_questions, m_host).InsertAbEntry(position, entry);
}

bool AddressBookEntrySide::Remove(int position)
{
    return EntryTableEditor(m_store, m_questions, m_host).RemoveAbEntry(position);
}

bool AddressBookEntrySide::StoreEdit(int slot, const DirEntry& edited)
{
    if (slot < 0 || slot >= m_store.m_abTable.m_nCount || slot >= kTableSlots) return false;
    DirEntry& entry = m_store.m_abTable[slot];
    const int32_t state = entry.m_nState == ENTRY_NEW ? ENTRY_NEW : ENTRY_CHANGED;
    entry = edited;
    entry.m_nState = state;
    return true;
}

uint32_t AddressBookEntrySide::ModifiedFlag() const
{
    return VF_AB_MODIFIED;
}
