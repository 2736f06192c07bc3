#pragma once
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A serial port instance as the system's port inventory reports it: an
// identifier such as "COM3" (a trailing ':' and digits are accepted) and a
// descriptive name.
struct ComPortDeviceIdRecord {
    std::wstring deviceId;
    std::wstring name;
};

// A present port device as the device registry reports it: its port name
// ("COM3", digits only) and its friendly name (empty when it has none).
struct ComPortPortNameRecord {
    std::wstring portName;
    std::wstring friendlyName;
};

// A plug-in adapter that has a device path but no COM number.
struct ComPortAdapterRecord {
    std::wstring devicePath;
    std::wstring displayName;
};

// Where Build takes its records from. An empty source contributes nothing.
struct ComPortSources {
    std::function<std::vector<ComPortDeviceIdRecord>()> deviceIds;
    std::function<std::vector<ComPortPortNameRecord>()> portNames;
    std::function<std::vector<ComPortAdapterRecord>()> adapters;

    // The sources of this computer.
    static ComPortSources System();
};

// The ports the user can choose from, in a fixed order: COM1 to COM16, the
// numbered ports found beyond them, present adapters, then the demo station.
class CComPortList {
public:
    struct Entry {
        std::wstring devicePath;
        std::wstring displayName;
        // A built-in port that the system describes only generically: a
        // window shows it in its own language.
        bool generic = false;
    };

    static constexpr const wchar_t* kDemoStationPath = L"sim:";
    static constexpr const wchar_t* kDemoStationName = L"Demo station (simulated)";
    // How the systems describe a built-in serial port (the Linux inventory
    // gives every one this description).
    static constexpr const wchar_t* kGenericPortName = L"Communications Port";

    // Builds from the computer's own sources.
    CComPortList();
    explicit CComPortList(const ComPortSources& sources);

    void Build(const ComPortSources& sources);

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    // Empty for a position outside the list.
    std::wstring GetDevicePath(int position) const;
    std::wstring GetDisplayName(int position) const;
    bool IsGenericPort(int position) const;

    // The position to preselect for a stored display name: the last exact
    // match, else the first entry; -1 for an empty list.
    int FindSelection(const std::wstring& storedDisplayName) const;

    // The device path of COM port n.
    static std::wstring DevicePathOfPort(int number);
    // The number of a port named "COMn" ("com20" too), as the lists take it.
    static std::optional<int> PortNumberOfName(const std::wstring& name);

private:
    const Entry* At(int position) const;
    void AddDeviceIds(const std::vector<ComPortDeviceIdRecord>& records);
    void AddPortNames(const std::vector<ComPortPortNameRecord>& records);
    void Append(std::wstring devicePath, std::wstring displayName);

    std::map<std::int32_t, Entry> m_entries;
};
