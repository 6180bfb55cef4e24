#pragma once
// A value or the reason there is none.
#include "dav/DavError.h"

template <typename T>
struct DavResult {
    T value{};
    DavError error;

    bool ok() const { return error.ok(); }
};
