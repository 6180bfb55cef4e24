#pragma once
#include "mapi/IABContainer.h"

// A personal distribution list has the same methods as an address-book container; deriving from it lets the
// program hold the PAB and a list through one container pointer, as it does with the published layouts.
class IDistList : public IABContainer {};
using LPDISTLIST = IDistList*;
