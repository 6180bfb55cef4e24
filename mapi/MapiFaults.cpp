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

std::multimap<std::string, PendingFault>& pendingFaults()
{
    static std::multimap<std::string, PendingFault> faults;
    return faults;
}
}

void MapiFaults::Inject(const std::string& method, HRESULT result, int skipCalls)
{
    std::lock_guard lock(faultMutex());
    pendingFaults().emplace(method, PendingFault{result, skipCalls});
}

void MapiFaults::Clear()
{
    std::lock_guard lock(faultMutex());
    pendingFaults().clear();
}

bool MapiFaults::Take(const char* method, HRESULT& result)
{
    std::lock_guard lock(faultMutex());
    auto& faults = pendingFaults();
    auto range = faults.equal_range(method);
    bool fired = false;
    for (auto it = range.first; it != range.second;) {
        if (!fired && it->second.skipCalls == 0) {
            result = it->second.result;
            fired = true;
            it = faults.erase(it);
            continue;
        }
        if (it->second.skipCalls > 0) --it->second.skipCalls;
        ++it;
    }
    return fired;
}
