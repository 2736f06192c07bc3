#include "link/CSerialBackend.h"

#include <map>
#include <mutex>

namespace {

std::mutex g_registryMutex;

std::map<std::wstring, VirtualPortFactory>& Registry() {
    static std::map<std::wstring, VirtualPortFactory> factories;
    return factories;
}

} // namespace

CSerialBackend::~CSerialBackend() = default;

void RegisterVirtualPortFactory(const std::wstring& prefix, VirtualPortFactory factory) {
    std::lock_guard lock(g_registryMutex);
    if (factory) {
        Registry()[prefix] = std::move(factory);
    } else {
        Registry().erase(prefix);
    }
}

VirtualPortFactory FindVirtualPortFactory(const std::wstring& devicePath) {
    std::lock_guard lock(g_registryMutex);
    const VirtualPortFactory* best = nullptr;
    std::size_t bestLength = 0;
    for (const auto& [prefix, factory] : Registry()) {
        if (!prefix.empty() && devicePath.starts_with(prefix) && prefix.size() > bestLength) {
            best = &factory;
            bestLength = prefix.size();
        }
    }
    return best != nullptr ? *best : VirtualPortFactory();
}
