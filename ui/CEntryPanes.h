#pragma once
// The two sides of the form with their lists, and the editing commands that work on them. The form's edit
// handlers only pick the active side and hand the work on.
#include "model/EntryClipboard.h"
#include "model/EntryDeletion.h"
#include "model/EntryDialogCommands.h"
#include "model/EntryTransfer.h"
#include "model/ViewFlags.h"
#include "pab/AddressBookEntrySide.h"
#include "pab/IAddressBookHost.h"
#include "phone/TelephoneEntrySide.h"
#include "ui/CEntryListPane.h"

class CEntryPanes {
public:
    CEntryPanes(EntryStore& store, IQuestions& questions, IAddressBookHost& host, TelephoneDirectories& phone,
                CEntryListPane phoneList, CEntryListPane abList)
        : m_phoneSide(store, phone), m_abSide(store, questions, host), m_phoneList(std::move(phoneList)),
          m_abList(std::move(abList)), m_dialogs(store, questions), m_transfer(store), m_deletion(store, questions, host),
          m_clipboard(store)
    {
    }

    // The side and the list of LIST_PHONE or LIST_AB; nullptr for any other list.
    IEntrySide* Side(int list) { return list == LIST_PHONE ? &m_phoneSide : list == LIST_AB ? static_cast<IEntrySide*>(&m_abSide) : nullptr; }
    CEntryListPane* List(int list) { return list == LIST_PHONE ? &m_phoneList : list == LIST_AB ? &m_abList : nullptr; }

    EntryDialogCommands& Dialogs() { return m_dialogs; }
    EntryTransfer& Transfer() { return m_transfer; }
    EntryDeletion& Deletion() { return m_deletion; }
    EntryClipboard& Clipboard() { return m_clipboard; }

private:
    TelephoneEntrySide m_phoneSide;
    AddressBookEntrySide m_abSide;
    CEntryListPane m_phoneList;
    CEntryListPane m_abList;
    EntryDialogCommands m_dialogs;
    EntryTransfer m_transfer;
    EntryDeletion m_deletion;
    EntryClipboard m_clipboard;
};
