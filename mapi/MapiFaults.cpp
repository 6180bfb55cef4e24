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

struct PendingWriteFault {
    int sqliteResult = 0;
    int skipWrites = 0;
};

std::optional<PendingWriteFault>& pendingWriteFault()
{
    static std::optional<PendingWriteFault> fault;
    return fault;
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
    pendingWriteFault().reset();
}

void MapiFaults::InjectStoreWrite(int sqliteResult, int skipWrites)
{
    std::lock_guard lock(faultMutex());
    pendingWriteFault() = PendingWriteFault{sqliteResult, skipWrites};
}

std::optional<int> MapiFaults::TakeStoreWrite()
{
    std::lock_guard lock(faultMutex());
    auto& fault = pendingWriteFault();
    if (!fault) return std::nullopt;
    if (fault->skipWrites > 0) {
        --fault->skipWrites;
        return std::nullopt;
    }
    const int result = fault->sqliteResult;
    fault.reset();
    return result;
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
