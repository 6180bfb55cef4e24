#include "mapi/EntryId.h"

#include "mapi/Mapi.h"

#include <cstring>

namespace {
// This provider's identifier, the same in every database, so identifiers can be told apart from others.
constexpr BYTE kProviderUid[16] = {0x6B, 0x76, 0x61, 0x50, 0x41, 0x42, 0x2D, 0x54,
                                   0x65, 0x6C, 0x76, 0x6F, 0x72, 0x61, 0x01, 0x00};

void putLittleEndian(std::string& out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

uint64_t getLittleEndian(const BYTE* in, int bytes)
{
    uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | in[i];
    return value;
}
}

std::string EntryId::Encode() const
{
    std::string out(4, '\0');
    out.append(reinterpret_cast<const char*>(kProviderUid), sizeof(kProviderUid));
    putLittleEndian(out, kind, 4);
    putLittleEndian(out, static_cast<uint64_t>(number), 8);
    return out;
}

bool EntryId::Decode(ULONG cb, const ENTRYID* id, EntryId& out)
{
    if (!id || cb != kSize) return false;
    const BYTE* bytes = reinterpret_cast<const BYTE*>(id);
    if (std::memcmp(bytes + 4, kProviderUid, sizeof(kProviderUid)) != 0) return false;
    const uint64_t kind = getLittleEndian(bytes + 20, 4);
    if (kind != Object && kind != Template) return false;
    out.kind = static_cast<Kind>(kind);
    out.number = static_cast<int64_t>(getLittleEndian(bytes + 24, 8));
    return out.number > 0;
}

SCODE EntryId::Allocate(ULONG* lpcb, LPENTRYID* lppEntryId) const
{
    if (!lpcb || !lppEntryId) return MAPI_E_INVALID_PARAMETER;
    const std::string bytes = Encode();
    void* buffer = nullptr;
    SCODE sc = MAPIAllocateBuffer(kSize, &buffer);
    if (FAILED(sc)) return sc;
    std::memcpy(buffer, bytes.data(), kSize);
    *lpcb = kSize;
    *lppEntryId = static_cast<LPENTRYID>(buffer);
    return S_OK;
}
