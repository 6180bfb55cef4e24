#pragma once
// A logged-on session over an address book file with the PAB opened for writing, and the small steps that
// the tests repeat: creating entries, reading a container's rows, reading an entry's properties.
#include "mapi/Mapi.h"

#include <map>
#include <string>
#include <vector>

class MapiTestSession {
public:
    using Bytes = std::string; // an entry identifier's bytes

    explicit MapiTestSession(const std::string& file);
    ~MapiTestSession();
    MapiTestSession(const MapiTestSession&) = delete;
    MapiTestSession& operator=(const MapiTestSession&) = delete;

    HRESULT LogonResult() const { return m_logonResult; }
    bool Ok() const { return m_pPab != nullptr; }
    IAddrBook* AddrBook() const { return m_pAddrBook; }
    IABContainer* Pab() const { return m_pPab; }
    const Bytes& PabId() const { return m_pabId; }

    IABContainer* OpenContainer(const Bytes& id, ULONG flags = MAPI_MODIFY | MAPI_BEST_ACCESS);
    // Creates an object from `templateId` with PT_STRING8 properties; returns SaveChanges' result.
    HRESULT Create(IABContainer* container, const Bytes& templateId, const std::map<ULONG, std::string>& texts,
                   Bytes* newId = nullptr, ULONG createFlags = CREATE_CHECK_DUP_LOOSE);
    Bytes TemplateFor(IABContainer* container, const char* addressType, HRESULT* result = nullptr);
    // PT_STRING8 and PT_LONG values of each row of the container's contents table, by tag.
    std::vector<std::map<ULONG, std::string>> Rows(IABContainer* container, ULONG flags = 0);
    // All properties of an entry (GetProps with no tag list), texts and numbers as strings.
    std::map<ULONG, std::string> Props(const Bytes& id, HRESULT* result = nullptr);
    HRESULT Update(const Bytes& id, const std::map<ULONG, std::string>& texts);

    static LPENTRYID AsEntryId(const Bytes& bytes);
    static std::map<ULONG, std::string> ToMap(const SPropValue* values, ULONG count);

private:
    HRESULT m_logonResult = S_OK;
    bool m_initialized = false;
    IMAPISession* m_pSession = nullptr;
    IAddrBook* m_pAddrBook = nullptr;
    IABContainer* m_pPab = nullptr;
    Bytes m_pabId;
};
