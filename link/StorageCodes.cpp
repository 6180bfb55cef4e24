#include "link/StorageCodes.h"

#include <utility>

namespace StorageCodes {
QByteArray phoneStorage(const QByteArray& code)
{
    static const std::pair<const char*, const char*> kMap[] = {{"SM", "SM"}, {"ME", "ME"}, {"LD", "LD"}, {"OW", "ON"},
                                                               {"FD", "FD"}, {"MC", "MC"}, {"CD", "RC"}};
    for (const auto& [directory, storage] : kMap)
        if (code == directory) return storage;
    return {};
}
}
