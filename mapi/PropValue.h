#pragma once
// A property value as the address book keeps it: texts in UTF-8 (the database's form and that of PT_STRING8),
// converted to UTF-16 only when handed out as PT_UNICODE.
#include "mapi/MapiTypes.h"

#include <cstdint>
#include <map>
#include <string>

struct PropValue {
    ULONG type = 0;       // PT_ type; PT_UNICODE values are kept as PT_STRING8 (both are texts)
    int64_t integer = 0;  // PT_I2, PT_LONG, PT_BOOLEAN, PT_I8, PT_CURRENCY, PT_SYSTIME
    double real = 0;      // PT_R4, PT_DOUBLE, PT_APPTIME
    std::string data;     // PT_STRING8: UTF-8 text; PT_BINARY, PT_CLSID: raw bytes

    bool operator==(const PropValue&) const = default;
};

// Properties of one object by property identifier (the upper 16 bits of a tag).
using PropertyMap = std::map<ULONG, PropValue>;
