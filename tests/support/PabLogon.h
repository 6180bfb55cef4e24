#pragma once
// A logon to an address-book file with its personal address book opened for writing: where every test helper
// that puts entries into a book or reads them back starts. Header only, so that the test support library and
// the tests of the MAPI layer, which link nothing of each other, share it.
#include "mapi/Mapi.h"

#include <string>

class PabLogon {
public:
    using EntryId = std::string; // an entry identifier's bytes
    static constexpr ULONG kWritable = MAPI_MODIFY | MAPI_BEST_ACCESS;

    explicit PabLogon(const std::string& file)
    {
        MAPISetAddressBookFile(file);
        m_result = MAPIInitialize(nullptr);
        if (FAILED(m_result)) return;
        m_initialized = true;
        m_result = MAPILogonEx(0, nullptr, nullptr, MAPI_LOGON_UI | MAPI_EXTENDED | MAPI_NO_MAIL, &m_pSession);
        if (SUCCEEDED(m_result)) OpenPab();
    }
    ~PabLogon()
    {
        if (m_pPab) m_pPab->Release();
        if (m_pAddrBook) m_pAddrBook->Release();
        if (m_pSession) {
            m_pSession->Logoff(0, MAPI_LOGOFF_UI, 0);
            m_pSession->Release();
        }
        if (m_initialized) MAPIUninitialize();
    }
    PabLogon(const PabLogon&) = delete;
    PabLogon& operator=(const PabLogon&) = delete;

    // The result of MAPIInitialize and MAPILogonEx; a later step that failed leaves Pab() null.
    HRESULT Result() const { return m_result; }
    IAddrBook* AddrBook() const { return m_pAddrBook; }
    IABContainer* Pab() const { return m_pPab; }
    const EntryId& PabId() const { return m_pabId; }

    // A container (the book or a distribution list) of the caller's, by identifier; null when there is none.
    IABContainer* Open(const EntryId& id, ULONG flags = kWritable) const
    {
        ULONG type = 0;
        IUnknown* opened = nullptr;
        if (!m_pAddrBook || FAILED(m_pAddrBook->OpenEntry(static_cast<ULONG>(id.size()), AsEntryId(id), nullptr, flags,
                                                          &type, &opened)))
            return nullptr;
        auto* container = dynamic_cast<IABContainer*>(opened);
        if (!container && opened) opened->Release();
        return container;
    }

    static LPENTRYID AsEntryId(const EntryId& bytes) { return reinterpret_cast<LPENTRYID>(const_cast<char*>(bytes.data())); }

private:
    void OpenPab()
    {
        if (FAILED(m_pSession->OpenAddressBook(0, nullptr, 0, &m_pAddrBook))) return;
        ULONG cb = 0;
        LPENTRYID id = nullptr;
        if (FAILED(m_pAddrBook->GetPAB(&cb, &id))) return;
        m_pabId.assign(reinterpret_cast<const char*>(id), cb);
        MAPIFreeBuffer(id);
        m_pPab = Open(m_pabId);
    }

    HRESULT m_result = S_OK;
    bool m_initialized = false;
    IMAPISession* m_pSession = nullptr;
    IAddrBook* m_pAddrBook = nullptr;
    IABContainer* m_pPab = nullptr;
    EntryId m_pabId;
};
