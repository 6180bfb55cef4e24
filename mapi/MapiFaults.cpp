#include "mapi/MapiFaults.h"

#include <map>
#include <mutex>

namespace {
struct PendingFault {
    HRESULT result;
    int skipCalls;
};

std::mutex& faultMutex()
{
    static std::mutex mutex;
    return mutex;
}

// Several faults for one call wait in the order they were injected.
std::multimap<MapiCall, PendingFault>& pendingFaults()
{
    static std::multimap<MapiCall, PendingFault> faults;
    return faults;
}
}

void MapiFaults::Inject(MapiCall call, HRESULT result, int skipCalls)
{
    std::lock_guard lock(faultMutex());
    pendingFaults().emplace(call, PendingFault{result, skipCalls});
}

void MapiFaults::Clear()
{
    std::lock_guard lock(faultMutex());
    pendingFaults().clear();
}

std::optional<HRESULT> MapiFaults::Take(MapiCall call)
{
    std::lock_guard lock(faultMutex());
    auto& faults = pendingFaults();
    auto range = faults.equal_range(call);
    std::optional<HRESULT> fired;
    for (auto it = range.first; it != range.second;) {
        if (!fired && it->second.skipCalls == 0) {
            fired = it->second.result;
            it = faults.erase(it);
            continue;
        }
        if (it->second.skipCalls > 0) --it->second.skipCalls;
        ++it;
    }
    return fired;
}
