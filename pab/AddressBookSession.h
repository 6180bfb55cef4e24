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
#include <memory>
#include <string>
#include <vector>

class AddressBookLock;
struct DirEntry;
struct FolderRecord;
struct DirTable;
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
    // Readers (listing, exporting) open the book read-only, before OpenAtStartUp: they take no lock, never
    // change the file, and indices missing in it are given in memory only. Writers hold the book's lock.
    void SetReadOnly(bool readOnly) { m_bReadOnly = readOnly; }
    // The folder chosen in the folder combo box: asks about unsaved changes, then reads and shows it.
    void ChangeFolder();
    // A new distribution list in the folder shown, named by the user; then shown.
    void NewFolder();
    // The folder chosen in the folder dialog is shown.
    void OpenFolder();
    // The distribution list shown: renamed (same name rules as a new folder) or deleted after a question, its
    // entries moving into the folder that held it, which is shown then. Unsaved changes are offered for saving
    // first. Neither applies to the book itself (CanEditShownList is false then).
    bool CanEditShownList() const;
    void RenameShownList();
    void DeleteShownList();
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
    // The same for an entry of the table: also its UID and the kind of its number.
    HRESULT CreateAbEntry(const DirEntry& entry, uint32_t cbTemplateId, ENTRYID* templateId);
    HRESULT UpdateAbEntry(const DirEntry& entry);
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
    // Offers unsaved changes for saving; false when the user stays or the save closed the session.
    bool SettleUnsavedBeforeListEdit();
    HRESULT WriteListName(uint32_t cbEntryId, ENTRYID* entryId, const std::string& name);
    HRESULT DeleteListKeepingEntries(const FolderRecord& parent, const FolderRecord& list);
    // Rebuilds the folder table and the combo box from the book; false (program ended) on failure.
    bool RescanFolders();
    bool IsFolderListed(int recordCount, uint32_t cbEntryId, const ENTRYID* entryId) const;
    HRESULT ReadFolderEntries(IMAPIContainer* container);
    void ReadEntryProperties(const SPropValue* values, ULONG count, int slot, bool& isMailUser);
    void AssignMissingIndices();
    // Opens the folder of that record, reads it and shows it with its item selected.
    void ShowFolder(int item);
    // An address-book error report with the cause that the MAPI layer found for `hr` under it; a report that
    // ends the program during a save first keeps the unsaved entries in a file and says where.
    void ReportBookError(HRESULT hr, int messageId);
    bool TakeBookLock();
    // One save in one transaction: all of it reaches the book or none; false after the report of a failure, with
    // every change still pending in the table.
    bool SaveTableChanges();
    // The deletions, creations and updates of a save; false after a failure (reported, session closed).
    bool WritePendingChanges();
    // A save's transaction that could not be opened or committed: reported, and the session closed.
    HRESULT ReportTransactionFailure(HRESULT hr);
    // The states of the live entries and the deletion records after them, as a save found them.
    static std::vector<int> PendingStates(const DirTable& table);
    static void RestoreStates(DirTable& table, const std::vector<int>& states);
    // Entries of books written before entries had a UID get one made from the book's identity and their entry
    // identifier, the same at every read until a save stores it.
    void GiveMissingUids();
    std::string BookUid();
    // A new entry without a UID of its own, or with one another entry of the folder holds, gets a new one.
    void GiveNewEntryUid(int slot);

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
    bool m_bReadOnly = false;
    std::unique_ptr<AddressBookLock> m_lock; // held by a writer from logon to the end of the session
    int m_nSaveDepth = 0;                    // inside SaveAddressBook
    bool m_bUnsavedKept = false;             // the unsaved entries of this save went to a file already
    std::vector<int> m_statesBeforeSave;     // what the save running now found pending, put back if it fails
};
