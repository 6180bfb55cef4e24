#pragma once
#include "model/DirEntry.h"

// Sort order of both lists by the column last clicked: 1 number, 2 index (numeric below 1000), 3 status with "!"
// first, anything else the name. Texts compare without regard to ASCII letter case, other bytes by unsigned value.
int CompareEntries(const DirEntry& entry1, const DirEntry& entry2, int column);
