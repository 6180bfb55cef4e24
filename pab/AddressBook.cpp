#include "pab/AddressBook.h"

#include "pab/AddressBookSession.h"

AddressBook::AddressBook(EntryStore& store, IQuestions& questions, IAddressBookHost& host)
    : m_session(std::make_unique<AddressBookSession>(store, questions, host))
{
}

AddressBook::~AddressBook() = default;

bool AddressBook::OpenAtStartUp() { return m_session->OpenAtStartUp(); }
void AddressBook::SetReadOnly(bool readOnly) { m_session->SetReadOnly(readOnly); }
void AddressBook::ChangeFolder() { m_session->ChangeFolder(); }
void AddressBook::NewFolder() { m_session->NewFolder(); }
void AddressBook::OpenFolder() { m_session->OpenFolder(); }
bool AddressBook::CanEditShownList() const { return m_session->CanEditShownList(); }
void AddressBook::RenameShownList() { m_session->RenameShownList(); }
void AddressBook::DeleteShownList() { m_session->DeleteShownList(); }
void AddressBook::SaveAddressBook() { m_session->SaveAddressBook(); }
void AddressBook::SaveBeforeLeaving() { m_session->SaveBeforeLeaving(); }
void AddressBook::CloseSession() { m_session->CloseAbSession(); }
