#pragma once
// The session behind the personal address book (pab/AddressBook.h): the MAPI session, the table of folders (the
// book and its distribution lists), reading the folder shown into the address-book table, saving that table's
// changes back into the same folder, and creating and choosing folders. It works on the entry store's
// address-book table and folder records, asks through the question seam and shows its results through the host.
// It owns the folder shown: the host's folder combo box is told which folder that is, never the other way round.
// Only pab/ itself, tests and benchmarks include this header.
#include "mapi/MapiTags.h"
#include "mapi/MapiTypes.h"

#include <cstdint>
#include <string>

struct EntryStore;
class IAddressBookHost;
class IQuestions;
class IMAPISession;
class IAddrBook;
class IABContainer;
class IMAPIContainer;
class IMAPIProp;

class AddressBookSession {
public:
    AddressBookSession(EntryStore& store, IQuestions& questions, IAddressBookHost& host);
    ~AddressBookSession();
    AddressBookSession(const AddressBookSession&) = delete;
    AddressBookSession& operator=(const AddressBookSession&) = delete;

    // Start-up: session, folder table and the book's own entries; false (after the report) when the program
    // cannot go on without its address book.
    bool OpenAtStartUp();
    // The folder chosen in the folder combo box: asks about unsaved changes, then reads and shows it.
    void ChangeFolder();
    // A new distribution list in the folder shown, named by the user; then shown.
    void NewFolder();
    // The folder chosen in the folder dialog is shown.
    void OpenFolder();
    // Saves the changes of the table into the folder shown, then reads it again (ReadShownFolderAgain).
    void SaveAddressBook();
    // As the save button: no list is active afterwards.
    void SaveBeforeLeaving();

    // The session and folder table.
    HRESULT OpenAbSession();
    void CloseAbSession();
    HRESULT ScanFolders(IMAPIContainer* container, int startIndex, int depth);
    void FreeFolderRows();
    HRESULT ReopenAddressBook();
    // Opens the folder the address-book table was read from again as the container; reports and closes the
    // session on failure.
    HRESULT ReopenShownFolder();
    // Opens a folder as the container (the one before is released); reports and closes the session on failure.
    HRESULT OpenContainer(uint32_t cbEntryId, ENTRYID* entryId);

    // One folder's entries into the address-book table. Entries without a usable index get one, and the folder
    // is saved, which reads it once more without assigning again.
    HRESULT ReadFolder(IMAPIContainer* container);
    // The folder shown, read again as the book holds it (after a save): no indices are assigned here. The host
    // selects the folder's item and shows its entries.
    void ReadShownFolderAgain();
    // The folder record of the folder shown, -1 when the folder table does not list it.
    int ShownFolderItem() const;

    // Single entries of the container shown.
    HRESULT FindCreateTemplate(const char* addressType, uint32_t* cbEntryId, ENTRYID** entryId, SRowSet** rows);
    static void FreeRowSet(SRowSet* rows);
    HRESULT CreateAbEntry(const std::string& name, const std::string& number, int index, const std::string& status,
                          uint32_t cbTemplateId, ENTRYID* templateId, const std::string& comment = {});
    HRESULT UpdateAbEntry(const std::string& name, const std::string& number, int index, const std::string& status,
                          uint32_t cbEntryId, ENTRYID* entryId, const std::string& comment);
    HRESULT DeleteAbEntry(uint32_t cbEntryId, ENTRYID* entryId);
    // SetProps and SaveChanges of an opened entry, which is released in every case.
    HRESULT StoreEntryProps(IMAPIProp* entry, ULONG count, SPropValue* values, bool newEntry);

    // The open objects, for tests and benchmarks; null when the session is closed.
    IMAPISession* Session() const { return m_pSession; }
    IAddrBook* AddrBook() const { return m_pAddrBook; }
    IABContainer* Container() const { return m_pContainer; }
    SRowSet* ContentRows() const { return m_pContentRows; }

private:
    static constexpr ULONG kOpenFlags = MAPI_MODIFY | MAPI_BEST_ACCESS;

    void FreePabEntryId();
    bool IsFolderListed(int recordCount, uint32_t cbEntryId, const ENTRYID* entryId) const;
    HRESULT ReadFolderEntries(IMAPIContainer* container);
    void ReadEntryProperties(const SPropValue* values, ULONG count, int slot, bool& isMailUser);
    void AssignMissingIndices();
    // Opens the folder of that record, reads it and shows it with its item selected.
    void ShowFolder(int item);

    EntryStore& m_store;
    IQuestions& m_questions;
    IAddressBookHost& m_host;

    // The session; the container is the folder the right list shows.
    IMAPISession* m_pSession = nullptr;
    IAddrBook* m_pAddrBook = nullptr;
    IABContainer* m_pContainer = nullptr;
    uint32_t m_cbPabEntryId = 0;
    ENTRYID* m_pPabEntryId = nullptr;
    SRowSet* m_pContentRows = nullptr;
    // The identifier (bytes) of the folder whose entries the address-book table holds.
    std::string m_strShownFolderId;
};
