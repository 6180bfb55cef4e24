#pragma once
// The address-book folder shown, as the editing commands see it: names stay unique among the rows its list
// shows (the user is asked for another one), and an entry the book holds is changed in place when saved.
#include "model/IEntrySide.h"

struct EntryStore;
class IAddressBookHost;
class IQuestions;

class AddressBookEntrySide : public IEntrySide {
public:
    AddressBookEntrySide(EntryStore& store, IQuestions& questions, IAddressBookHost& host)
        : m_store(store), m_questions(questions), m_host(host)
    {
    }

    int ListKind() const override;
    DirTable& Table() override;
    bool RefuseChange() override;
    bool TakesNewEntries() const override;
    int DialogTitle(bool adding) const override;
    bool AcceptTypedName(std::string& name) override;
    // A carried name loses its trailing blanks (one blank stays of a name of blanks) before the check.
    bool AcceptCarriedName(DirEntry& copy) override;
    bool Insert(int position, DirEntry& entry) override;
    bool Remove(int position) override;
    bool StoreEdit(int slot, const DirEntry& edited) override;
    uint32_t ModifiedFlag() const override;

private:
    EntryStore& m_store;
    IQuestions& m_questions;
    IAddressBookHost& m_host;
};
