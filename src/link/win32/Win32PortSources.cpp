// The port inventory of Windows: the COM ports the system has (the registry's
// list of serial devices) and, for the present ones whose driver names them,
// the name the device manager shows ("USB Serial Port (COM3)").
#include "link/CComPortList.h"

#include <windows.h>
#include <devguid.h>
#include <initguid.h>
#include <setupapi.h>

namespace {

// "COM3" and the like from HKLM\HARDWARE\DEVICEMAP\SERIALCOMM (value name:
// the driver's device, value: the port name). The name the port is known by
// is its own port name there.
std::vector<ComPortDeviceIdRecord> ReadSerialCommMap() {
    std::vector<ComPortDeviceIdRecord> records;
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return records;
    }
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        wchar_t data[256];
        DWORD dataBytes = sizeof data - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result = ::RegEnumValueW(key, index, name, &nameLength, nullptr, &type,
                                            reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_NO_MORE_ITEMS) {
            break;
        }
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        // Registry strings need not end with a null.
        std::wstring port(data, dataBytes / sizeof(wchar_t));
        while (!port.empty() && port.back() == L'\0') {
            port.pop_back();
        }
        records.push_back({port, port});
    }
    ::RegCloseKey(key);
    return records;
}

// Present devices of the COM port interface: their "PortName" and friendly name.
std::vector<ComPortPortNameRecord> ReadPortDevices() {
    // GUID_DEVINTERFACE_COMPORT
    static const GUID kComPortInterface = {0x86E0D1E0, 0x8089, 0x11D0, {0x9C, 0xE4, 0x08, 0x00, 0x3E, 0x30, 0x1F, 0x73}};
    std::vector<ComPortPortNameRecord> records;
    HDEVINFO devices = ::SetupDiGetClassDevsW(&kComPortInterface, nullptr, nullptr,
                                              DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
    if (devices == INVALID_HANDLE_VALUE) {
        return records;
    }
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD index = 0; ::SetupDiEnumDeviceInfo(devices, index, &device) != 0; ++index) {
        HKEY key = ::SetupDiOpenDevRegKey(devices, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_QUERY_VALUE);
        if (key == INVALID_HANDLE_VALUE) {
            continue;
        }
        wchar_t port[256] = {};
        DWORD bytes = sizeof port - sizeof(wchar_t);
        DWORD type = 0;
        const LONG result =
            ::RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(port), &bytes);
        ::RegCloseKey(key);
        if (result != ERROR_SUCCESS || type != REG_SZ) {
            continue;
        }
        wchar_t friendly[256] = {};
        DWORD propertyType = 0;
        std::wstring friendlyName;
        if (::SetupDiGetDeviceRegistryPropertyW(devices, &device, SPDRP_FRIENDLYNAME, &propertyType,
                                                reinterpret_cast<BYTE*>(friendly), sizeof friendly - sizeof(wchar_t),
                                                nullptr) != 0 &&
            propertyType == REG_SZ) {
            friendlyName = friendly;
        }
        records.push_back({port, friendlyName});
    }
    ::SetupDiDestroyDeviceInfoList(devices);
    return records;
}

} // namespace

ComPortSources ComPortSources::System() {
    ComPortSources sources;
    sources.deviceIds = ReadSerialCommMap;
    sources.portNames = ReadPortDevices;
    // Every port of Windows has a COM number: no adapters without one.
    return sources;
}
