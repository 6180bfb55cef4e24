// Creating an address-book folder and choosing one from the folder dialog.
#include "mapi/Mapi.h"
#include "model/FieldRules.h"
#include "model/Questions.h"
#include "pab/AbNameCheck.h"
#include "res/StringTable.h"
#include "pab/AddressBookSession.h"
#include "pab/FolderNames.h"

#include "model/EntryStore.h"
#include "pab/IAddressBookHost.h"
#include "model/Questions.h"

#include <QString>

namespace {
bool AskFolderName(IQuestions& questions, std::string& name)
{
    return FolderNames::Ask(questions, Ids::IDS_NEW_FOLDER_TITLE, Ids::IDS_NEW_FOLDER_PROMPT, name);
}

// The new folder's record in the rebuilt folder table (the folder combo box lists the records in order). The
// name was checked case-sensitively, so an exact match is the new folder; a match that ignores case is only a
// fallback. The book itself (record 0) is searched last.
int FindNewFolderItem(const EntryStore& store, const std::string& name)
{
    const QString wanted = QString::fromStdString(name);
    const int n = std::min<int>(store.m_nFolderCount, kFolderSlots);
    for (Qt::CaseSensitivity sensitivity : {Qt::CaseSensitive, Qt::CaseInsensitive}) {
        for (int step = 1; step <= n; ++step) {
            const int item = step % n;
            if (QString::fromStdString(store.m_folders[static_cast<size_t>(item)].m_strName).compare(wanted, sensitivity) == 0)
                return item;
        }
    }
    return -1;
}

// Makes the folder name unique among the folders of the combo box; false when the user gives up. Every
// replacement is checked against all folders again, so that it cannot clash with one compared before.
bool MakeFolderNameUnique(IQuestions& questions, const EntryStore& store, std::string& name)
{
    while (!name.empty() && FolderNames::OtherNamed(store, name) >= 0) {
        if (!questions.AskYesNo(Ids::IDS_NAME_EXISTS, NameExistsMessage(name))) return false;
        if (!AskFolderName(questions, name)) return false;
    }
    return !name.empty();
}
}

void AddressBookSession::NewFolder()
{
    // Without an open address book (the session was closed after a failure) there is nowhere to create it.
    if (!m_pContainer || !m_pAddrBook) return;
    if (m_store.HasFlag(VF_AB_MODIFIED) &&
        m_questions.AskYesNo(Ids::IDS_SAVE_AB_BEFORE_FOLDER, StringTable::LoadString(Ids::IDS_SAVE_AB_BEFORE_FOLDER)))
        SaveBeforeLeaving();
    if (!m_pContainer) return; // the save failed and closed the session
    std::string name;
    if (!AskFolderName(m_questions, name)) return;
    if (!MakeFolderNameUnique(m_questions, m_store, name)) return;

    // The combo box points into the folder table, which is rebuilt below: empty it first.
    m_host.ClearFolderCombo();
    m_store.m_strScratch = StringTable::LoadString(Ids::IDS_WRITING_PAB);
    m_host.SetStatusText(m_store.m_strScratch);

    uint32_t cbTemplateId = 0;
    ENTRYID* templateId = nullptr;
    SRowSet* templateRows = nullptr;
    if (FAILED(FindCreateTemplate("MAPIPDL", &cbTemplateId, &templateId, &templateRows))) {
        m_host.EndProgram(-1);
        return;
    }
    // The new list goes into the folder shown until now; an existing list of that name is reported there.
    const HRESULT created = CreateAbEntry(name, std::string(), 0, std::string(), cbTemplateId, templateId);
    FreeRowSet(templateRows);
    if (FAILED(created)) {
        m_host.EndProgram(-1);
        return;
    }
    FreeFolderRows();
    if (FAILED(ReopenAddressBook()) || FAILED(ScanFolders(m_pContainer, 0, 0))) {
        m_host.EndProgram(-1);
        return;
    }
    m_host.FillFolderCombo();
    // Changes the user chose not to save yet belong to the folder shown until now: the save that the folder
    // change offers must go there, never into the book the rescan opened.
    if (m_store.HasFlag(VF_AB_MODIFIED) && FAILED(ReopenShownFolder())) {
        m_host.EndProgram(-1);
        return;
    }
    // The container is the book itself now (or the folder shown, holding unsaved changes); showing the chosen item (the new folder, or else the book) keeps the
    // right list and the container together, so that a later save cannot go into the wrong folder.
    const int item = FindNewFolderItem(m_store, name);
    m_host.SelectFolderItem(item >= 0 ? item : 0);
    ChangeFolder();
}

void AddressBookSession::OpenFolder()
{
    int selected = 0;
    if (!m_questions.RunFolderDialog(m_store.m_folders.data(), m_store.m_nFolderCount, selected)) return;
    if (selected < 0 || selected >= std::max(1, m_store.m_nFolderCount)) return;
    m_host.SelectFolderItem(selected);
    ChangeFolder();
}
