#pragma once
// PT_STRING8 property values for SetProps from pairs of a tag and its text; the values point into the texts,
// which must outlive them. Header only, beside PabLogon.h, for the same two users.
#include "mapi/Mapi.h"

#include <vector>

template <class TaggedTexts>
std::vector<SPropValue> StringProps(const TaggedTexts& texts)
{
    std::vector<SPropValue> values;
    for (const auto& [tag, text] : texts) {
        SPropValue value{};
        value.ulPropTag = tag;
        value.Value.lpszA = const_cast<char*>(text.c_str());
        values.push_back(value);
    }
    return values;
}
