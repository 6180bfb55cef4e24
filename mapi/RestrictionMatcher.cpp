#include "mapi/RestrictionMatcher.h"

#include "mapi/MapiCodes.h"
#include "mapi/MapiTags.h"
#include "mapi/PropConverter.h"

#include <QString>

namespace {
template <typename T>
int threeWay(const T& a, const T& b)
{
    return a < b ? -1 : (b < a ? 1 : 0);
}

bool isText(ULONG type) { return type == PT_STRING8 || type == PT_UNICODE; }
}

HRESULT RestrictionMatcher::Check(const SRestriction& restriction)
{
    switch (restriction.rt) {
    case RES_AND:
    case RES_OR:
        if (restriction.res.resAnd.cRes > 0 && !restriction.res.resAnd.lpRes) return MAPI_E_INVALID_PARAMETER;
        for (ULONG i = 0; i < restriction.res.resAnd.cRes; ++i) {
            HRESULT hr = Check(restriction.res.resAnd.lpRes[i]);
            if (FAILED(hr)) return hr;
        }
        return S_OK;
    case RES_NOT:
        return restriction.res.resNot.lpRes ? Check(*restriction.res.resNot.lpRes) : MAPI_E_INVALID_PARAMETER;
    case RES_PROPERTY:
        if (!restriction.res.resProperty.lpProp || restriction.res.resProperty.relop > RELOP_NE)
            return MAPI_E_INVALID_PARAMETER;
        return S_OK;
    case RES_CONTENT:
        if (!restriction.res.resContent.lpProp || !isText(PROP_TYPE(restriction.res.resContent.lpProp->ulPropTag)))
            return MAPI_E_INVALID_PARAMETER;
        return S_OK;
    case RES_EXIST: return S_OK;
    default: return MAPI_E_TOO_COMPLEX;
    }
}

bool RestrictionMatcher::Matches(const SRestriction& restriction, const PropertyMap& row)
{
    switch (restriction.rt) {
    case RES_AND:
        for (ULONG i = 0; i < restriction.res.resAnd.cRes; ++i)
            if (!Matches(restriction.res.resAnd.lpRes[i], row)) return false;
        return true;
    case RES_OR:
        for (ULONG i = 0; i < restriction.res.resOr.cRes; ++i)
            if (Matches(restriction.res.resOr.lpRes[i], row)) return true;
        return false;
    case RES_NOT: return !Matches(*restriction.res.resNot.lpRes, row);
    case RES_PROPERTY: return MatchesProperty(restriction.res.resProperty, row);
    case RES_CONTENT: return MatchesContent(restriction.res.resContent, row);
    case RES_EXIST: return row.count(PROP_ID(restriction.res.resExist.ulPropTag)) > 0;
    default: return false;
    }
}

int RestrictionMatcher::Compare(const PropValue& left, const PropValue& right, bool& comparable)
{
    comparable = left.type == right.type;
    if (!comparable) return 0;
    switch (left.type) {
    case PT_R4:
    case PT_DOUBLE:
    case PT_APPTIME: return threeWay(left.real, right.real);
    // Texts are UTF-8: byte order is the order of the characters' code points, one character after another.
    case PT_STRING8:
    case PT_BINARY:
    case PT_CLSID: return threeWay(left.data, right.data);
    default: return threeWay(left.integer, right.integer);
    }
}

bool RestrictionMatcher::MatchesProperty(const SPropertyRestriction& restriction, const PropertyMap& row)
{
    auto found = row.find(PROP_ID(restriction.ulPropTag));
    if (found == row.end()) return false; // a restriction on a missing property is never met
    PropValue wanted;
    if (FAILED(PropConverter::FromMapi(*restriction.lpProp, wanted))) return false;
    bool comparable = false;
    const int order = Compare(found->second, wanted, comparable);
    if (!comparable) return false;
    switch (restriction.relop) {
    case RELOP_LT: return order < 0;
    case RELOP_LE: return order <= 0;
    case RELOP_GT: return order > 0;
    case RELOP_GE: return order >= 0;
    case RELOP_EQ: return order == 0;
    case RELOP_NE: return order != 0;
    default: return false;
    }
}

bool RestrictionMatcher::MatchesContent(const SContentRestriction& restriction, const PropertyMap& row)
{
    auto found = row.find(PROP_ID(restriction.ulPropTag));
    if (found == row.end() || found->second.type != PT_STRING8) return false;
    PropValue wanted;
    if (FAILED(PropConverter::FromMapi(*restriction.lpProp, wanted))) return false;
    const QString text = QString::fromUtf8(found->second.data);
    const QString pattern = QString::fromUtf8(wanted.data);
    const Qt::CaseSensitivity sensitivity =
        (restriction.ulFuzzyLevel & (FL_IGNORECASE | FL_LOOSE)) ? Qt::CaseInsensitive : Qt::CaseSensitive;
    switch (restriction.ulFuzzyLevel & 0xFFFF) {
    case FL_SUBSTRING: return text.contains(pattern, sensitivity);
    case FL_PREFIX: return text.startsWith(pattern, sensitivity);
    default: return text.compare(pattern, sensitivity) == 0;
    }
}
