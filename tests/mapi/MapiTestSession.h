#pragma once
// A logged-on session over an address book file with the PAB opened for writing, and the small steps that
// the tests repeat: creating entries, reading a container's rows, reading an entry's properties.
#include "tests/support/PabLogon.h"

#include <map>
#include <string>
#include <vector>

class MapiTestSession {
public:
    using Bytes = std::string; // an entry identifier's bytes

    explicit MapiTestSession(const std::string& file) : m_logon(file) {}

    HRESULT LogonResult() const { return m_logon.Result(); }
    bool Ok() const { return m_logon.Pab() != nullptr; }
    IAddrBook* AddrBook() const { return m_logon.AddrBook(); }
    IABContainer* Pab() const { return m_logon.Pab(); }
    const Bytes& PabId() const { return m_logon.PabId(); }

    IABContainer* OpenContainer(const Bytes& id, ULONG flags = PabLogon::kWritable) { return m_logon.Open(id, flags); }
    // Creates an object from `templateId` with PT_STRING8 properties; returns SaveChanges' result.
    HRESULT Create(IABContainer* container, const Bytes& templateId, const std::map<ULONG, std::string>& texts,
                   Bytes* newId = nullptr, ULONG createFlags = CREATE_CHECK_DUP_LOOSE);
    Bytes TemplateFor(IABContainer* container, const char* addressType, HRESULT* result = nullptr);
    // PT_STRING8 and PT_LONG values of each row of the container's contents table, by tag.
    std::vector<std::map<ULONG, std::string>> Rows(IABContainer* container, ULONG flags = 0);
    // All properties of an entry (GetProps with no tag list), texts and numbers as strings.
    std::map<ULONG, std::string> Props(const Bytes& id, HRESULT* result = nullptr);
    HRESULT Update(const Bytes& id, const std::map<ULONG, std::string>& texts);

    static LPENTRYID AsEntryId(const Bytes& bytes) { return PabLogon::AsEntryId(bytes); }
    static std::map<ULONG, std::string> ToMap(const SPropValue* values, ULONG count);

private:
    PabLogon m_logon;
};
