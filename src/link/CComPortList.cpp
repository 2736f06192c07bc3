#include "link/CComPortList.h"

#include "base/CMessageFormatter.h"

#include <cwctype>
#include <iterator>
#include <optional>

namespace {

constexpr int kDefaultPorts = 16;
// Far beyond any real port, and small enough that the keys after it cannot overflow.
constexpr long long kHighestPort = 65535;

bool StartsWithCom(const std::wstring& text) {
    return text.size() >= 3 && std::towupper(text[0]) == L'C' && std::towupper(text[1]) == L'O' &&
           std::towupper(text[2]) == L'M';
}

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// The port number of "COMn": at least four characters, "COM" in any case,
// then only characters the source allows, with the number leading them.
// Numbers beyond kHighestPort are no ports.
std::optional<int> PortNumber(const std::wstring& text, bool colonAllowed) {
    if (text.size() < 4 || !StartsWithCom(text)) {
        return std::nullopt;
    }
    for (std::size_t at = 3; at < text.size(); ++at) {
        if (!IsDigit(text[at]) && !(colonAllowed && text[at] == L':')) {
            return std::nullopt;
        }
    }
    long long number = 0;
    for (std::size_t at = 3; at < text.size() && IsDigit(text[at]); ++at) {
        number = number * 10 + (text[at] - L'0');
        if (number > kHighestPort) {
            return std::nullopt;
        }
    }
    // "COM:" has no number; "COM0" would have no key of its own.
    if (!IsDigit(text[3]) || number < 1) {
        return std::nullopt;
    }
    return static_cast<int>(number);
}

std::wstring ComName(int number) {
    return CMessageFormatter::Printf(L"COM%d", number);
}

// The description a system gives a built-in port it knows nothing more about.
bool IsGenericDescription(const std::wstring& description, int number) {
    return description == std::wstring(CComPortList::kGenericPortName) + L" (" + ComName(number) + L")";
}

} // namespace

CComPortList::CComPortList() : CComPortList(ComPortSources::System()) {}

CComPortList::CComPortList(const ComPortSources& sources) {
    Build(sources);
}

std::optional<int> CComPortList::PortNumberOfName(const std::wstring& name) {
    return PortNumber(name, false);
}

std::wstring CComPortList::DevicePathOfPort(int number) {
#ifdef _WIN32
    // Windows knows COM1 to COM9 by their names anywhere; higher ones only
    // in the device namespace.
    return CMessageFormatter::Printf(number <= 9 ? L"COM%d" : L"\\\\.\\COM%d", number);
#else
    return CMessageFormatter::Printf(L"/dev/ttyS%d", number - 1);
#endif
}

void CComPortList::Build(const ComPortSources& sources) {
    m_entries.clear();
    for (int n = 1; n <= kDefaultPorts; ++n) {
        m_entries[n - 1] = Entry{DevicePathOfPort(n), ComName(n)};
    }
    if (sources.deviceIds) {
        AddDeviceIds(sources.deviceIds());
    }
    if (sources.portNames) {
        AddPortNames(sources.portNames());
    }
    if (sources.adapters) {
        for (ComPortAdapterRecord& adapter : sources.adapters()) {
            Append(std::move(adapter.devicePath), std::move(adapter.displayName));
        }
    }
    Append(kDemoStationPath, kDemoStationName);
}

void CComPortList::AddDeviceIds(const std::vector<ComPortDeviceIdRecord>& records) {
    for (const ComPortDeviceIdRecord& record : records) {
        const std::optional<int> number = PortNumber(record.deviceId, true);
        if (!number) {
            continue;
        }
        const std::wstring com = ComName(*number);
        std::wstring display = record.name;
        if (display.find(com) == std::wstring::npos) {
            display += L" (" + com + L")";
        }
        const bool generic = IsGenericDescription(display, *number);
        m_entries[*number - 1] = Entry{DevicePathOfPort(*number), std::move(display), generic};
    }
}

void CComPortList::AddPortNames(const std::vector<ComPortPortNameRecord>& records) {
    for (const ComPortPortNameRecord& record : records) {
        const std::optional<int> number = PortNumber(record.portName, false);
        if (!number) {
            continue;
        }
        m_entries[*number - 1] =
            Entry{DevicePathOfPort(*number), record.friendlyName, IsGenericDescription(record.friendlyName, *number)};
    }
}

void CComPortList::Append(std::wstring devicePath, std::wstring displayName) {
    const std::int32_t key = m_entries.empty() ? 0 : std::prev(m_entries.end())->first + 1;
    m_entries[key] = Entry{std::move(devicePath), std::move(displayName)};
}

const CComPortList::Entry* CComPortList::At(int position) const {
    if (position < 0 || position >= GetCount()) {
        return nullptr;
    }
    return &std::next(m_entries.begin(), position)->second;
}

std::wstring CComPortList::GetDevicePath(int position) const {
    const Entry* entry = At(position);
    return entry != nullptr ? entry->devicePath : std::wstring();
}

std::wstring CComPortList::GetDisplayName(int position) const {
    const Entry* entry = At(position);
    return entry != nullptr ? entry->displayName : std::wstring();
}

bool CComPortList::IsGenericPort(int position) const {
    const Entry* entry = At(position);
    return entry != nullptr && entry->generic;
}

int CComPortList::FindSelection(const std::wstring& storedDisplayName) const {
    int found = -1;
    int position = 0;
    for (const auto& [key, entry] : m_entries) {
        if (entry.displayName == storedDisplayName) {
            found = position;
        }
        ++position;
    }
    if (found < 0 && !m_entries.empty()) {
        found = 0;
    }
    return found;
}
