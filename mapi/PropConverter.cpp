#include "mapi/PropConverter.h"

#include "mapi/Mapi.h"

#include <QString>
#include <cstring>

namespace {
SCODE copyBytes(const std::string& bytes, bool terminate, LPVOID parent, void** out)
{
    const size_t size = bytes.size() + (terminate ? 1 : 0);
    SCODE sc = MAPIAllocateMore(static_cast<ULONG>(size == 0 ? 1 : size), parent, out);
    if (FAILED(sc)) return sc;
    if (!bytes.empty()) std::memcpy(*out, bytes.data(), bytes.size());
    return S_OK;
}

SCODE toText(const PropValue& in, ULONG wantedType, LPVOID parent, SPropValue& out)
{
    if (wantedType == PT_UNICODE) {
        const QString text = QString::fromUtf8(in.data);
        void* buffer = nullptr;
        const size_t bytes = (static_cast<size_t>(text.size()) + 1) * sizeof(WCHAR);
        SCODE sc = MAPIAllocateMore(static_cast<ULONG>(bytes), parent, &buffer);
        if (FAILED(sc)) return sc;
        std::memcpy(buffer, text.utf16(), static_cast<size_t>(text.size()) * sizeof(WCHAR));
        out.Value.lpszW = static_cast<LPWSTR>(buffer);
        return S_OK;
    }
    void* buffer = nullptr;
    SCODE sc = copyBytes(PropConverter::Utf8ToCp1252(in.data), true, parent, &buffer);
    if (FAILED(sc)) return sc;
    out.Value.lpszA = static_cast<LPSTR>(buffer);
    return S_OK;
}

SCODE fromText(const SPropValue& in, PropValue& out)
{
    if (PROP_TYPE(in.ulPropTag) == PT_UNICODE) {
        if (!in.Value.lpszW) return MAPI_E_BAD_VALUE;
        size_t length = 0;
        while (in.Value.lpszW[length] != 0) ++length;
        out.data = QString::fromUtf16(in.Value.lpszW, static_cast<qsizetype>(length)).toStdString();
    } else {
        if (!in.Value.lpszA) return MAPI_E_BAD_VALUE;
        out.data = PropConverter::Cp1252ToUtf8(in.Value.lpszA);
    }
    out.type = PT_STRING8;
    return S_OK;
}
}

// The book keeps entry texts as UTF-8 bytes, so that no character outside code page 1252 is lost.
std::string PropConverter::Utf8ToCp1252(const std::string& utf8)
{
    return utf8;
}

std::string PropConverter::Cp1252ToUtf8(const std::string& cp1252)
{
    return cp1252;
}

void PropConverter::SetError(ULONG tag, SCODE error, SPropValue& out)
{
    out.ulPropTag = CHANGE_PROP_TYPE(tag, PT_ERROR);
    out.dwAlignPad = 0;
    out.Value.err = error;
}

SCODE PropConverter::FromMapi(const SPropValue& in, PropValue& out)
{
    out = PropValue{};
    out.type = PROP_TYPE(in.ulPropTag);
    switch (out.type) {
    case PT_I2: out.integer = in.Value.i; return S_OK;
    case PT_LONG: out.integer = in.Value.l; return S_OK;
    case PT_BOOLEAN: out.integer = in.Value.b ? 1 : 0; return S_OK;
    case PT_I8: out.integer = in.Value.li.QuadPart; return S_OK;
    case PT_CURRENCY: out.integer = in.Value.cur.int64; return S_OK;
    case PT_SYSTIME:
        out.integer = static_cast<int64_t>((uint64_t(in.Value.ft.dwHighDateTime) << 32) | in.Value.ft.dwLowDateTime);
        return S_OK;
    case PT_R4: out.real = in.Value.flt; return S_OK;
    case PT_DOUBLE: out.real = in.Value.dbl; return S_OK;
    case PT_APPTIME: out.real = in.Value.at; return S_OK;
    case PT_STRING8:
    case PT_UNICODE: return fromText(in, out);
    case PT_BINARY:
        if (in.Value.bin.cb > 0 && !in.Value.bin.lpb) return MAPI_E_BAD_VALUE;
        out.data.assign(reinterpret_cast<const char*>(in.Value.bin.lpb), in.Value.bin.cb);
        return S_OK;
    case PT_CLSID:
        if (!in.Value.lpguid) return MAPI_E_BAD_VALUE;
        out.data.assign(reinterpret_cast<const char*>(in.Value.lpguid), sizeof(GUID));
        return S_OK;
    default: return MAPI_E_INVALID_TYPE; // objects, errors, multi-valued: not kept by this address book
    }
}

SCODE PropConverter::ToMapi(ULONG id, const PropValue& in, ULONG wantedType, LPVOID parent, SPropValue& out)
{
    ULONG type = wantedType == PT_UNSPECIFIED ? in.type : wantedType;
    const bool textWanted = type == PT_STRING8 || type == PT_UNICODE;
    if (type != in.type && !(textWanted && in.type == PT_STRING8)) return MAPI_E_NOT_FOUND;
    out.ulPropTag = PROP_TAG(type, id);
    out.dwAlignPad = 0;
    std::memset(&out.Value, 0, sizeof(out.Value));
    switch (type) {
    case PT_I2: out.Value.i = static_cast<short>(in.integer); return S_OK;
    case PT_LONG: out.Value.l = static_cast<LONG>(in.integer); return S_OK;
    case PT_BOOLEAN: out.Value.b = in.integer ? 1 : 0; return S_OK;
    case PT_I8: out.Value.li.QuadPart = in.integer; return S_OK;
    case PT_CURRENCY: out.Value.cur.int64 = in.integer; return S_OK;
    case PT_SYSTIME:
        out.Value.ft.dwLowDateTime = static_cast<uint32_t>(static_cast<uint64_t>(in.integer));
        out.Value.ft.dwHighDateTime = static_cast<uint32_t>(static_cast<uint64_t>(in.integer) >> 32);
        return S_OK;
    case PT_R4: out.Value.flt = static_cast<float>(in.real); return S_OK;
    case PT_DOUBLE: out.Value.dbl = in.real; return S_OK;
    case PT_APPTIME: out.Value.at = in.real; return S_OK;
    case PT_STRING8:
    case PT_UNICODE: return toText(in, type, parent, out);
    case PT_BINARY: {
        void* buffer = nullptr;
        SCODE sc = copyBytes(in.data, false, parent, &buffer);
        if (FAILED(sc)) return sc;
        out.Value.bin.cb = static_cast<ULONG>(in.data.size());
        out.Value.bin.lpb = static_cast<LPBYTE>(buffer);
        return S_OK;
    }
    case PT_CLSID: {
        if (in.data.size() != sizeof(GUID)) return MAPI_E_NOT_FOUND;
        void* buffer = nullptr;
        SCODE sc = copyBytes(in.data, false, parent, &buffer);
        if (FAILED(sc)) return sc;
        out.Value.lpguid = static_cast<LPGUID>(buffer);
        return S_OK;
    }
    default: return MAPI_E_NOT_FOUND;
    }
}
