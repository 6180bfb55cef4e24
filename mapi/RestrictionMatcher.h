#pragma once
// Evaluates a table restriction against one row of properties.
#include "mapi/PropValue.h"

class RestrictionMatcher {
public:
    // S_OK for a restriction this address book can evaluate; MAPI_E_TOO_COMPLEX or MAPI_E_INVALID_PARAMETER
    // otherwise, checked before any row is looked at.
    static HRESULT Check(const SRestriction& restriction);
    static bool Matches(const SRestriction& restriction, const PropertyMap& row);

private:
    static bool MatchesProperty(const SPropertyRestriction& restriction, const PropertyMap& row);
    static bool MatchesContent(const SContentRestriction& restriction, const PropertyMap& row);
    static int Compare(const PropValue& left, const PropValue& right, bool& comparable);
};
